#include "RequestCheck.h"

#include <cmath>

#include "NumberText.h"
#include "ReadNumber.h"

namespace Velmora::Lab {

namespace {

RequestFault notFinite(RequestField field, double value) {
  return {field, "\"" + shortest(value) + "\" is not a finite number"};
}

// A constant or a multiplier beyond this overflows the method's own
// arithmetic on any interval worth searching: L (b - a) and r H (b - a) are
// formed in every step. Below it, an overflow depends on the function and is
// told at run time as the method's.
constexpr double MaxParam = 1e100;

std::optional<RequestFault> tooLarge(const MethodInfo& info, double param, const std::string& name) {
  if (info.param == ParamMeaning::Population || !(param > MaxParam)) return std::nullopt;
  return RequestFault{RequestField::Param, "the " + name + " must be at most " + shortest(MaxParam) +
                                               ": a larger one overflows the method's own arithmetic"};
}

}  // namespace

std::optional<RequestFault> checkParam(MethodId method, double param) {
  const MethodInfo& info = methodInfo(method);
  if (info.param == ParamMeaning::None)
    return RequestFault{RequestField::Param, "is not used by the " + std::string(info.key) + " method", " "};
  if (!std::isfinite(param)) return notFinite(RequestField::Param, param);
  if (auto fault = tooLarge(info, param, std::string(info.paramNoun) + " of " + std::string(info.key))) return fault;
  // The window's own check; the Lipschitz estimate of piyavsky is taken as it comes.
  if (!info.acceptsParam(param))
    return RequestFault{RequestField::Param, "the " + std::string(info.paramNoun) + " of " + std::string(info.key) +
                                                 " must be " + std::string(info.paramRule)};
  return std::nullopt;
}

std::optional<RequestFault> checkPlanParam(MethodId method, double param) {
  const MethodInfo& info = methodInfo(method);
  if (info.param == ParamMeaning::None)
    return RequestFault{RequestField::Param, std::string(info.key) + " takes no parameter"};
  if (!std::isfinite(param)) return notFinite(RequestField::Param, param);
  if (auto fault = tooLarge(info, param, paramName(info))) return fault;
  // A batch run's Lipschitz estimate stands for the problem's own, which can be any positive number.
  if (info.batchParamOfProblem) {
    if (!(param > 0)) return RequestFault{RequestField::Param, "must be greater than 0", " "};
  } else if (!info.acceptsParam(param)) {
    return RequestFault{RequestField::Param, "the " + paramName(info) + " must be " + std::string(info.paramRule)};
  }
  return std::nullopt;
}

std::optional<RequestFault> checkInterval(double xmin, double xmax) {
  if (!std::isfinite(xmin)) return notFinite(RequestField::IntervalStart, xmin);
  if (!std::isfinite(xmax)) return notFinite(RequestField::IntervalEnd, xmax);
  if (!(xmin < xmax)) return RequestFault{RequestField::Interval, "A must be less than B"};
  // Every method measures the interval; its length must be a number too.
  if (!std::isfinite(xmax - xmin)) return RequestFault{RequestField::Interval, "B - A must be a finite number"};
  return std::nullopt;
}

std::optional<RequestFault> checkRequest(const SearchRequest& request) {
  if (auto fault = checkInterval(request.xmin, request.xmax)) return fault;
  if (request.param)
    if (auto fault = checkParam(request.method.value(), *request.param)) return fault;
  switch (request.stop) {
    case StopKind::Steps:
      if (auto rule = countRule(request.steps, 1, MaxSteps)) return RequestFault{RequestField::Steps, std::move(*rule)};
      break;
    case StopKind::Precision:
      if (!std::isfinite(request.eps)) return notFinite(RequestField::Precision, request.eps);
      break;
    case StopKind::IntervalLength:
      if (!std::isfinite(request.eps)) return notFinite(RequestField::IntervalEps, request.eps);
      break;
  }
  return std::nullopt;
}

}  // namespace Velmora::Lab
