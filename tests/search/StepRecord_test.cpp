// What the engine tells its observer about each step, held against the trial
// list it leaves and against fresh runs of the literal rules.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "Literal_opt.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

using namespace VELMORAALG;

namespace {

double Wavy(double x) { return std::sin(3 * x) + 0.1 * x * x; }

struct MethodCase {
  const char* name;
  std::unique_ptr<TCharactOpt> (*fast)();
  std::unique_ptr<VelmoraLiteral::LiteralOpt> (*literal)();
  double (*constantOf)(const VelmoraLiteral::LiteralOpt&);
};

const MethodCase Methods[] = {
    {"scanning", [] { return std::unique_ptr<TCharactOpt>(new TScanOpt(Wavy)); },
     [] { return std::unique_ptr<VelmoraLiteral::LiteralOpt>(new VelmoraLiteral::LiteralScan(Wavy)); },
     [](const VelmoraLiteral::LiteralOpt&) { return 0.0; }},
    {"Piyavsky",
     [] {
       auto opt = std::make_unique<TPiyavskyOpt>(Wavy);
       opt->SetLipschitz(6);
       return std::unique_ptr<TCharactOpt>(std::move(opt));
     },
     [] {
       auto opt = std::make_unique<VelmoraLiteral::LiteralPiyavsky>(Wavy);
       opt->SetLipschitz(6);
       return std::unique_ptr<VelmoraLiteral::LiteralOpt>(std::move(opt));
     },
     [](const VelmoraLiteral::LiteralOpt&) { return 6.0; }},
    {"Strongin",
     [] {
       auto opt = std::make_unique<TStronginOpt>(Wavy);
       opt->SetMultiplier(2);
       return std::unique_ptr<TCharactOpt>(std::move(opt));
     },
     [] {
       auto opt = std::make_unique<VelmoraLiteral::LiteralStrongin>(Wavy);
       opt->SetMultiplier(2);
       return std::unique_ptr<VelmoraLiteral::LiteralOpt>(std::move(opt));
     },
     [](const VelmoraLiteral::LiteralOpt& opt) {
       return static_cast<const VelmoraLiteral::LiteralStrongin&>(opt).LipConst();
     }},
};

TEST(StepRecord, eachStepIsTheOneAFreshRunOfTheRulesMakesAndRebuildsTheList) {
  constexpr double a = -4, b = 5;
  constexpr int steps = 60;
  for (const MethodCase& method : Methods) {
    SCOPED_TRACE(method.name);
    std::unique_ptr<TCharactOpt> opt = method.fast();
    std::vector<TStepRecord> records;
    opt->SetStepObserver([&](const TStepRecord& r) { records.push_back(r); });
    opt->SearchBySteps(a, b, steps);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(steps));

    // The list, rebuilt by putting each new point after its interval's left end.
    std::vector<double> list{a, b};
    for (int k = 1; k <= steps; ++k) {
      const TStepRecord& r = records[k - 1];
      ASSERT_EQ(r.Step, k);
      ASSERT_GE(r.Interval, 1);
      ASSERT_LT(r.Interval, static_cast<int>(list.size()));
      EXPECT_EQ(r.Left, list[r.Interval - 1]) << k;
      EXPECT_EQ(r.Right, list[r.Interval]) << k;
      EXPECT_EQ(r.Z, Wavy(r.X)) << k;

      // The literal rules after k - 1 steps hold the characteristic the
      // choice saw; after k steps, the step's precision and constant.
      std::unique_ptr<VelmoraLiteral::LiteralOpt> before = method.literal();
      before->SearchBySteps(a, b, k - 1);
      EXPECT_EQ(r.Charact, before->GetTrials()[r.Interval - 1].Charact) << k;
      std::unique_ptr<VelmoraLiteral::LiteralOpt> after = method.literal();
      after->SearchBySteps(a, b, k);
      EXPECT_EQ(r.Precision, after->GetPrecision()) << k;
      EXPECT_EQ(r.Constant, method.constantOf(*after)) << k;

      list.insert(list.begin() + r.Interval, r.X);
    }
    std::vector<double> trials;
    for (const TSearchInfo& t : opt->GetTrials()) trials.push_back(t.x);
    EXPECT_EQ(list, trials);
  }
}

}  // namespace
