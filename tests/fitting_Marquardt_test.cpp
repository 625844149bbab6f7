#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "fitting/FitStatistics.h"
#include "fitting/Marquardt.h"

namespace zemra {
namespace {

using Curve = std::function<double(const FitVector&, double)>;

// The parameter vector b(1..) holding the given values.
FitVector Params(const std::vector<double>& values) {
    FitVector b{};
    for (size_t i = 0; i < values.size(); ++i) b[i + 1] = values[i];
    return b;
}

// A least-squares problem driven the way the fit driver drives the engine: the data statistics
// give VarY and FitStep0, then MarquardtIterate runs while the flag is positive, at most 51 times.
// The model is f(k) = g(b, t(k)), one abscissa per point; every parameter is active and
// unbounded unless a test says otherwise.
struct Problem {
    FitProblem p;
    FitVector x;
    FitProgress g;
    PointVector y;
    std::unique_ptr<MarquardtWorkspace> w = std::make_unique<MarquardtWorkspace>();
    int iterations = 0;

    Problem(const std::vector<double>& t, const std::vector<double>& data,
            const std::vector<double>& start, Curve curve)
        : x(Params(start)) {
        p.N = static_cast<int>(start.size());
        p.M = static_cast<int>(data.size());
        p.Y = &y;
        p.Model = [t, curve](const FitVector& b, int m, PointVector& out) {
            for (int k = 1; k <= m; ++k) out(k) = curve(b, t[k - 1]);
        };
        const int m = p.M;
        double mean = 0;
        for (int k = 1; k <= m; ++k) mean += (y(k) = data[k - 1]) / m;
        for (int k = 1; k <= m; ++k) p.VarY += (y(k) - mean) * (y(k) - mean) / m;
        p.FitStep0 = std::sqrt(p.VarY);
        p.XMin.fill(-1e30);
        p.XMax.fill(1e30);
        p.Active.fill(1);
    }
    void Iterate() {
        MarquardtIterate(p, x, g, *w);
        ++iterations;
    }
    void Run() {
        do Iterate();
        while (g.Flag == FitFlag::GoOn && iterations <= 50);
    }
};

std::vector<double> Grid(int count, double first, double step) {
    std::vector<double> t;
    for (int k = 0; k < count; ++k) t.push_back(first + k * step);
    return t;
}

// ---- Plain models with known answers -------------------------------------------------------

const Curve kLine = [](const FitVector& b, double t) { return b[1] + b[2] * t; };
// Current decay I = A exp(-t / tau).
const Curve kDecay = [](const FitVector& b, double t) { return b[1] * std::exp(-t / b[2]); };
// Gaussian peak h exp(-(E - E0)^2 / 2w^2).
const Curve kGaussian = [](const FitVector& b, double e) {
    return b[1] * std::exp(-(e - b[2]) * (e - b[2]) / (2 * b[3] * b[3]));
};

TEST(MarquardtModels, StraightLineIsSolvedByTheFirstGaussNewtonStep) {
    // y = 2.5 + 0.75 t on t = 1..8 plus 0.1 (+1, -1, -1, +1) repeated: the noise is orthogonal
    // to 1 and to t, so the least-squares line is 2.5 + 0.75 t itself.
    const std::vector<double> t = Grid(8, 1, 1);
    const double noise[] = {0.1, -0.1, -0.1, 0.1};
    std::vector<double> data;
    for (int k = 0; k < 8; ++k) data.push_back(2.5 + 0.75 * t[k] + noise[k % 4]);
    Problem p(t, data, {1, 1}, kLine);
    p.Run();
    EXPECT_REL_NEAR(p.x[1], 2.5, 1e-9);
    EXPECT_REL_NEAR(p.x[2], 0.75, 1e-9);
    // The second iteration cannot lower S any further and ends the fit.
    EXPECT_EQ(p.iterations, 2);
    EXPECT_EQ(p.g.Flag, FitFlag::Converged);

    // A parameter without influence keeps its value and leaves the others' fit undisturbed.
    Problem idle(t, data, {1, 7, 1},
                 [](const FitVector& b, double u) { return b[1] + b[3] * u + 0 * b[2]; });
    idle.Run();
    EXPECT_EQ(idle.x[2], 7.0);
    EXPECT_REL_NEAR(idle.x[1], p.x[1], 1e-12);
    EXPECT_REL_NEAR(idle.x[3], p.x[2], 1e-12);
    EXPECT_EQ(idle.g.Flag, p.g.Flag);
}

TEST(MarquardtModels, ExactDataIsRecoveredDownToZeroResidual) {
    const struct {
        const char* name;
        std::vector<double> t;
        Curve g;
        std::vector<double> truth, start;
    } cases[] = {
        // A = 2 uA, tau = 0.5 s, sampled every 50 ms.
        {"decay", Grid(40, 0.05, 0.05), kDecay, {2e-6, 0.5}, {1e-6, 0.8}},
        // On a 10 mV grid.
        {"Gaussian", Grid(101, -0.5, 0.01), kGaussian, {1e-5, -0.05, 0.08}, {0.7e-5, -0.02, 0.1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FitVector truth = Params(c.truth);
        std::vector<double> data;
        for (double u : c.t) data.push_back(c.g(truth, u));
        Problem p(c.t, data, c.start, c.g);
        p.Run();
        EXPECT_EQ(p.g.Flag, FitFlag::Exact);
        // The fit ends once the rms residual is below 1e-5 of the data's spread, which holds each
        // parameter to about that relative accuracy.
        for (int i = 1; i <= p.p.N; ++i) EXPECT_REL_NEAR(p.x[i], truth[i], 1e-4) << "b" << i;
        EXPECT_LT(p.g.S, 1e-10 * p.p.VarY);

        // Started on the answer: one evaluation of the model and no Jacobian, flag -1 and the
        // parameters unchanged.
        int evaluated = 0;
        Problem exact(c.t, data, c.truth, [&](const FitVector& b, double u) {
            ++evaluated;
            return c.g(b, u);
        });
        exact.Iterate();
        EXPECT_EQ(exact.g.Flag, FitFlag::Exact);
        EXPECT_EQ(exact.x, truth);
        EXPECT_EQ(evaluated, exact.p.M);
        EXPECT_EQ(exact.g.NObjFun, 1);
        EXPECT_EQ(exact.g.State, 0);
    }
}

// ---- NIST StRD nonlinear regression problems ---------------------------------------------------

struct Nist {
    const char* name;
    Curve g;
    std::vector<double> y, x;  // the data table's columns
    std::vector<std::vector<double>> starts;
    std::vector<double> certified, sd;
    double rss;
};

// clang-format off
const Nist kMisra1a{
    "Misra1a", [](const FitVector& b, double x) { return b[1] * (1 - std::exp(-b[2] * x)); },
    {10.07, 14.73, 17.94, 23.93, 29.61, 35.18, 40.02, 44.82, 50.76, 55.05, 61.01, 66.40, 75.47,
     81.78},
    {77.6, 114.9, 141.1, 190.8, 239.9, 289.0, 332.8, 378.4, 434.8, 477.3, 536.8, 593.1, 689.1,
     760.0},
    {{500, 1e-4}, {250, 5e-4}},
    {2.3894212918E+02, 5.5015643181E-04},
    {2.7070075241E+00, 7.2668688436E-06},
    1.2455138894E-01};

const Nist kMgh09{
    "MGH09", [](const FitVector& b, double x) {
        return b[1] * (x * x + x * b[2]) / (x * x + x * b[3] + b[4]); },
    {1.957000E-01, 1.947000E-01, 1.735000E-01, 1.600000E-01, 8.440000E-02, 6.270000E-02,
     4.560000E-02, 3.420000E-02, 3.230000E-02, 2.350000E-02, 2.460000E-02},
    {4.0, 2.0, 1.0, 0.5, 0.25, 0.167, 0.125, 0.1, 0.0833, 0.0714, 0.0625},
    {{0.25, 0.39, 0.415, 0.39}},
    {1.9280693458E-01, 1.9128232873E-01, 1.2305650693E-01, 1.3606233068E-01},
    {1.1435312227E-02, 1.9633220911E-01, 8.0842031232E-02, 9.0025542308E-02},
    3.0750560385E-04};
// clang-format on

TEST(MarquardtNist, StopsNearAndIteratesOnToTheCertifiedValues) {
    for (const Nist* c : {&kMisra1a, &kMgh09}) {
        for (const auto& start : c->starts) {
            SCOPED_TRACE(::testing::Message() << c->name << " from b1 = " << start[0]);
            Problem p(c->x, c->y, start, c->g);
            p.Run();
            EXPECT_EQ(p.g.Flag, FitFlag::Converged);
            // The fit stops once an iteration lowers S by less than about 4e-4 of itself, so S
            // ends within a few 1e-4 of the certified minimum and each parameter within a tenth
            // of its certified standard deviation (sqrt(excess * (M - p) / S) deviations).
            EXPECT_GE(p.g.S, c->rss * (1 - 1e-9));
            EXPECT_REL_NEAR(p.g.S, c->rss, 1e-3);
            for (int i = 1; i <= p.p.N; ++i)
                EXPECT_NEAR(p.x[i], c->certified[i - 1], 0.1 * c->sd[i - 1]) << "b" << i;
            // Going on after the stop: the iteration's fixed point is the least-squares minimum.
            for (int i = 0; i < 60; ++i) p.Iterate();
            EXPECT_REL_NEAR(p.g.S, c->rss, 1e-9);
            for (int i = 1; i <= p.p.N; ++i)
                EXPECT_NEAR(p.x[i], c->certified[i - 1], 1e-3 * c->sd[i - 1]) << "b" << i;
            // The standard errors from s^2 (J'J)^-1 with the central-difference Jacobian are the
            // certified standard deviations of the estimates.
            const FitStatistics st = ComputeFitStatistics(p.p, p.x, p.g.S, *p.w);
            EXPECT_EQ(st.Dof, p.p.M - p.p.N);
            for (int i = 1; i <= p.p.N; ++i)
                EXPECT_REL_NEAR(st.P[i].StdError, c->sd[i - 1], 1e-3) << "b" << i;
        }
    }
}

// ---- Edge cases ----------------------------------------------------------------------------

TEST(MarquardtEdges, DerivativeStepIsOnePercentOrFitStep0ForAZeroParameter) {
    std::vector<std::pair<double, double>> trials;  // (p1, p2) of each evaluation of the model
    Problem p(Grid(4, 1, 1), {1, 2, 3, 4}, {0, -2}, [&](const FitVector& b, double t) {
        if (t == 1) trials.push_back({b[1], b[2]});
        return b[1] * t + b[2];
    });
    p.p.FitStep0 = 0.25;
    p.Iterate();
    // The first evaluation at the start values, then the Jacobian at p1 = 0 -+ FitStep0 and at
    // p2 = -2 -+ 1 %.
    const std::vector<std::pair<double, double>> expected = {
        {0, -2}, {0.25, -2}, {-0.25, -2}, {0, -2 + 0.02}, {0, -2 - 0.02}};
    ASSERT_GE(trials.size(), 5u);
    EXPECT_EQ(std::vector(trials.begin(), trials.begin() + 5), expected);
    // The Jacobian's evaluations are not counted as objective evaluations.
    EXPECT_EQ(p.g.NObjFun, static_cast<long>(trials.size()) - 4);
}

TEST(MarquardtEdges, BlockedComponentIsZeroedAndTheOtherStepTaken) {
    // p1 on the first four points and p2 on the last four, data 2 and 3, start 0: the
    // Gauss-Newton step (2, 3) has its first component blocked, either by the upper bound 1 or
    // by holding p1 fixed. With the bounds, the second lands exactly on its bound 3: accepted.
    for (const bool bounded : {true, false}) {
        SCOPED_TRACE(bounded ? "bounded" : "held fixed");
        Problem p(Grid(8, 1, 1), {2, 2, 2, 2, 3, 3, 3, 3}, {0, 0},
                  [](const FitVector& b, double u) { return u <= 4 ? b[1] : b[2]; });
        p.p.FitStep0 = 0.5;
        p.w->Lambda = 123;  // left by an earlier fit
        p.p.XMax[1] = bounded ? 1 : 1e30;
        p.p.XMax[2] = bounded ? 3 : 1e30;
        p.p.Active[1] = bounded;
        p.Iterate();
        EXPECT_EQ(p.x[1], 0.0);
        EXPECT_EQ(p.x[2], 3.0);
        EXPECT_EQ(p.w->DX[1], 0.0);
        EXPECT_EQ(p.w->DX[2], 3.0);
        // S fell from 4 * 4 + 4 * 9 = 52 to 16: the Gauss-Newton step is accepted, and neither
        // NMarq nor Lambda changes.
        EXPECT_EQ(p.g.S, 16.0);
        EXPECT_EQ(p.g.Flag, FitFlag::GoOn);
        EXPECT_EQ(p.g.NMarq, 0);
        EXPECT_EQ(p.w->Lambda, 123.0);
    }
}

TEST(MarquardtEdges, NoParametersEndsWithFlagMinus2AfterLambdaPasses1000) {
    Problem p(Grid(3, 1, 1), {1, 2, 3}, {}, [](const FitVector&, double) { return 0.0; });
    p.w->Lambda = 55;  // left by an earlier fit
    p.Iterate();
    // Every trial repeats S, so the multiplier is 2: Lambda is 1e-4 after the Gauss-Newton
    // trial fails and doubles on each further failure; 1e-4 * 2^24 is the first value above
    // 1000, reached after 25 re-solves. The iteration then divides Lambda by 2.
    EXPECT_EQ(p.g.Flag, FitFlag::Converged);
    EXPECT_EQ(p.g.NMarq, 25);
    EXPECT_EQ(p.g.NObjFun, 1 + 1 + 24);
    EXPECT_REL_NEAR(p.w->Lambda, 1e-4 * std::pow(2.0, 23), 1e-12);
    EXPECT_EQ(p.g.S, 1.0 + 4.0 + 9.0);
}

TEST(MarquardtEdges, FirstFailureSetsLambdaAndNMarq) {
    // f = p with a spike of 10 where |p| < 1e-6: the Gauss-Newton step from p lands on (nearly)
    // 0 and fails, while a step damped by Lambda / (1 + Lambda) stops short of the spike.
    Problem p(Grid(1, 1, 1), {0}, {1},
              [](const FitVector& b, double) { return std::fabs(b[1]) < 1e-6 ? 10 : b[1]; });
    p.p.VarY = 1e-40;
    p.w->Lambda = 123;  // whatever it held
    p.Iterate();
    // Failed Gauss-Newton step: Lambda := 1e-4, NMarq := 1; the damped step to
    // 1 * 1e-4 / (1 + 1e-4) succeeds and Lambda is divided by 2.
    EXPECT_EQ(p.g.NMarq, 1);
    EXPECT_REL_NEAR(p.w->Lambda, 5e-5, 1e-12);
    const double x1 = 1e-4 / (1 + 1e-4);
    EXPECT_REL_NEAR(p.x[1], x1, 1e-9);
    EXPECT_EQ(p.g.Flag, FitFlag::GoOn);

    // The next iteration's first failure keeps Lambda = 5e-5; each later failure multiplies it
    // by 10 (S rose a hundred-millionfold), until 5e-2 stops short of the spike.
    p.Iterate();
    EXPECT_EQ(p.g.NMarq, 5);
    EXPECT_REL_NEAR(p.w->Lambda, 5e-2 / 2, 1e-12);
    EXPECT_REL_NEAR(p.x[1], x1 * 5e-2 / (1 + 5e-2), 1e-9);
}

}  // namespace
}  // namespace zemra
