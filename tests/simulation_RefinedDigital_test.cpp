#include <cmath>
#include <vector>

#include "simulation/RefinedDigital.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr double kRtf = kGasConstant * 298.15 / kFaraday;  // V
constexpr double kFA = 96.4846 * 1e-3;                     // F x 1 mM (mol/cm3) x 1 cm2

// 1 mM of A, D = 1e-5 cm2/s, a fast couple at 0 V, 25 C, planar 1 cm2 unless changed.
struct Experiment {
    ParameterModel m;
    Array1<kRows> X;
    Results res;
    int n = 0;
    DigitalOutcome outcome;

    Experiment(int mechanism, int technique, int electrode = 1) {
        const MechanismInfo& info = kMechanisms[mechanism - 1];
        m.Mechanism = mechanism;
        m.NSpecies = info.NSpecies;
        m.NCharge = info.NCharge;
        m.NHomo = info.NHomo;
        m.Technique = technique;
        m.Electrode = electrode;
        m.FRT = 1 / kRtf;
        m.Area = 1;
        for (int s = 1; s <= 4; ++s) m.D[s] = 1e-5;
        m.C[1] = 1e-3;
        for (int k = 1; k <= 3; ++k) {
            m.ks[k] = 1e4;
            m.Alpha[k] = 0.5;
            m.n[k] = 1;
        }
        m.tdrop = 0.5;
        m.tpulse = 0.05;
        m.Epulse = -0.05;
    }
    // The staircase from `from` to `to` (and back when `cyclic`), then the run.
    Experiment& Sweep(double from, double to, double step, bool cyclic = false) {
        m.Estart = from;
        m.Estep = step;
        const int points = static_cast<int>(std::lround(std::fabs(to - from) / step)) + 1;
        for (int i = 1; i <= points; ++i) X(i) = from + (i - 1) * step * (to > from ? 1 : -1);
        for (int i = 1; cyclic && i <= points; ++i) X(points + i) = X(points - i + 1);
        res.PointsPerSweep = points;
        n = cyclic ? 2 * points : points;
        outcome = RefinedDigitalSimulation(m, 0, X, n, res);
        EXPECT_EQ(outcome.Error, "");
        return *this;
    }
    double I(int i) const { return res.Icomp(i, 1); }
    // The extremum of sign x I over from..to through a parabola on the three highest points:
    // {potential, current}.
    std::pair<double, double> Peak(int from, int to, int sign) const {
        int b = from;
        for (int i = from; i <= to; ++i)
            if (sign * I(i) > sign * I(b)) b = i;
        const double y0 = I(b - 1), y1 = I(b), y2 = I(b + 1),
                     s = 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);
        return {X(b) + s * (X(b + 1) - X(b)), y1 - 0.25 * (y0 - y2) * s};
    }
};

TEST(RefinedDigital, SweepsFollowLinearSweepTheory) {
    const double v = 0.1;  // V/s
    for (double step : {0.0005, 0.001, 0.005, 0.01}) {
        Experiment r(1, 1);
        r.m.tdrop = step / v;
        // Randles-Sevcik: 0.4463 nFAC sqrt(nFvD/RT).
        EXPECT_REL_NEAR(r.Sweep(0.3, -0.3, step).Peak(1, r.n, 1).second,
                        0.4463 * kFA * std::sqrt(v * 1e-5 / kRtf), 0.001)
            << step;
    }
    // Irreversible (ks 1e-6 cm/s, alpha 0.5): 0.4958 nFAC sqrt(alpha nFvD/RT) at
    // E0 - (RT/alpha F)(0.780 + ln(sqrt(D alpha F v / RT) / ks)).
    Experiment r(1, 1);
    r.m.ks[1] = 1e-6;
    r.m.tdrop = 0.001 / v;
    const auto peak = r.Sweep(0.0, -0.8, 0.001).Peak(1, r.n, 1);
    EXPECT_REL_NEAR(peak.second, 0.4958 * kFA * std::sqrt(0.5 * v * 1e-5 / kRtf), 0.003);
    EXPECT_NEAR(peak.first, -2 * kRtf * (0.780 + std::log(std::sqrt(1e-5 * 0.5 * v / kRtf) / 1e-6)),
                0.001);
}

TEST(RefinedDigital, CyclicPeakSeparationFollowsNicholson) {
    // Nicholson's working curve, psi = ks / sqrt(pi D F v / RT), switching 112.5 mV past E0. His
    // 92 mV at psi = 0.75 is about 1 mV high: every grid and step refinement gives 91.0 mV, and
    // the curve through his neighbouring entries (84 mV at 1, 105 mV at 0.5) passes 91 mV too;
    // that entry is held to 1.2 mV.
    const struct {
        double psi, dEp, tol;
    } table[] = {{20, 61, 0.5}, {7, 63, 0.5},    {5, 65, 0.5},    {3, 68, 0.5},    {2, 72, 0.5},
                 {1, 84, 0.5},  {0.75, 92, 1.2}, {0.5, 105, 0.5}, {0.35, 121, 0.5}};
    for (const auto& t : table) {
        Experiment r(1, 1);
        r.m.ks[1] = t.psi * std::sqrt(kPi * 1e-5 * 0.1 / kRtf);
        r.m.tdrop = 0.01;
        r.Sweep(0.3, -0.1125, 0.001, true);
        const int half = r.res.PointsPerSweep;
        const double dEp = r.Peak(half + 1, r.n, -1).first - r.Peak(1, half, 1).first;
        EXPECT_NEAR(1000 * dEp, t.dEp, t.tol) << "psi " << t.psi;
    }
}

// Surface concentration of A for a Nernstian couple at E (E0 = 0, equal D), in units of bulk.
double NernstA(double E) {
    return 1 / (1 + std::exp(-E / kRtf));
}

TEST(RefinedDigital, StepTechniquesFollowTheSuperpositionOfStepResponses) {
    // Planar, Nernstian: i(t) = nFA sqrt(D/pi) sum_k dC_k / sqrt(t - t_k).
    const double scale = kFA * std::sqrt(1e-5 / kPi);
    // DC at tdrop and normal pulse at tpulse on the plateau: Cottrell within 0.5 %.
    Experiment dc(1, 2);
    EXPECT_REL_NEAR(dc.Sweep(0.3, -0.3, 0.05).I(dc.n), scale / std::sqrt(0.5), 0.005);
    Experiment np(1, 3);
    EXPECT_REL_NEAR(np.Sweep(0.3, -0.3, 0.05).I(np.n), scale / std::sqrt(0.05), 0.005);
    // Differential pulse: a step to X held (10 - 1) x tpulse, then X - 50 mV for tpulse.
    Experiment dp(1, 4);
    dp.Sweep(0.2, -0.2, 0.002);
    // Square wave: half periods of tpulse at X + 50 mV then X - 50 mV, from the start.
    Experiment sw(1, 5);
    sw.Sweep(0.2, -0.2, 0.005);
    std::vector<double> surface{1.0};  // surface concentration after each square-wave jump
    double dpPeak = 0, swPeak = 0, dpSim = 0, swSim = 0;
    for (int i = 1; i <= dp.n; ++i) {
        const double x = dp.X(i), hold = 0.45;
        const double d1 = 1 - NernstA(x);
        const double th = scale * (d1 / std::sqrt(hold + 0.05) - d1 / std::sqrt(hold) +
                                   (NernstA(x) - NernstA(x - 0.05)) / std::sqrt(0.05));
        if (th > dpPeak) dpPeak = th, dpSim = dp.I(i);
    }
    auto swCurrent = [&](size_t end) {  // at the end of half period `end` (1-based)
        double sum = 0;
        for (size_t k = 1; k <= end; ++k)
            sum += (surface[k - 1] - surface[k]) / std::sqrt((end - k + 1) * 0.05);
        return scale * sum;
    };
    for (int i = 1; i <= sw.n; ++i) {
        surface.push_back(NernstA(sw.X(i) + 0.05));
        surface.push_back(NernstA(sw.X(i) - 0.05));
        const double th = swCurrent(surface.size() - 1) - swCurrent(surface.size() - 2);
        if (th > swPeak) swPeak = th, swSim = sw.I(i);
    }
    EXPECT_REL_NEAR(dpSim, dpPeak, 0.01);
    EXPECT_REL_NEAR(swSim, swPeak, 0.01);
}

TEST(RefinedDigital, SpheresReachTheirSteadyState) {
    // DC at t = 1e4 s: nFADC (1/r + 1/sqrt(pi D t)), within 0.5 % of the steady nFADC/r.
    for (double r : {1e-4, 1e-3}) {
        Experiment run(1, 2, 2);
        run.m.Radius = r;
        run.m.Area = 4 * kPi * r * r;
        run.m.tdrop = 1e4;
        const double limit = kFA * run.m.Area * 1e-5 * (1 / r + 1 / std::sqrt(kPi * 1e-5 * 1e4));
        EXPECT_REL_NEAR(run.Sweep(0.3, -0.3, 0.1).I(run.n), limit, 0.005) << r;
        if (r > 1e-4) continue;
        // The steady wave I = Ilim / (1 + exp(F E' / RT)) through an uncompensated resistance
        // of 1e7 ohm: each point obeys it at its own effective potential E' = E + I Ru.
        run.outcome = RefinedDigitalSimulation(run.m, 1e7, run.X, run.n, run.res);
        ASSERT_EQ(run.outcome.Error, "");
        for (int i = 1; i <= run.n; ++i) {
            const double I = run.I(i), E = run.X(i) + I * 1e7;
            EXPECT_NEAR(I, limit / (1 + std::exp(E / kRtf)), 0.003 * limit) << run.X(i);
        }
    }
}

TEST(RefinedDigital, CatalyticPlateauIsTheReactionLayerFlux) {
    // EC' (B -> A at k, no back reaction): a DC plateau at k t = 20 is nFAC sqrt(Dk).
    for (double k : {1.0, 10.0, 100.0, 1000.0}) {
        Experiment r(9, 2);
        r.m.kf[1] = k;
        r.m.tdrop = 20 / k;
        EXPECT_REL_NEAR(r.Sweep(0.3, -0.3, 0.1).I(r.n), kFA * std::sqrt(1e-5 * k), 0.005) << k;
    }
}

TEST(RefinedDigital, BadInputEndsTheRunWithAnError) {
    Experiment r(16, 1);
    r.m.C[1] = 0;  // no species at all
    r.m.Estep = 0.01;
    r.X(1) = 0;
    EXPECT_EQ(RefinedDigitalSimulation(r.m, 0, r.X, 1, r.res).Error, kDivisionByZero);
    Experiment big(1, 1);
    big.m.Estep = 0.01;
    big.m.tdrop = 1;
    EXPECT_EQ(RefinedDigitalSimulation(big.m, 0, big.X, 4001, big.res).Error, kSubscriptOutOfRange);
    big.X(1) = 1e6;  // far beyond any exponential
    EXPECT_EQ(RefinedDigitalSimulation(big.m, 0, big.X, 1, big.res).Error, kOverflow);
}

}  // namespace
}  // namespace zemra
