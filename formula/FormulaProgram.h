// A parsed formula as a flat program: its tree in postorder, run over an
// explicit stack of 80-bit values, so no nesting costs a native stack frame.
// The same program gives the value alone, or the value with its slope by x[0].
#pragma once

#include <cstdint>
#include <vector>

#include "Extended.h"

namespace Math_Parser {

struct TParserNode;

class FormulaProgram {
 public:
  /// Where an operand comes from: the stack, the instruction's constant, or
  /// the variable table.
  enum class Source : std::uint8_t { Stack, Constant, Variable };

  struct Instruction {
    Velmora::Extended Constant = 0;
    std::uint16_t Dispatch = 0;  ///< the operation and its sources as one number
    std::uint8_t Operation = 0;
    Source Left = Source::Stack;  ///< the only operand of a unary operation
    Source Right = Source::Stack;
    std::uint8_t LeftVariable = 0;
    std::uint8_t RightVariable = 0;
    bool Steady = true;  ///< the result does not depend on x[0]: its slope is 0
    bool LeftSteady = true;
    bool RightSteady = true;
  };

  struct Slot {
    Velmora::Extended Value;
  };
  struct SlopeSlot {
    Velmora::Extended Value;
    Velmora::Extended Slope;
  };

  /// Throws std::bad_alloc only; a subtree that reads no variable is
  /// computed here when that raises neither a report nor a fault.
  void Compile(const TParserNode* root);
  void Clear();
  bool Empty() const { return code_.empty(); }

  /// Throws Velmora::ArithmeticFault or TEvalError, as the evaluation does.
  Velmora::Extended Value(const double* values);
  SlopeSlot ValueAndSlope(const double* values);

  const std::vector<Instruction>& Code() const { return code_; }

 private:
  // A formula that reads a variable needs the table before anything runs.
  void requireValues(const double* values) const {
    if (readsVariables_ && !values) [[unlikely]]
      raiseNoValues();
  }
  [[noreturn]] static void raiseNoValues();

  std::vector<Instruction> code_;
  bool readsVariables_ = false;
  std::size_t depth_ = 0;
  std::vector<Slot> stack_;
  std::vector<SlopeSlot> slopeStack_;
};

}  // namespace Math_Parser
