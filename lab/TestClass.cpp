#include "TestClass.h"

#include "FormulaFunction.h"
#include "GlobalMinimum.h"
#include "HillFunction.h"
#include "ShekelFunction.h"

namespace Velmora::Lab {

namespace {

// The seeds spell "HILL" and "SHEK" in ASCII.
constexpr TestClass Classes[] = {
    {TestClassId::Hill, "hill", 0x48494C4C, HillFunction::Lower, HillFunction::Upper},
    {TestClassId::Shekel, "shekel", 0x5348454B, ShekelFunction::Lower, ShekelFunction::Upper},
};

TestFunction describe(const TestClass& info, std::uint64_t index, const NativeFunction& f) {
  TestFunction described{info.id, index, info.a, info.b, f.formula(), 0, 0, 0};
  const GlobalMinimum minimum = findGlobalMinimum(f);
  described.xstar = minimum.x;
  described.fstar = FormulaFunction(described.formula)(minimum.x);
  described.lipschitz = minimum.largestSlope;
  return described;
}

}  // namespace

std::span<const TestClass> testClasses() { return Classes; }

const TestClass& testClass(TestClassId id) { return Classes[static_cast<int>(id)]; }

const TestClass* findTestClass(std::string_view key) {
  for (const TestClass& c : Classes)
    if (c.key == key) return &c;
  return nullptr;
}

TestFunction makeTestFunction(TestClassId cls, std::uint64_t index) {
  const TestClass& info = testClass(cls);
  SplitMix64 draws(info.seed + index);
  switch (cls) {
    case TestClassId::Hill: return describe(info, index, HillFunction(draws));
    case TestClassId::Shekel: return describe(info, index, ShekelFunction(draws));
  }
  return {};
}

}  // namespace Velmora::Lab
