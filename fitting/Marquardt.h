// Marquardt least-squares engine: one iteration per call, with a central-difference Jacobian,
// normal equations scaled to unit diagonal, a plain Gauss-Newton step tried first, a Marquardt
// factor added only after that step fails, and box bounds on every parameter.
#pragma once

#include <array>
#include <functional>

#include "model/ParameterModel.h"
#include "state/FitState.h"

namespace zemra {

// Points of the data and model curves, 1..M (element 0 unused).
using PointVector = Array1<kRows>;

// Active(i) = 0 holds parameter i fixed; any other value lets it be fitted.
using ActiveFlags = std::array<int, kMaxFitParameters + 1>;

// The model as the engine sees it: evaluates the model at the trial vector xTrial(1..N) into
// f(1..m). The fit driver passes a whole simulation; tests pass plain functions.
using FitModel = std::function<void(const FitVector& xTrial, int m, PointVector& f)>;

// Values of the convergence flag.
inline constexpr int kFlagGoOn = 1;        // iteration done, go on
inline constexpr int kFlagExact = -1;      // sum of squares below 1e-10 * VarY
inline constexpr int kFlagConverged = -2;  // relative decrease below 2e-4, or Lambda passed 1000

// One objective evaluation: the step components of dx that would leave the box [xmin, xmax] are
// set to zero (a value exactly on a bound is accepted), xTrial := x + dx, the model is evaluated
// into f, sOut := sum over k = 1..m of (f(k) - y(k))^2, and nObjFun is counted up.
void EvaluateTrial(int n, int m, FitVector& xTrial, const FitVector& x, FitVector& dx, double& sOut,
                   PointVector& f, const PointVector& y, const FitVector& xmax,
                   const FitVector& xmin, long& nObjFun, const FitModel& model);

// One Marquardt iteration on the parameters x(1..n) against the data y(1..m). `s` is the sum of
// squares at x (set by the first call, state = 0) and becomes the sum at the new x; `flag` gets
// kFlagGoOn, kFlagExact or kFlagConverged; `nMarq` counts the damped re-solves of the fit.
// Reads fit.FitStep0, counts fit.NObjFun and keeps XTrial, DX and Lambda in fit.Marquardt.
// An overflow or a division by zero in the engine's arithmetic raises RuntimeError.
void MarquardtIterate(int n, FitVector& x, int m, PointVector& f, const PointVector& y, double& s,
                      int& state, int& flag, int& nMarq, const ActiveFlags& active,
                      const FitVector& xmin, const FitVector& xmax, double varY, FitState& fit,
                      const FitModel& model);

}  // namespace zemra
