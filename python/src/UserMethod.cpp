#include "UserMethod.h"

#include <bit>
#include <cstdint>

#include "MethodCatalogue.h"
#include "Rules.h"
#include "SearchResult.h"

namespace Velmora::Python {

namespace {

using VELMORAALG::TTrialPoint;
using Velmora::Extended;

class UserEngine final : public VELMORAALG::TCharactOpt {
 public:
  UserEngine(const UserMethod& rules, VELMORAALG::TOptFunc objective, PythonCalls& calls)
      : TCharactOpt(std::move(objective)), rules_(rules), calls_(calls) {}

 protected:
  // The scheme's first characteristic, of the whole interval, opens the run
  // (an engine makes one): the constant is asked for from the two ends.
  Extended Characteristic(TTrialPoint& left, TTrialPoint& right) override {
    const double zl = Value(left);
    const double zr = Value(right);
    if (opening_) {
      opening_ = false;
      constant_ = constantOf({{left.X, zl, 0, 1}, {right.X, zr, 0, 2}});
    }
    return rule(rules_.charact, left.X, right.X, zl, zr);
  }

  // The constant from the trials as they stand; a new one (bit for bit)
  // makes the scheme compute every characteristic anew.
  Extended NewPoint(int t) override {
    const double c = constantOf(GetTrials());
    if (std::bit_cast<std::uint64_t>(c) != std::bit_cast<std::uint64_t>(constant_)) {
      constant_ = c;
      CharacteristicsChanged();
    }
    TTrialPoint& left = TrialAt(t);
    TTrialPoint& right = TrialAt(t + 1);
    const double zl = Value(left);
    const double zr = Value(right);
    return rule(rules_.newPoint, left.X, right.X, zl, zr);
  }

  double StepConstant() const override { return constant_; }
  // The constant is the rules' own.
  void SetParameter(double) override {}

 private:
  double rule(const py::object& f, double xl, double xr, double zl, double zr) {
    return calls_.call([&] { return asDouble(PyObject_CallFunction(f.ptr(), "ddddd", xl, xr, zl, zr, constant_)); });
  }

  double constantOf(std::vector<Lab::Trial>&& trials) {
    if (rules_.constant.is_none()) return 0.0;
    return calls_.call([&] {
      const Trials columns = trialColumns(std::move(trials));
      return asDouble(PyObject_CallOneArg(rules_.constant.ptr(), py::cast(columns).ptr()));
    });
  }

  const UserMethod& rules_;
  PythonCalls& calls_;
  double constant_ = 0.0;
  bool opening_ = true;
};

}  // namespace

std::unique_ptr<VELMORAALG::TCharactOpt> makeUserEngine(const UserMethod& rules, VELMORAALG::TOptFunc objective,
                                                        PythonCalls& calls) {
  return std::make_unique<UserEngine>(rules, std::move(objective), calls);
}

void addUserMethod(py::module_& m) {
  py::class_<UserMethod>(m, "Method", R"doc(
A method of your own in the characteristic scheme.

The scheme keeps the trials in order of x, splits at each step the interval
of largest characteristic at the point your rule gives, and records the step
as it does for the built-in methods; ``search``, ``class_run`` and
``operational`` take the method wherever they take a method's id.

Parameters
----------
charact : callable
    ``charact(xl, xr, zl, zr, c) -> float``: the characteristic of the
    interval [xl, xr] with F values zl, zr under the constant c.
new_point : callable
    ``new_point(xl, xr, zl, zr, c) -> float``: the point that splits the
    chosen interval.
constant : callable, optional
    ``constant(trials) -> float``: the method's constant (a Lipschitz
    estimate, say) from the trials as they stand (a ``Trials``), asked for
    once from the two ends before the first characteristic and then at every
    step before the new point. A constant that changes makes the scheme
    compute every characteristic anew. Without it c is 0.
name : str, optional
    The method's name in the rows of ``class_run``.

Examples
--------
Piyavsky's broken lines with L = 12:

>>> L = 12.0
>>> m = velmora.Method(
...     charact=lambda xl, xr, zl, zr, c: 0.5 * c * (xr - xl) - 0.5 * (zl + zr),
...     new_point=lambda xl, xr, zl, zr, c: velmora.meeting_point(xl, xr, zl, zr, c),
...     constant=lambda trials: L)
>>> r = velmora.search("sin(x[0]) + sin(10*x[0]/3)", (2.7, 7.5), method=m, steps=50)
)doc")
      .def(py::init([](py::object charact, py::object newPoint, py::object constant, std::string name) {
             for (const py::object* rule : {&charact, &newPoint})
               if (!PyCallable_Check(rule->ptr())) throw py::type_error("charact and new_point must be callable");
             if (!constant.is_none() && !PyCallable_Check(constant.ptr()))
               throw py::type_error("constant must be callable or None");
             // Rows name their method; a built-in id there would stand for two methods.
             if (Lab::findMethod(name))
               throw py::value_error("name: \"" + name + "\" is the id of a built-in method; choose another");
             return UserMethod{std::move(charact), std::move(newPoint), std::move(constant), std::move(name)};
           }),
           py::kw_only(), py::arg("charact"), py::arg("new_point"), py::arg("constant") = py::none(),
           py::arg("name") = "python")
      .def_readonly("name", &UserMethod::name)
      .def("__repr__", [](const UserMethod& u) { return "velmora.Method(name=\"" + u.name + "\")"; });

  m.def(
      "meeting_point",
      [](double xl, double xr, double zl, double zr, double slope) {
        return static_cast<double>(VELMORAALG::MeetingPoint(xl, zl, xr, zr, slope));
      },
      py::arg("xl"), py::arg("xr"), py::arg("zl"), py::arg("zr"), py::arg("slope"), R"doc(
Where the lines of slopes -slope through (xl, zl) and +slope through (xr, zr) meet.

The point the broken-line methods split at, computed as the scheme computes
it, in 80-bit arithmetic rounded once to a float, so that a rule of your own
places exactly the built-in methods' points. Raises ArithmeticFault as the
scheme would (a zero slope, say).
)doc");
}

}  // namespace Velmora::Python
