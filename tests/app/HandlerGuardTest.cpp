#include <gtest/gtest.h>
#include <stdexcept>

#include "HandlerGuard.h"
#include "RecordingDialogs.h"

namespace Velmora::Testing {
namespace {

TEST(HandlerGuard, faultEndsTheBodyAndShowsTheErrorBox) {
  RecordingDialogs dialogs;
  HandlerGuard guard(dialogs);
  bool after = false;
  guard.run([&] {
    throw std::runtime_error("Floating point overflow");
    after = true;
  });
  EXPECT_FALSE(after);
  EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{Box::Kind::Error, "Floating point overflow."}}));
}

TEST(HandlerGuard, faultOfUnknownKindShowsAnEmptyBox) {
  RecordingDialogs dialogs;
  HandlerGuard guard(dialogs);
  guard.run([] { throw 42; });
  EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{Box::Kind::Error, ""}}));
}

TEST(HandlerGuard, eachMathReportOncePerUserAction) {
  RecordingDialogs dialogs;
  HandlerGuard guard(dialogs);
  guard.run([&] {
    for (int i = 0; i < 251; ++i) guard.mathReport("sqrt: DOMAIN error");
    // A handler started from within this one belongs to the same action.
    guard.run([&] { guard.mathReport("sqrt: DOMAIN error"); });
    guard.mathReport("log: DOMAIN error");
  });
  guard.run([&] { guard.mathReport("sqrt: DOMAIN error"); });
  EXPECT_EQ(dialogs.mathReports(),
            (std::vector<QString>{"sqrt: DOMAIN error", "log: DOMAIN error", "sqrt: DOMAIN error"}));
}

TEST(HandlerGuard, mathReportOutsideAnyHandlerIsShownEachTime) {
  RecordingDialogs dialogs;
  HandlerGuard guard(dialogs);
  guard.mathReport("exp: OVERFLOW error");
  guard.mathReport("exp: OVERFLOW error");
  EXPECT_EQ(dialogs.mathReports().size(), 2u);
}

TEST(HandlerGuard, nestedFaultIsReportedOnceAndTheOuterBodyGoesOn) {
  RecordingDialogs dialogs;
  HandlerGuard guard(dialogs);
  bool outerWentOn = false;
  guard.run([&] {
    guard.run([] { throw std::runtime_error("Invalid floating point operation"); });
    outerWentOn = true;
  });
  EXPECT_TRUE(outerWentOn);
  EXPECT_EQ(dialogs.errors(), (std::vector<QString>{"Invalid floating point operation."}));
}

}  // namespace
}  // namespace Velmora::Testing
