// The search rules as a plain list walked in full at every step, with F
// evaluated every time a rule needs a value: slow, and the reference that the
// fast engine must match bit for bit.
#pragma once

#include <list>
#include <utility>
#include <vector>

#include "Charact_opt.h"
#include "Extended.h"

namespace VelmoraLiteral {

using VELMORAALG::TOptFunc;

// A record of the list: a trial and the characteristic of the interval that begins there.
struct ListRecord {
  double X;
  double Charact;
};

class LiteralOpt {
 public:
  static constexpr int MaxPrecisionSteps = VELMORAALG::TCharactOpt::MaxPrecisionSteps;

  explicit LiteralOpt(TOptFunc func) : Func(std::move(func)) {}
  virtual ~LiteralOpt() = default;

  double SearchBySteps(double xmin, double xmax, int steps);
  double SearchByPrecision(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);
  double SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);

  double GetPrecision() const { return Precision; }
  int GetStepCount() const { return StepCount; }
  std::vector<ListRecord> GetTrials() const { return {Trials.begin(), Trials.end()}; }
  double GetBestX() const { return BestX; }
  double GetBestValue() const { return BestZ; }
  bool PrecisionBoundHit() const { return boundHit; }
  // Whether the run ended at a new point on an end of its interval.
  bool Unsplittable() const { return unsplittable; }

 protected:
  void Init(double xmin, double xmax);
  // False, with nothing placed, when the new point falls on an end.
  bool Step();
  int BestInterval() const;
  virtual Velmora::Extended Characteristic(double left, double right) = 0;
  virtual Velmora::Extended NewPoint(int t) = 0;
  // Record t of the list, from 1, reached by walking from the first.
  double PointAt(int t) const;

  TOptFunc Func;
  std::list<ListRecord> Trials;

 private:
  int StepCount = 0;
  double BestX = 0.0;
  double BestZ = 0.0;
  double Precision = 0.0;
  bool boundHit = false;
  bool unsplittable = false;
};

class LiteralScan : public LiteralOpt {
 public:
  using LiteralOpt::LiteralOpt;

 protected:
  Velmora::Extended Characteristic(double left, double right) override;
  Velmora::Extended NewPoint(int t) override;
};

class LiteralPiyavsky : public LiteralOpt {
 public:
  using LiteralOpt::LiteralOpt;
  void SetLipschitz(double value) { Lipschitz = value > 0 ? value : 1.0; }
  double GetLipschitz() const { return Lipschitz; }

 protected:
  Velmora::Extended Characteristic(double left, double right) override;
  Velmora::Extended NewPoint(int t) override;

 private:
  double Lipschitz = 1.0;
};

class LiteralStrongin : public LiteralOpt {
 public:
  using LiteralOpt::LiteralOpt;
  void SetMultiplier(double value) { Multiplier = value > 1 ? value : 1.5; }
  double GetMultiplier() const { return Multiplier; }
  double EstimateLipschitz() const;
  double LipConst() const { return lipConst; }

 protected:
  Velmora::Extended Characteristic(double left, double right) override;
  Velmora::Extended NewPoint(int t) override;

 private:
  double Multiplier = 1.5;
  double lipConst = 1.0;
};

}  // namespace VelmoraLiteral
