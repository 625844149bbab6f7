#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "fitting/FitDriver.h"
#include "fitting/FitStatistics.h"
#include "model/Collection.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Standard normal deviates by the Box-Muller transform from a Mersenne twister with a fixed
// seed: the same noise on every run and every standard library.
struct Gauss {
    std::mt19937 bits{20261207u};
    double Uniform() { return (static_cast<double>(bits()) + 0.5) / 4294967296.0; }
    double Next() { return std::sqrt(-2 * std::log(Uniform())) * std::cos(2 * M_PI * Uniform()); }
};

TEST(FitStatistics, NoisyVoltammogramHoldsTheTrueValuesInsideTheIntervals) {
    // The sheet's cyclic voltammogram (C of A 9.996e-4 M after pre-equilibration, E0' = 0.1 V)
    // with Gaussian noise of 1 % of its largest current added; C of A and E0' are fitted from
    // 20 % and 20 mV away.
    test::Bench b;
    Workbench& wb = b.wb;
    CollectParameters(wb.Model, wb.Input);
    test::Simulate(wb);
    const double trueC = wb.Model.C[1], trueE = wb.Model.Eformal[1];
    FitProblem p;
    p.M = wb.Curves.NoOfData;
    PointVector y;
    double peak = 0;
    for (int k = 1; k <= p.M; ++k) peak = std::fmax(peak, std::fabs(wb.Curves.Y(k, 1)));
    const double sigma = 0.01 * peak;
    Gauss noise;
    double mean = 0;
    for (int k = 1; k <= p.M; ++k) mean += (y(k) = wb.Curves.Y(k, 1) + sigma * noise.Next()) / p.M;
    for (int k = 1; k <= p.M; ++k) p.VarY += (y(k) - mean) * (y(k) - mean) / p.M;
    p.FitStep0 = std::sqrt(p.VarY);
    p.N = 2;
    p.Y = &y;
    p.XMin.fill(-1);
    p.XMax.fill(1);
    p.Active.fill(1);
    wb.Fit.Fitting = true;
    wb.Fit.NFit = 2;
    wb.Fit.FitIndex[1] = 1;   // C of A
    wb.Fit.FitIndex[2] = 11;  // E0' of reaction 1
    p.Model = [&wb](const FitVector& x, int m, PointVector& f) { FitModelCurve(wb, x, m, f); };
    FitVector x{0, 1.2 * trueC, trueE + 0.02};
    FitProgress g;
    auto w = std::make_unique<MarquardtWorkspace>();
    for (int it = 0; it < 51 && g.Flag == FitFlag::GoOn; ++it) MarquardtIterate(p, x, g, *w);

    const FitStatistics st = ComputeFitStatistics(p, x, g.S, *w);
    EXPECT_EQ(st.Dof, p.M - 2);
    // s^2 estimates the noise variance: its relative spread is sqrt(2 / (M - N)), 13 % for 121
    // points.
    EXPECT_REL_NEAR(g.S / st.Dof, sigma * sigma, 0.3);
    const double truth[] = {0, trueC, trueE};
    for (int i = 1; i <= 2; ++i) {
        EXPECT_TRUE(st.P[i].Determined && !st.P[i].Fixed && !st.P[i].OnBound);
        EXPECT_LT(st.P[i].Lower, truth[i]) << i;
        EXPECT_GT(st.P[i].Upper, truth[i]) << i;
        EXPECT_REL_NEAR(st.Correlation[i][i], 1, 1e-12);
    }
    EXPECT_LT(std::fabs(st.Correlation[1][2]), 1.0);
    // The model's last evaluation is the solution again: slot 2 holds the fitted curve.
    PointVector f;
    p.Model(x, p.M, f);
    for (int k = 1; k <= p.M; k += 37) EXPECT_EQ(wb.Curves.Y(k, 2), f(k));
}

TEST(FitStatistics, MarksParametersHeldFixedOrOnABoundAndNeedsMorePointsThanParameters) {
    // y = b1 + b2 t over four points with b3 not in the model: b3 is held fixed; b2 starts and
    // stays on its upper bound.
    PointVector y;
    for (int k = 1; k <= 4; ++k) y(k) = 1 + 2 * k + (k % 2 ? 0.1 : -0.1);
    FitProblem p;
    p.N = 3;
    p.M = 4;
    p.Y = &y;
    p.XMin.fill(-10);
    p.XMax.fill(10);
    p.XMax[2] = 2;
    p.Active.fill(1);
    p.FitStep0 = 1;
    p.Model = [](const FitVector& b, int m, PointVector& f) {
        for (int k = 1; k <= m; ++k) f(k) = b[1] + b[2] * k;
    };
    auto w = std::make_unique<MarquardtWorkspace>();
    const FitVector x{0, 1, 2, 5};
    const FitStatistics st = ComputeFitStatistics(p, x, 0.16, *w);
    EXPECT_TRUE(st.P[3].Fixed);
    EXPECT_FALSE(st.P[3].Determined);
    EXPECT_TRUE(st.P[2].OnBound);
    // Straight line through t = 1..4: var(b2) = s^2 / sum (t - 2.5)^2 = (0.16 / 1) / 5.
    EXPECT_REL_NEAR(st.P[2].StdError, std::sqrt(0.16 / 5), 1e-9);
    EXPECT_REL_NEAR(st.P[2].Upper - st.P[2].Lower, 2 * 12.7062 * std::sqrt(0.16 / 5), 1e-4);
    p.M = 3;
    EXPECT_FALSE(ComputeFitStatistics(p, x, 0.16, *w).Problem.empty());
}

}  // namespace
}  // namespace zemra
