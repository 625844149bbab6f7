// How well the data determine the fitted parameters: standard errors from the covariance
// s^2 (J'J)^-1 at the solution, with s^2 = S / (M - N) and J by the engine's own central
// differences, 95 % confidence intervals from Student's t with M - N degrees of freedom, and the
// correlation matrix.
#pragma once

#include <array>
#include <string>

#include "fitting/Marquardt.h"
#include "platform/ResultWindow.h"

namespace zemra {

struct ParameterStatistics {
    bool Fixed = false;       // held fixed: inactive, or the data do not move it (J'J diagonal 0)
    bool OnBound = false;     // ended exactly on its lower or upper bound
    bool Determined = false;  // a standard error could be computed
    double StdError = 0;      // sqrt of the covariance diagonal, in the parameter's unit
    double Lower = 0, Upper = 0;  // 95 % confidence interval x -/+ t_0.975 StdError
};

struct FitStatistics {
    int Dof = 0;          // degrees of freedom M - N
    double TFactor = 0;   // t_0.975 with Dof degrees of freedom (0 when Dof < 1)
    std::string Problem;  // why no standard errors were computed, or ""
    std::array<ParameterStatistics, kMaxFitParameters + 1> P{};  // parameters 1..N
    // Correlation of parameters i and j (1..N); 0 where either is fixed or undetermined.
    std::array<std::array<double, kMaxFitParameters + 1>, kMaxFitParameters + 1> Correlation{};
};

// The statistics of the solution x with sum of squares s. Builds the Jacobian at x (2N model
// evaluations) and evaluates the model once more at x, so that whatever the model leaves behind
// (a simulated curve) is that of the solution again. Raises RuntimeError when a model
// evaluation does.
FitStatistics ComputeFitStatistics(const FitProblem& p, const FitVector& x, double s,
                                   MarquardtWorkspace& w);

// Prints the statistics after a fit report: the degrees of freedom, one line per parameter
// (number, standard error, the interval's ends, "on bound" or "held fixed"), the correlation
// matrix.
void PrintFitStatistics(ResultWindow& r, int n, const FitStatistics& st);

}  // namespace zemra
