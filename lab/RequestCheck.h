// The check of a search request's own values: its interval, its parameter and
// its stop rule. A fault names the field by an enum and says the rule in
// words; each front end names the field in its own words (the command line's
// "--interval", Python's "bounds"), so both say the same rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Search.h"

namespace Velmora::Lab {

enum class RequestField {
  IntervalStart,  ///< xmin (Example: -inf)
  IntervalEnd,    ///< xmax (Example: nan)
  Interval,       ///< both ends (Example: 3, 1)
  Param,          ///< (Example: strongin with 1, or any value for scan)
  Steps,          ///< (Example: 0)
  Precision,      ///< a precision rule's eps (Example: nan)
  IntervalEps,    ///< an interval rule's eps (Example: inf)
};

struct RequestFault {
  RequestField field;
  std::string rule;  ///< "A must be less than B"
  // Between the field's name and the rule: "--interval: A must be ...", but
  // "--param is not used by the scan method".
  std::string_view joint = ": ";

  std::string text(std::string_view fieldName) const { return std::string(fieldName).append(joint).append(rule); }
};

// As in the window, an eps the run cannot reach (0, negative, finer than
// doubles resolve) is taken: the step bound ends the run and says so.
std::optional<RequestFault> checkRequest(const SearchRequest& request);
// Its parts alone, for a front end that checks them as it reads them.
std::optional<RequestFault> checkInterval(double xmin, double xmax);
std::optional<RequestFault> checkParam(MethodId method, double param);

// A method's parameter in a run plan (test sets, class runs): a Lipschitz
// estimate greater than 0, a multiplier or a population by the catalogue's rule.
std::optional<RequestFault> checkPlanParam(MethodId method, double param);

}  // namespace Velmora::Lab
