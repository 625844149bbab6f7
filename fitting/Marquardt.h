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

// Rows 1..N of the normal matrix: columns 1..N hold J'J, N+1 the right-hand side, N+2 the scale.
using NormalMatrix = std::array<std::array<double, kMaxFitParameters + 3>, kMaxFitParameters + 1>;

// Active(i) = 0 holds parameter i fixed; any other value lets it be fitted.
using ActiveFlags = std::array<int, kMaxFitParameters + 1>;

// The model as the engine sees it: evaluates the model at the trial vector xTrial(1..N) into
// f(1..m). The fit driver passes a whole simulation; tests pass plain functions.
using FitModel = std::function<void(const FitVector& xTrial, int m, PointVector& f)>;

// How an iteration ended: go on, the model reproduces the data (S below 1e-10 VarY), or converged
// (relative decrease of S below 2e-4, or Lambda passed 1000). The values are the flag the fit
// report prints.
enum class FitFlag { GoOn = 1, Exact = -1, Converged = -2 };

// The least-squares problem: N parameters fitted to the data Y(1..M) through the model, each
// parameter kept in its box [XMin, XMax] and held fixed where Active is 0.
struct FitProblem {
    int N = 0;
    int M = 0;
    const PointVector* Y = nullptr;
    FitVector XMin{}, XMax{};
    ActiveFlags Active{};
    double VarY = 0;      // variance of the data about its mean
    double FitStep0 = 0;  // derivative step for a parameter that is exactly 0
    FitModel Model;
};

// Where a fit stands between iterations: S is the sum of squares at the current x (set by the
// first call, State = 0), NMarq counts the damped re-solves, NObjFun the objective evaluations.
struct FitProgress {
    double S = 0;
    int State = 0;
    FitFlag Flag = FitFlag::GoOn;
    int NMarq = 0;
    long NObjFun = 0;
};

// The engine's memory within one fit, with the fixed-size work arrays every iteration reuses
// (about 700 KB, so a fit allocates it once on the heap).
struct MarquardtWorkspace {
    FitVector XTrial{};  // trial vector, 1-based
    FitVector DX{};      // step vector, 1-based
    double Lambda = 0;   // Marquardt factor
    PointVector F;       // the model at the last trial, points 1..M

    Array2<kRows, kMaxFitParameters + 1> Jacobian;  // (k, j): d F(k) / d X(j)
    PointVector FPlus, FMinus;                      // model at x + h and at x - h
    NormalMatrix A{};                               // normal equations, scaled to unit diagonal
    NormalMatrix B{};                               // the damped copy that is reduced
};

// Central-difference Jacobian around w.XTrial: J(k, j) = (F(x + h e_j)(k) - F(x - h e_j)(k)) / 2h
// with h = 0.01 |x_j|, or FitStep0 for x_j = 0; 2N model evaluations into the scratch arrays.
void BuildJacobian(const FitProblem& p, MarquardtWorkspace& w);

// Parameter j is held fixed by the engine: inactive, or its J'J diagonal (from w.Jacobian) not
// above the floor 1e-20, so that the data does not move it.
bool HeldFixed(const FitProblem& p, const MarquardtWorkspace& w, int j);

// One objective evaluation: the step components of w.DX that would leave the box are set to zero
// (a value exactly on a bound is accepted), w.XTrial := x + DX, the model is evaluated into w.F,
// sOut := sum over k = 1..M of (F(k) - Y(k))^2, and NObjFun is counted up.
void EvaluateTrial(const FitProblem& p, const FitVector& x, MarquardtWorkspace& w, double& sOut,
                   FitProgress& g);

// One Marquardt iteration on the parameters x(1..N): S becomes the sum of squares at the new x,
// Flag says whether to go on. An overflow or a division by zero in the engine's arithmetic
// raises RuntimeError.
void MarquardtIterate(const FitProblem& p, FitVector& x, FitProgress& g, MarquardtWorkspace& w);

}  // namespace zemra
