// The test classes of random multiextremal functions: each class is a seed
// and a rule for drawing one function from the stream that starts at
// seed + n, so function n of a class is the same everywhere. Each function
// comes with its formula, its global minimum and its Lipschitz constant.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Lab {

enum class TestClassId { Hill, Shekel };

struct TestClass {
  TestClassId id;
  std::string_view key;  ///< "hill", "shekel"
  std::uint64_t seed;
  double a;  ///< the interval every function of the class is searched on
  double b;
};

std::span<const TestClass> testClasses();
const TestClass& testClass(TestClassId id);
// Null when no class has that key.
const TestClass* findTestClass(std::string_view key);

struct TestFunction {
  TestClassId cls;
  std::uint64_t index;
  double a;
  double b;
  std::string formula;  ///< in the formula language; pasted into the window it is the same function
  double xstar;         ///< the global minimiser, within 1e-9
  // The formula engine's value at xstar, which is what a run evaluating the
  // formula there sees; within 1e-9 of the minimum.
  double fstar;
  double lipschitz;  ///< the largest |f'| over a grid of 100001 points
  // A test set's row may name several global minimisers beside xstar; a
  // trial near any of them solves the function. A class's functions have one.
  std::vector<double> otherMinimisers{};
};

// Safe to call from several threads at once.
TestFunction makeTestFunction(TestClassId cls, std::uint64_t index);

}  // namespace Velmora::Lab
