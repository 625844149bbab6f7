#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "fitting/Marquardt.h"

namespace zemra {
namespace {

constexpr double kWide = 1e30;

// A least-squares problem driven the way the fit driver drives the engine: the data statistics
// give VarY and FitStep0, then MarquardtIterate runs while the flag is positive, at most 51 times.
struct Problem {
    int n = 0;
    int m = 0;
    FitVector x{}, xmin{}, xmax{};
    ActiveFlags active{};
    PointVector y, f;
    double s = 0, varY = 0;
    int state = 0, flag = 0, nMarq = 0, iterations = 0;
    FitState fit;
    FitModel model;

    // Model of one abscissa per point: f(k) = g(b, t(k)).
    Problem(const std::vector<double>& t, const std::vector<double>& data,
            std::vector<double> start, const std::function<double(const FitVector&, double)>& g)
        : Problem(static_cast<int>(start.size()), data,
                  [t, g](const FitVector& b, int m, PointVector& out) {
                      for (int k = 1; k <= m; ++k) out(k) = g(b, t[static_cast<size_t>(k - 1)]);
                  }) {
        for (int i = 1; i <= n; ++i) x[i] = start[static_cast<size_t>(i - 1)];
    }

    Problem(int parameters, const std::vector<double>& data, FitModel fn)
        : n(parameters), m(static_cast<int>(data.size())), model(std::move(fn)) {
        double mean = 0;
        for (int k = 1; k <= m; ++k) {
            y(k) = data[static_cast<size_t>(k - 1)];
            mean += y(k) / m;
        }
        for (int k = 1; k <= m; ++k) varY += (y(k) - mean) * (y(k) - mean) / m;
        fit.FitStep0 = std::sqrt(varY);
        for (int i = 1; i <= kMaxFitParameters; ++i) {
            xmin[i] = -kWide;
            xmax[i] = kWide;
            active[i] = 1;
        }
    }

    void Iterate() {
        MarquardtIterate(n, x, m, f, y, s, state, flag, nMarq, active, xmin, xmax, varY, fit,
                         model);
        ++iterations;
    }
    void Run() {
        do Iterate();
        while (flag > 0 && iterations <= 50);
    }
};

std::vector<double> Grid(int count, double first, double step) {
    std::vector<double> t;
    for (int k = 0; k < count; ++k) t.push_back(first + k * step);
    return t;
}

// ---- Plain models with known answers -------------------------------------------------------

TEST(MarquardtModels, StraightLineMatchesClosedFormRegression) {
    const std::vector<double> t = Grid(10, 1, 1);
    std::vector<double> data;
    for (size_t k = 0; k < t.size(); ++k) data.push_back(2.5 + 0.75 * t[k] + (k % 2 ? 0.1 : -0.1));
    // Least-squares line from the normal equations of y = a + b t.
    double tm = 0, ym = 0;
    for (size_t k = 0; k < t.size(); ++k) tm += t[k] / 10, ym += data[k] / 10;
    double sxy = 0, sxx = 0;
    for (size_t k = 0; k < t.size(); ++k) {
        sxy += (t[k] - tm) * (data[k] - ym);
        sxx += (t[k] - tm) * (t[k] - tm);
    }
    const double slope = sxy / sxx, intercept = ym - slope * tm;

    Problem p(t, data, {1, 1}, [](const FitVector& b, double u) { return b[1] + b[2] * u; });
    p.Run();
    EXPECT_REL_NEAR(p.x[1], intercept, 1e-9);
    EXPECT_REL_NEAR(p.x[2], slope, 1e-9);
    // A linear model is solved by its first Gauss-Newton step; the second iteration cannot
    // lower S any further and ends the fit.
    EXPECT_EQ(p.iterations, 2);
    EXPECT_EQ(p.flag, kFlagConverged);
}

struct ExactCase {
    std::string name;
    std::vector<double> t;
    std::function<double(const FitVector&, double)> g;
    std::vector<double> truth, start;
};

class MarquardtExactData : public ::testing::TestWithParam<ExactCase> {};

TEST_P(MarquardtExactData, RecoversTheParametersAndEndsOnZeroResidual) {
    const ExactCase& c = GetParam();
    FitVector truth{};
    for (size_t i = 0; i < c.truth.size(); ++i) truth[i + 1] = c.truth[i];
    std::vector<double> data;
    for (double u : c.t) data.push_back(c.g(truth, u));

    Problem p(c.t, data, c.start, c.g);
    p.Run();
    EXPECT_EQ(p.flag, kFlagExact);
    // The fit ends once the rms residual is below 1e-5 of the data's spread, which holds each
    // parameter to about that relative accuracy.
    for (int i = 1; i <= p.n; ++i) EXPECT_REL_NEAR(p.x[i], truth[i], 1e-4) << "parameter " << i;
    EXPECT_LT(p.s, 1e-10 * p.varY);
}

INSTANTIATE_TEST_SUITE_P(
    Curves, MarquardtExactData,
    ::testing::Values(
        // Current decay I = A exp(-t / tau): A = 2 uA, tau = 0.5 s, sampled every 50 ms.
        ExactCase{"ExponentialDecay",
                  Grid(40, 0.05, 0.05),
                  [](const FitVector& b, double u) { return b[1] * std::exp(-u / b[2]); },
                  {2e-6, 0.5},
                  {1e-6, 0.8}},
        // Gaussian peak h exp(-(E - E0)^2 / 2w^2) on a 10 mV grid.
        ExactCase{"GaussianPeak",
                  Grid(101, -0.5, 0.01),
                  [](const FitVector& b, double u) {
                      return b[1] * std::exp(-(u - b[2]) * (u - b[2]) / (2 * b[3] * b[3]));
                  },
                  {1e-5, -0.05, 0.08},
                  {0.7e-5, -0.02, 0.1}}),
    [](const auto& info) { return info.param.name; });

// ---- NIST StRD nonlinear regression problems ---------------------------------------------------

struct NistCase {
    std::string name;
    std::vector<double> x, y;
    std::function<double(const FitVector&, double)> g;
    std::vector<double> start, certified, sd;
    double certifiedRss;
};

class MarquardtNist : public ::testing::TestWithParam<NistCase> {};

TEST_P(MarquardtNist, StopsNearTheCertifiedValues) {
    const NistCase& c = GetParam();
    Problem p(c.x, c.y, c.start, c.g);
    p.Run();
    EXPECT_EQ(p.flag, kFlagConverged);
    // The fit stops once an iteration lowers S by less than about 4e-4 of itself, so S ends within
    // a few 1e-4 of the certified minimum and each parameter within a tenth of its certified
    // standard deviation (sqrt(excess * (M - p) / S) standard deviations).
    EXPECT_GE(p.s, c.certifiedRss * (1 - 1e-9));
    EXPECT_REL_NEAR(p.s, c.certifiedRss, 1e-3);
    for (int i = 1; i <= p.n; ++i) {
        const size_t k = static_cast<size_t>(i - 1);
        EXPECT_NEAR(p.x[i], c.certified[k], 0.1 * c.sd[k]) << "b" << i;
    }
}

TEST_P(MarquardtNist, IteratedOnReachesTheCertifiedMinimum) {
    const NistCase& c = GetParam();
    Problem p(c.x, c.y, c.start, c.g);
    // Going on after the stop: the iteration's fixed point is the least-squares minimum.
    for (int i = 0; i < 60; ++i) p.Iterate();
    EXPECT_REL_NEAR(p.s, c.certifiedRss, 1e-9);
    for (int i = 1; i <= p.n; ++i) {
        const size_t k = static_cast<size_t>(i - 1);
        EXPECT_NEAR(p.x[i], c.certified[k], 1e-3 * c.sd[k]) << "b" << i;
    }
}

double Misra1a(const FitVector& b, double x) {
    return b[1] * (1 - std::exp(-b[2] * x));
}
double Mgh09(const FitVector& b, double x) {
    return b[1] * (x * x + x * b[2]) / (x * x + x * b[3] + b[4]);
}

const std::vector<double> kMisra1aX = {77.6,  114.9, 141.1, 190.8, 239.9, 289.0, 332.8,
                                       378.4, 434.8, 477.3, 536.8, 593.1, 689.1, 760.0};
const std::vector<double> kMisra1aY = {10.07, 14.73, 17.94, 23.93, 29.61, 35.18, 40.02,
                                       44.82, 50.76, 55.05, 61.01, 66.40, 75.47, 81.78};
const std::vector<double> kMisra1aB = {2.3894212918E+02, 5.5015643181E-04};
const std::vector<double> kMisra1aSd = {2.7070075241E+00, 7.2668688436E-06};
constexpr double kMisra1aRss = 1.2455138894E-01;

const std::vector<double> kMgh09X = {4.0,   2.0, 1.0,    0.5,    0.25,  0.167,
                                     0.125, 0.1, 0.0833, 0.0714, 0.0625};
const std::vector<double> kMgh09Y = {1.957000E-01, 1.947000E-01, 1.735000E-01, 1.600000E-01,
                                     8.440000E-02, 6.270000E-02, 4.560000E-02, 3.420000E-02,
                                     3.230000E-02, 2.350000E-02, 2.460000E-02};
const std::vector<double> kMgh09B = {1.9280693458E-01, 1.9128232873E-01, 1.2305650693E-01,
                                     1.3606233068E-01};
const std::vector<double> kMgh09Sd = {1.1435312227E-02, 1.9633220911E-01, 8.0842031232E-02,
                                      9.0025542308E-02};
constexpr double kMgh09Rss = 3.0750560385E-04;

INSTANTIATE_TEST_SUITE_P(StRD, MarquardtNist,
                         ::testing::Values(NistCase{"Misra1aStart1",
                                                    kMisra1aX,
                                                    kMisra1aY,
                                                    Misra1a,
                                                    {500, 1e-4},
                                                    kMisra1aB,
                                                    kMisra1aSd,
                                                    kMisra1aRss},
                                           NistCase{"Misra1aStart2",
                                                    kMisra1aX,
                                                    kMisra1aY,
                                                    Misra1a,
                                                    {250, 5e-4},
                                                    kMisra1aB,
                                                    kMisra1aSd,
                                                    kMisra1aRss},
                                           NistCase{"Mgh09Start2",
                                                    kMgh09X,
                                                    kMgh09Y,
                                                    Mgh09,
                                                    {0.25, 0.39, 0.415, 0.39},
                                                    kMgh09B,
                                                    kMgh09Sd,
                                                    kMgh09Rss}),
                         [](const auto& info) { return info.param.name; });

// ---- Edge cases
// ----------------------------------------------------------------------------------

// f(k) = p1 on the first half of the points and p2 on the second: each parameter moves its own
// half. With zero start values the derivative step is FitStep0, so the numbers below are exact.
FitModel Halves() {
    return [](const FitVector& b, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = k <= m / 2 ? b[1] : b[2];
    };
}

TEST(MarquardtEdges, ZeroParameterIsDifferentiatedWithFitStep0) {
    std::vector<double> trials;
    Problem p(1, {1, 2, 3, 4}, [&](const FitVector& b, int m, PointVector& out) {
        trials.push_back(b[1]);
        for (int k = 1; k <= m; ++k) out(k) = b[1] * k;
    });
    p.fit.FitStep0 = 0.25;
    p.Iterate();
    // The first evaluation at the start value, then the Jacobian at 0 + h and 0 - h.
    ASSERT_GE(trials.size(), 3u);
    EXPECT_EQ(trials[0], 0.0);
    EXPECT_EQ(trials[1], 0.25);
    EXPECT_EQ(trials[2], -0.25);
    // Two evaluations per parameter for the Jacobian are not counted as objective evaluations.
    EXPECT_EQ(p.fit.NObjFun, static_cast<long>(trials.size()) - 2);
}

TEST(MarquardtEdges, NonZeroParameterIsDifferentiatedWithOnePercent) {
    std::vector<double> trials;
    Problem p(1, {1, 2, 3, 4}, [&](const FitVector& b, int m, PointVector& out) {
        trials.push_back(b[1]);
        for (int k = 1; k <= m; ++k) out(k) = b[1] * k;
    });
    p.x[1] = -2;
    p.Iterate();
    ASSERT_GE(trials.size(), 3u);
    EXPECT_EQ(trials[1], -2 + 0.02);
    EXPECT_EQ(trials[2], -2 - 0.02);
}

TEST(MarquardtEdges, TrialExactlyOnABoundIsAccepted) {
    // Data 2 everywhere, start 0, upper bound 2: the Gauss-Newton step lands exactly on it.
    Problem p(1, {2, 2, 2, 2}, [](const FitVector& b, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = b[1];
    });
    p.varY = 1;
    p.fit.FitStep0 = 0.5;
    p.xmax[1] = 2;
    p.Iterate();
    EXPECT_EQ(p.x[1], 2.0);
    EXPECT_EQ(p.flag, kFlagExact);
    EXPECT_EQ(p.s, 0.0);
}

TEST(MarquardtEdges, ComponentBeyondABoundIsZeroedAndTheOthersStand) {
    // Halves with data 2 and 3: the step (2, 3) would take p1 beyond its upper bound 1.
    Problem p(2, {2, 2, 2, 2, 3, 3, 3, 3}, Halves());
    p.fit.FitStep0 = 0.5;
    p.xmax[1] = 1;
    p.Iterate();
    EXPECT_EQ(p.x[1], 0.0);
    EXPECT_EQ(p.x[2], 3.0);
    EXPECT_EQ(p.fit.Marquardt.DX[1], 0.0);
    EXPECT_EQ(p.fit.Marquardt.DX[2], 3.0);
    EXPECT_EQ(p.s, 4 * 2.0 * 2.0);  // S_old = 4 * 4 + 4 * 9 = 52 fell to 16: accepted
    EXPECT_EQ(p.flag, kFlagGoOn);
    EXPECT_EQ(p.nMarq, 0);
}

TEST(MarquardtEdges, ParameterWithoutInfluenceKeepsItsValueAndDisturbsNothing) {
    const std::vector<double> t = Grid(8, 0.1, 0.1);
    std::vector<double> data;
    for (size_t k = 0; k < t.size(); ++k) data.push_back(1 - 2 * t[k] + (k % 3 == 0 ? 0.05 : 0));
    auto line = [](const FitVector& b, double u) { return b[1] + b[2] * u; };
    auto lineWithIdle = [](const FitVector& b, double u) { return b[1] + b[3] * u + 0 * b[2]; };

    Problem plain(t, data, {0.5, -1}, line);
    plain.Run();
    Problem idle(t, data, {0.5, 7, -1}, lineWithIdle);
    idle.Run();
    EXPECT_EQ(idle.x[2], 7.0);
    EXPECT_REL_NEAR(idle.x[1], plain.x[1], 1e-12);
    EXPECT_REL_NEAR(idle.x[3], plain.x[2], 1e-12);
    EXPECT_EQ(idle.flag, plain.flag);
}

TEST(MarquardtEdges, InactiveParameterIsHeldFixed) {
    Problem p(2, {2, 2, 2, 2, 3, 3, 3, 3}, Halves());
    p.fit.FitStep0 = 0.5;
    p.active[1] = 0;
    p.Iterate();
    EXPECT_EQ(p.x[1], 0.0);
    EXPECT_EQ(p.x[2], 3.0);
}

TEST(MarquardtEdges, NoParametersEndsWithFlagMinus2AfterLambdaPasses1000) {
    Problem p(0, {1, 2, 3}, [](const FitVector&, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = 0;
    });
    p.fit.Marquardt.Lambda = 55;  // left by an earlier fit
    p.Iterate();
    // Every trial repeats S, so the multiplier is 2: Lambda is 1e-4 after the Gauss-Newton
    // trial fails and doubles on each further failure; 1e-4 * 2^24 is the first value above
    // 1000, reached after 25 re-solves. The iteration then divides Lambda by 2.
    EXPECT_EQ(p.flag, kFlagConverged);
    EXPECT_EQ(p.nMarq, 25);
    EXPECT_EQ(p.fit.NObjFun, 1 + 1 + 24);
    EXPECT_REL_NEAR(p.fit.Marquardt.Lambda, 1e-4 * std::pow(2.0, 23), 1e-12);
    EXPECT_EQ(p.s, 1.0 + 4.0 + 9.0);
}

TEST(MarquardtEdges, ExactStartEndsWithFlagMinus1AndUnchangedParameters) {
    int calls = 0;
    Problem p(2, {1, 1, 1, 5, 5, 5}, [&](const FitVector& b, int m, PointVector& out) {
        ++calls;
        for (int k = 1; k <= m; ++k) out(k) = k <= 3 ? b[1] : b[2];
    });
    p.x[1] = 1;
    p.x[2] = 5;
    p.Iterate();
    EXPECT_EQ(p.flag, kFlagExact);
    EXPECT_EQ(p.x[1], 1.0);
    EXPECT_EQ(p.x[2], 5.0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p.fit.NObjFun, 1);
    EXPECT_EQ(p.state, 0);
}

// f = p with a spike of 10 where |p| < 1e-6: the Gauss-Newton step from p lands on (nearly) 0
// and fails, while a step damped by Lambda / (1 + Lambda) stops short of the spike.
FitModel SpikeAtZero() {
    return [](const FitVector& b, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = std::fabs(b[1]) < 1e-6 ? 10 : b[1];
    };
}

TEST(MarquardtEdges, GaussNewtonSuccessLeavesNMarqAndLambda) {
    Problem p(1, {0}, [](const FitVector& b, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = b[1] - 0.5;
    });
    p.x[1] = 3;
    p.fit.Marquardt.Lambda = 123;
    p.Iterate();
    EXPECT_EQ(p.nMarq, 0);
    EXPECT_EQ(p.fit.Marquardt.Lambda, 123.0);
    EXPECT_NEAR(p.x[1], 0.5, 1e-12);
}

TEST(MarquardtEdges, FirstFailureSetsLambdaAndNMarq) {
    Problem p(1, {0}, SpikeAtZero());
    p.varY = 1e-40;
    p.x[1] = 1;
    p.fit.Marquardt.Lambda = 123;  // whatever it held
    p.Iterate();
    // Failed Gauss-Newton step: Lambda := 1e-4, NMarq := 1; the damped step to
    // 1 * 1e-4 / (1 + 1e-4) succeeds and Lambda is divided by 2.
    EXPECT_EQ(p.nMarq, 1);
    EXPECT_REL_NEAR(p.fit.Marquardt.Lambda, 5e-5, 1e-12);
    EXPECT_REL_NEAR(p.x[1], 1e-4 / (1 + 1e-4), 1e-9);
    EXPECT_EQ(p.flag, kFlagGoOn);

    // The next iteration's first failure keeps Lambda = 5e-5; each later failure multiplies it
    // by 10 (S rose a hundred-millionfold), until 5e-2 stops short of the spike.
    p.Iterate();
    EXPECT_EQ(p.nMarq, 5);
    EXPECT_REL_NEAR(p.fit.Marquardt.Lambda, 5e-2 / 2, 1e-12);
    const double x1 = 1e-4 / (1 + 1e-4);
    EXPECT_REL_NEAR(p.x[1], x1 * 5e-2 / (1 + 5e-2), 1e-9);
}

TEST(MarquardtEdges, ZeroDerivativeStepRaisesDivisionByZero) {
    // A constant curve gives FitStep0 = 0; a parameter at exactly 0 then has h = 0.
    Problem p(1, {3, 3, 3}, [](const FitVector& b, int m, PointVector& out) {
        for (int k = 1; k <= m; ++k) out(k) = b[1];
    });
    ASSERT_EQ(p.fit.FitStep0, 0.0);
    try {
        p.Iterate();
        FAIL() << "no run-time error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Description(), kDivisionByZero);
    }
}

}  // namespace
}  // namespace zemra
