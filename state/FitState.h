// State of the least-squares fit that outlives one command.
#pragma once

#include <array>

#include "model/ParameterModel.h"

namespace zemra {

inline constexpr int kMaxFitParameters = 20;

// A parameter vector of the fit, indexed 1..N (element 0 unused).
using FitVector = std::array<double, kMaxFitParameters + 1>;

struct FitState {
    bool Fitting = false;  // a fit command is running: new curves go to slot 2, no noise
    int NFit = 0;          // number of fitted parameters
    std::array<int, kMaxFitParameters + 1> FitIndex{};  // slot of the i-th fitted parameter
    long NObjFun = 0;                                   // objective evaluations of the last fit
    bool SingularMatrix = false;  // a model evaluation of the current fit met a singular block
};

}  // namespace zemra
