// State of the least-squares fit that outlives one command.
#pragma once

#include <array>

#include "model/ParameterModel.h"

namespace zemra {

inline constexpr int kMaxFitParameters = 20;

// A parameter vector of the fit, indexed 1..N (element 0 unused).
using FitVector = std::array<double, kMaxFitParameters + 1>;

// Rows 1..N of the normal matrix: columns 1..N hold J'J, N+1 the right-hand side, N+2 the scale.
using NormalMatrix = std::array<std::array<double, kMaxFitParameters + 3>, kMaxFitParameters + 1>;

// The Marquardt engine's memory between iterations and between fits, with the fixed-size work
// arrays it reuses in every iteration (allocated once with the workbench).
struct MarquardtState {
    FitVector XTrial{};  // trial vector, 1-based
    FitVector DX{};      // step vector, 1-based
    double Lambda = 0;   // Marquardt factor

    Array2<kRows, kMaxFitParameters + 1> Jacobian;  // (k, j): d F(k) / d X(j)
    Array1<kRows> FPlus, FMinus;                    // model at x + h and at x - h, points 1..M
    NormalMatrix A{};                               // normal equations, scaled to unit diagonal
    NormalMatrix B{};                               // the damped copy that is reduced
};

struct FitState {
    bool Fitting = false;  // a fit command is running: new curves go to slot 2, no noise
    int NFit = 0;          // number of fitted parameters
    std::array<int, kMaxFitParameters + 1> FitIndex{};  // slot of the i-th fitted parameter
    long NObjFun = 0;                                   // objective evaluations in the current fit
    double FitStep0 = 0;          // derivative step for a parameter that is exactly 0
    bool SingularMatrix = false;  // a model evaluation of the current fit met a singular block
    MarquardtState Marquardt;
};

}  // namespace zemra
