#include "FormulaProgram.h"

#include <array>
#include <bit>
#include <string>
#include <type_traits>

#include "Math_Parser.h"
#include "OperationRules.h"

namespace Math_Parser {

using Velmora::Extended;
using Instruction = FormulaProgram::Instruction;
using Source = FormulaProgram::Source;
using namespace rules;

namespace {

constexpr Source S = Source::Stack;
constexpr Source C = Source::Constant;
constexpr Source V = Source::Variable;

// Reads a constant or a variable onto the stack.
constexpr int opPush = opRound + 1;

constexpr std::uint16_t dispatchOf(int operation, Source left, Source right) {
  return static_cast<std::uint16_t>(operation * 9 + static_cast<int>(left) * 3 + static_cast<int>(right));
}

bool isBinary(int operation) { return operation <= opPow; }

template <bool Slopes>
using SlotOf = std::conditional_t<Slopes, FormulaProgram::SlopeSlot, FormulaProgram::Slot>;

template <bool Slopes>
SlotOf<Slopes> slot(Extended value, [[maybe_unused]] Extended slope) {
  if constexpr (Slopes)
    return {value, slope};
  else
    return {value};
}

// The sine and the cosine of one argument, as the library gives them.
struct SineAndCosine {
  std::uint64_t argument = 0;  // the argument's bits
  bool known = false;
  double sine = 0;
  double cosine = 0;
};

// The top of the stack lives in a local of the run, so an operation's result
// is not stored and loaded again by the next one; the stack holds the
// entries below it.
template <bool Slopes>
struct Machine {
  SlotOf<Slopes> top;
  SlotOf<Slopes>* next;  // the first free entry below the top
  const double* values;
  // The slope of a sine is the cosine of its argument and the other way
  // round, and formulas of harmonics take both of one argument (Hill's
  // functions): the pair met last serves a value or a slope of the same
  // argument again. The library gives the same bits for the same argument
  // and reports nothing, so no value changes.
  SineAndCosine trigonometry;

  // An operand read from the instruction itself.
  template <Source From>
  SlotOf<Slopes> leaf(const Instruction& ins, int variable) const {
    if constexpr (From == C)
      return slot<Slopes>(ins.Constant, 0);
    else
      return slot<Slopes>(values[variable], variable == 0 ? 1 : 0);
  }
  // A result whose operands were all read from the instruction is a new entry.
  void push(const SlotOf<Slopes>& result) {
    *next++ = top;
    top = result;
  }
};

template <int Operation, Source L, Source R, bool Slopes>
void binary(const Instruction& ins, Machine<Slopes>& m) {
  // With both operands on the stack the right one is on top.
  SlotOf<Slopes> a, b;
  if constexpr (R == S)
    b = m.top;
  else
    b = m.template leaf<R>(ins, ins.RightVariable);
  if constexpr (L == S)
    a = R == S ? *--m.next : m.top;
  else
    a = m.template leaf<L>(ins, ins.LeftVariable);
  const Extended f = Rule<Operation>::value(a.Value, b.Value);
  SlotOf<Slopes> result;
  if constexpr (Slopes)
    result = {f, ins.Steady ? Extended(0) : Rule<Operation>::slope(a.Value, a.Slope, b.Value, b.Slope, f)};
  else
    result = {f};
  if constexpr (L != S && R != S)
    m.push(result);
  else
    m.top = result;
}

template <int Operation, Source From, bool Slopes>
void unary(const Instruction& ins, Machine<Slopes>& m) {
  const SlotOf<Slopes> a = From == S ? m.top : m.template leaf<From>(ins, ins.LeftVariable);
  const Extended f = Rule<Operation>::value(a.Value);
  SlotOf<Slopes> result;
  if constexpr (Slopes)
    result = {f, ins.Steady ? Extended(0) : Rule<Operation>::slope(a.Value, a.Slope, f)};
  else
    result = {f};
  if constexpr (From == S)
    m.top = result;
  else
    m.push(result);
}

// A library function takes its argument rounded to a double; a variable is one.
template <int Operation, Source From, bool Slopes>
void function(const Instruction& ins, Machine<Slopes>& m) {
  double u;
  Extended du = 0;
  if constexpr (From == V) {
    u = m.values[ins.LeftVariable];
    du = ins.LeftVariable == 0 ? 1 : 0;
  } else {
    u = Velmora::toDouble(m.top.Value);
    if constexpr (Slopes) du = m.top.Slope;
  }
  SlotOf<Slopes> result;
  if constexpr (!Slopes) {
    result = {Rule<Operation>::value(u)};
  } else if constexpr (Operation == opSin || Operation == opCos) {
    if (ins.Steady) {
      result = {Rule<Operation>::value(u), 0};
    } else {
      SineAndCosine& known = m.trigonometry;
      const auto bits = std::bit_cast<std::uint64_t>(u);
      if (!known.known || known.argument != bits) {
        // The same rows as below: the derivative first, then the value.
        if constexpr (Operation == opSin) {
          known.cosine = Rule<opSin>::derivative(u);
          known.sine = Rule<opSin>::value(u);
        } else {
          known.sine = -Rule<opCos>::derivative(u);
          known.cosine = Rule<opCos>::value(u);
        }
        known.argument = bits;
        known.known = true;
      }
      if constexpr (Operation == opSin)
        result = {known.sine, known.cosine * du};
      else
        result = {known.cosine, -known.sine * du};
    }
  } else if constexpr (requires { Rule<Operation>::derivative(u); }) {
    // Taken first, so the value need not be kept across a second call.
    const Extended derivative = ins.Steady ? Extended(0) : Extended(Rule<Operation>::derivative(u));
    const Extended f = Rule<Operation>::value(u);
    result = {f, ins.Steady ? Extended(0) : derivative * du};
  } else {
    const auto f = Rule<Operation>::value(u);
    result = {f, ins.Steady ? Extended(0) : Extended(Rule<Operation>::derivativeOfValue(u, f)) * du};
  }
  if constexpr (From == S)
    m.top = result;
  else
    m.push(result);
}

// "^" with the base as the left operand and the exponent as the right one.
// The exponent was evaluated and rounded before the base: on the stack it
// lies below the base; a constant one was rounded when the program was made.
template <Source Base, Source Exponent, bool Slopes>
void power(const Instruction& ins, Machine<Slopes>& m) {
  SlotOf<Slopes> base = slot<Slopes>(ins.Constant, 0);
  SlotOf<Slopes> exponent = slot<Slopes>(ins.Constant, 0);
  if constexpr (Base == S) base = m.top;
  if constexpr (Exponent == S) exponent = Base == S ? *--m.next : m.top;
  const double e = Velmora::toDouble(exponent.Value);
  const double a = Velmora::toDouble(base.Value);
  const Extended f = libPow(a, e);
  if constexpr (Slopes)
    m.top = {f, ins.Steady ? Extended(0)
                           : powerSlope(a, base.Slope, !ins.LeftSteady, e, exponent.Slope, !ins.RightSteady, f)};
  else
    m.top = {f};
}

[[noreturn, gnu::noinline]] void raiseOutsideTheTable(std::int32_t index) {
  throw TEvalError("x[" + std::to_string(index) + "] is outside the variables x[0] to x[9]");
}

// An index that is not a constant: refused rather than read outside the table.
template <bool Slopes>
void indexed(const Instruction& ins, Machine<Slopes>& m) {
  const SlotOf<Slopes> index = m.top;
  const std::int32_t k = integerOf(index.Value);
  if (k < 0 || k >= TParser::VariableCount) raiseOutsideTheTable(k);
  if constexpr (Slopes)
    m.top = {m.values[k], ins.Steady ? Extended(0) : jumpSlope(index.Value, index.Slope) + (k == 0 ? 1 : 0)};
  else
    m.top = {m.values[k]};
}

template <bool Slopes>
SlotOf<Slopes> run(const Instruction* pc, const Instruction* end, SlotOf<Slopes>* stack, const double* values) {
  Machine<Slopes> m{slot<Slopes>(0, 0), stack, values, {}};
  for (; pc != end; ++pc) {
    const Instruction& ins = *pc;
    switch (ins.Dispatch) {
#define VELMORA_BINARY(op)                                                                         \
  case dispatchOf(op, S, S): binary<op, S, S, Slopes>(ins, m); break;                             \
  case dispatchOf(op, S, C): binary<op, S, C, Slopes>(ins, m); break;                             \
  case dispatchOf(op, C, S): binary<op, C, S, Slopes>(ins, m); break;                             \
  case dispatchOf(op, S, V): binary<op, S, V, Slopes>(ins, m); break;                             \
  case dispatchOf(op, V, S): binary<op, V, S, Slopes>(ins, m); break;                             \
  case dispatchOf(op, C, V): binary<op, C, V, Slopes>(ins, m); break;                             \
  case dispatchOf(op, V, C): binary<op, V, C, Slopes>(ins, m); break;                             \
  case dispatchOf(op, V, V): binary<op, V, V, Slopes>(ins, m); break;
#define VELMORA_FUNCTION(op)                                                                       \
  case dispatchOf(op, S, S): function<op, S, Slopes>(ins, m); break;                              \
  case dispatchOf(op, V, S): function<op, V, Slopes>(ins, m); break;
      VELMORA_BINARY(opAdd)
      VELMORA_BINARY(opSub)
      VELMORA_BINARY(opMul)
      VELMORA_BINARY(opDiv)
      VELMORA_FUNCTION(opSin)
      VELMORA_FUNCTION(opCos)
      VELMORA_FUNCTION(opTg)
      VELMORA_FUNCTION(opCtg)
      VELMORA_FUNCTION(opArcsin)
      VELMORA_FUNCTION(opArccos)
      VELMORA_FUNCTION(opArctg)
      VELMORA_FUNCTION(opArcctg)
      VELMORA_FUNCTION(opSh)
      VELMORA_FUNCTION(opCh)
      VELMORA_FUNCTION(opTh)
      VELMORA_FUNCTION(opCth)
      VELMORA_FUNCTION(opExp)
      VELMORA_FUNCTION(opLg)
      VELMORA_FUNCTION(opLn)
      VELMORA_FUNCTION(opSqrt)
#undef VELMORA_BINARY
#undef VELMORA_FUNCTION
      case dispatchOf(opMod, S, S): binary<opMod, S, S, Slopes>(ins, m); break;
      case dispatchOf(opNeg, S, S): unary<opNeg, S, Slopes>(ins, m); break;
      case dispatchOf(opNeg, V, S): unary<opNeg, V, Slopes>(ins, m); break;
      case dispatchOf(opSquare, S, S): unary<opSquare, S, Slopes>(ins, m); break;
      case dispatchOf(opSquare, V, S): unary<opSquare, V, Slopes>(ins, m); break;
      case dispatchOf(opRound, S, S): unary<opRound, S, Slopes>(ins, m); break;
      case dispatchOf(opPow, S, S): power<S, S, Slopes>(ins, m); break;
      case dispatchOf(opPow, S, C): power<S, C, Slopes>(ins, m); break;
      case dispatchOf(opPow, C, S): power<C, S, Slopes>(ins, m); break;
      case dispatchOf(opVar, S, S): indexed<Slopes>(ins, m); break;
      case dispatchOf(opPush, C, S): m.push(m.template leaf<C>(ins, 0)); break;
      case dispatchOf(opPush, V, S): m.push(m.template leaf<V>(ins, ins.LeftVariable)); break;
      default: throw TEvalError("Unknown operation in the formula tree");
    }
  }
  return m.top;
}

// Rounding a constant to a double raises no fault unless it lies beyond the
// double range.
bool roundsQuietly(Extended v) {
  const double d = static_cast<double>(v);
  return !(std::isinf(d) && Velmora::isfinite(v));
}

// Swaps the report handler for one that only notes a report, for as long as
// a subtree is computed ahead.
class ReportWatch {
 public:
  ReportWatch() : previous_(SetMathErrorHandler([this](const std::string&) { reported = true; })) {}
  ~ReportWatch() { SetMathErrorHandler(std::move(previous_)); }
  ReportWatch(const ReportWatch&) = delete;
  ReportWatch& operator=(const ReportWatch&) = delete;
  bool reported = false;

 private:
  TMathErrorHandler previous_;
};

// The compiler's account of a subtree whose code ends the program so far.
struct Fragment {
  std::size_t start;
  bool readsVariable;
  bool varies;  // with x[0]
  bool rounded = false;  // an exponent whose rounding was appended
};

class Compiler {
 public:
  explicit Compiler(std::vector<Instruction>& code) : code_(code) {}

  void compile(const TParserNode* root);

 private:
  struct Frame {
    const TParserNode* node;
    int stage;
  };

  static bool isLiteralTwo(const TParserNode* node) { return !node->Left && !node->Right && node->Value == 2; }
  bool isPush(const Fragment& f, Source from) const {
    return code_.size() - f.start == 1 && code_[f.start].Operation == opPush && code_[f.start].Left == from;
  }
  bool isPush(const Fragment& f) const { return isPush(f, C) || isPush(f, V); }
  Fragment pop() {
    const Fragment f = fragments_.back();
    fragments_.pop_back();
    return f;
  }

  void emit(int operation, Source left, Source right, bool steady);
  void pushConstant(Extended value);
  void pushVariable(int index);
  void tryFold(const Fragment& f);
  void finishBinary(int operation);
  void finishUnary(int operation);
  void roundExponent();
  void finishPower();

  std::vector<Instruction>& code_;
  std::vector<Fragment> fragments_;
};

void Compiler::emit(int operation, Source left, Source right, bool steady) {
  Instruction ins;
  ins.Operation = static_cast<std::uint8_t>(operation);
  ins.Left = left;
  ins.Right = right;
  ins.Dispatch = dispatchOf(operation, left, right);
  ins.Steady = steady;
  code_.push_back(ins);
}

void Compiler::pushConstant(Extended value) {
  emit(opPush, C, S, true);
  code_.back().Constant = value;
  fragments_.push_back({code_.size() - 1, false, false});
}

void Compiler::pushVariable(int index) {
  emit(opPush, V, S, index != 0);
  code_.back().LeftVariable = static_cast<std::uint8_t>(index);
  fragments_.push_back({code_.size() - 1, true, index == 0});
}

// A subtree whose operands are all constants is computed now, by the same
// code, when that makes no report and no fault; otherwise it stays, to make
// them at every evaluation.
void Compiler::tryFold(const Fragment& f) {
  std::array<FormulaProgram::Slot, 4> stack;
  Extended value;
  {
    ReportWatch watch;
    try {
      value = run<false>(code_.data() + f.start, code_.data() + code_.size(), stack.data(), nullptr).Value;
    } catch (const Velmora::ArithmeticFault&) {
      return;
    }
    if (watch.reported) return;
  }
  code_.resize(f.start);
  fragments_.pop_back();
  pushConstant(value);
}

void Compiler::finishBinary(int operation) {
  const Fragment right = pop();
  const Fragment left = pop();
  const Fragment merged{left.start, left.readsVariable || right.readsVariable, left.varies || right.varies};
  const bool constants = right.start - left.start == 1 && code_[left.start].Operation == opPush &&
                         code_[left.start].Left == C && isPush(right, C);
  if (constants || operation == opMod) {
    emit(operation, S, S, !merged.varies);
    fragments_.push_back(merged);
    if (constants) tryFold(merged);
    return;
  }
  // A constant or a variable operand is read by the operation itself. The
  // right operand's code ends the program, the left one's stands before it.
  const bool pushes[2] = {right.start - left.start == 1 && code_[left.start].Operation == opPush,
                          isPush(right)};
  const std::size_t starts[2] = {left.start, right.start};
  Instruction fused;
  Source from[2] = {S, S};
  for (int side = 1; side >= 0; --side) {
    if (!pushes[side]) continue;
    const Instruction push = code_[starts[side]];
    from[side] = push.Left;
    if (push.Left == C) fused.Constant = push.Constant;
    (side == 0 ? fused.LeftVariable : fused.RightVariable) = push.LeftVariable;
    code_.erase(code_.begin() + static_cast<std::ptrdiff_t>(starts[side]));
  }
  emit(operation, from[0], from[1], !merged.varies);
  code_.back().Constant = fused.Constant;
  code_.back().LeftVariable = fused.LeftVariable;
  code_.back().RightVariable = fused.RightVariable;
  fragments_.push_back(merged);
}

void Compiler::finishUnary(int operation) {
  const Fragment operand = pop();
  if (operation == opVar) {
    // A constant index inside the table is read as a plain variable.
    if (isPush(operand, C)) {
      const std::int32_t k = integerOf(code_.back().Constant);
      if (k >= 0 && k < TParser::VariableCount) {
        code_.pop_back();
        pushVariable(k);
        return;
      }
    }
    emit(opVar, S, S, false);
    fragments_.push_back({operand.start, true, true});
    return;
  }
  const Fragment merged{operand.start, operand.readsVariable, operand.varies};
  const bool constant = isPush(operand, C);
  if (isPush(operand, V)) {
    const std::uint8_t k = code_.back().LeftVariable;
    code_.pop_back();
    emit(operation, V, S, !merged.varies);
    code_.back().LeftVariable = k;
    fragments_.push_back(merged);
    return;
  }
  emit(operation, S, S, !merged.varies);
  fragments_.push_back(merged);
  if (constant) tryFold(merged);
}

// The exponent is rounded before the base is evaluated, so a fault of the
// rounding comes first; a variable needs no rounding, and a constant that
// rounds without a fault is rounded when the power is finished.
void Compiler::roundExponent() {
  Fragment& exponent = fragments_.back();
  if (isPush(exponent, V) || (isPush(exponent, C) && roundsQuietly(code_.back().Constant))) return;
  emit(opRound, S, S, !exponent.varies);
  exponent.rounded = true;
}

void Compiler::finishPower() {
  const Fragment base = pop();
  const Fragment exponent = pop();
  const Fragment merged{exponent.start, exponent.readsVariable || base.readsVariable,
                        exponent.varies || base.varies};
  // An exponent left unrounded is a single constant that rounds quietly.
  const bool constantExponent = base.start == exponent.start + 1 && code_[exponent.start].Operation == opPush &&
                                code_[exponent.start].Left == C;
  Source baseFrom = S;
  Source exponentFrom = S;
  Extended constant = 0;
  if (constantExponent && isPush(base, C)) {
    emit(opPow, S, S, true);
    fragments_.push_back(merged);
    tryFold(merged);
    return;
  }
  if (constantExponent) {
    constant = Velmora::toDouble(code_[exponent.start].Constant);
    code_.erase(code_.begin() + static_cast<std::ptrdiff_t>(exponent.start));
    exponentFrom = C;
  } else if (isPush(base, C) && roundsQuietly(code_.back().Constant)) {
    constant = Velmora::toDouble(code_.back().Constant);
    code_.pop_back();
    // The power rounds the exponent on top of the stack itself.
    if (exponent.rounded) code_.pop_back();
    baseFrom = C;
  }
  emit(opPow, baseFrom, exponentFrom, !merged.varies);
  code_.back().Constant = constant;
  code_.back().LeftSteady = !base.varies;
  code_.back().RightSteady = !exponent.varies;
  fragments_.push_back(merged);
}

void Compiler::compile(const TParserNode* root) {
  std::vector<Frame> frames{{root, 0}};
  while (!frames.empty()) {
    Frame& frame = frames.back();
    const TParserNode* node = frame.node;
    if (!node->Left && !node->Right) {
      pushConstant(node->Value);
      frames.pop_back();
      continue;
    }
    const int operation = static_cast<int>(node->Value);
    if (operation == opPow && isLiteralTwo(node->Right)) {
      // A literal exponent 2 squares the base and is never evaluated.
      if (frame.stage++ == 0) {
        frames.push_back({node->Left, 0});
        continue;
      }
      finishUnary(opSquare);
    } else if (operation == opPow) {
      const int stage = frame.stage++;
      if (stage < 2) {
        if (stage == 1) roundExponent();
        frames.push_back({stage == 0 ? node->Right : node->Left, 0});
        continue;
      }
      finishPower();
    } else if (node->Right) {
      const int stage = frame.stage++;
      if (stage < 2) {
        frames.push_back({stage == 0 ? node->Left : node->Right, 0});
        continue;
      }
      finishBinary(operation);
    } else {
      if (frame.stage++ == 0) {
        frames.push_back({node->Left, 0});
        continue;
      }
      finishUnary(operation);
    }
    frames.pop_back();
  }
}

}  // namespace

void FormulaProgram::Clear() {
  code_.clear();
  readsVariables_ = false;
  depth_ = 0;
}

void FormulaProgram::Compile(const TParserNode* root) {
  Clear();
  Compiler(code_).compile(root);
  std::size_t depth = 0;
  for (const Instruction& ins : code_) {
    int pops = ins.Left == S;
    if (isBinary(ins.Operation)) pops += ins.Right == S;
    depth = depth + 1 - static_cast<std::size_t>(pops);
    if (depth > depth_) depth_ = depth;
    if (ins.Left == V || ins.Right == V || ins.Operation == opVar) readsVariables_ = true;
  }
  stack_.resize(depth_);
}

void FormulaProgram::raiseNoValues() { throw TEvalError("No variable values to evaluate with"); }

Extended FormulaProgram::Value(const double* values) {
  requireValues(values);
  return run<false>(code_.data(), code_.data() + code_.size(), stack_.data(), values).Value;
}

FormulaProgram::SlopeSlot FormulaProgram::ValueAndSlope(const double* values) {
  requireValues(values);
  if (slopeStack_.size() < depth_) slopeStack_.resize(depth_);
  return run<true>(code_.data(), code_.data() + code_.size(), slopeStack_.data(), values);
}

}  // namespace Math_Parser
