#include <gtest/gtest.h>

#include <cmath>

#include "RequestCheck.h"

using namespace Velmora::Lab;

namespace {

SearchRequest stepsRun(MethodId method, double xmin, double xmax) {
  SearchRequest request;
  request.method = method;
  request.xmin = xmin;
  request.xmax = xmax;
  request.stop = StopKind::Steps;
  request.steps = 10;
  return request;
}

}  // namespace

// Each fault names its field and says its rule in words any front end can put after its own name.
TEST(RequestCheck, eachFaultNamesItsFieldAndRule) {
  SearchRequest inf = stepsRun(MethodId::Scan, -INFINITY, 1);
  SearchRequest nanEnd = stepsRun(MethodId::Scan, 0, NAN);
  SearchRequest reversed = stepsRun(MethodId::Scan, 3, 1);
  SearchRequest overflowing = stepsRun(MethodId::Scan, -1e308, 1e308);
  SearchRequest scanParam = stepsRun(MethodId::Scan, 0, 1);
  scanParam.param = 2;
  SearchRequest lowR = stepsRun(MethodId::Strongin, 0, 1);
  lowR.param = 1;
  SearchRequest hugeL = stepsRun(MethodId::Piyavsky, 0, 1);
  hugeL.param = 1e308;
  SearchRequest noSteps = stepsRun(MethodId::Scan, 0, 1);
  noSteps.steps = 0;
  SearchRequest precision = stepsRun(MethodId::Scan, 0, 1);
  precision.stop = StopKind::Precision;
  precision.eps = NAN;
  SearchRequest interval = stepsRun(MethodId::Scan, 0, 1);
  interval.stop = StopKind::IntervalLength;
  interval.eps = INFINITY;
  const struct {
    const char* reason;
    SearchRequest request;
    RequestField field;
    const char* text;  ///< under the name "F"
  } cases[] = {
      {"an infinite start", inf, RequestField::IntervalStart, "F: \"-inf\" is not a finite number"},
      {"a NaN end", nanEnd, RequestField::IntervalEnd, "F: \"nan\" is not a finite number"},
      {"a reversed interval", reversed, RequestField::Interval, "F: A must be less than B"},
      {"a length beyond the doubles", overflowing, RequestField::Interval, "F: B - A must be a finite number"},
      {"scanning takes no parameter", scanParam, RequestField::Param, "F is not used by the scan method"},
      {"Strongin's r of 1", lowR, RequestField::Param, "F: the multiplier of strongin must be greater than 1"},
      {"an L the arithmetic cannot carry", hugeL, RequestField::Param,
       "F: the Lipschitz estimate of piyavsky must be at most 1e+100: a larger one overflows the method's own arithmetic"},
      {"no steps", noSteps, RequestField::Steps, "F: \"0\" is out of range (expected a whole number from 1 to 100000)"},
      {"a NaN precision", precision, RequestField::Precision, "F: \"nan\" is not a finite number"},
      {"an infinite interval eps", interval, RequestField::IntervalEps, "F: \"inf\" is not a finite number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    const std::optional<RequestFault> fault = checkRequest(c.request);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->field, c.field);
    EXPECT_EQ(fault->text("F"), c.text);
  }
  // As in the window, an eps the run cannot reach is taken, and so is the bound itself.
  precision.eps = -1;
  EXPECT_FALSE(checkRequest(precision));
  hugeL.param = 1e100;
  EXPECT_FALSE(checkRequest(hugeL));
}
