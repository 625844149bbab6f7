// State of the least-squares fit that outlives one command.
#pragma once

#include <array>

namespace zemra {

inline constexpr int kMaxFitParameters = 20;

// The Marquardt engine's memory between iterations and between fits.
struct MarquardtState {
    std::array<double, kMaxFitParameters + 1> XTrial{};  // trial vector, 1-based
    std::array<double, kMaxFitParameters + 1> DX{};      // step vector, 1-based
    double Lambda = 0;                                   // Marquardt factor
};

struct FitState {
    bool Fitting = false;  // a fit command is running: new curves go to slot 2, no noise
    int NFit = 0;          // number of fitted parameters
    std::array<int, kMaxFitParameters + 1> FitIndex{};  // slot of the i-th fitted parameter
    long NObjFun = 0;                                   // objective evaluations in the current fit
    double FitStep0 = 0;  // derivative step for a parameter that is exactly 0
    MarquardtState Marquardt;
};

}  // namespace zemra
