#include <algorithm>
#include <cmath>

#include "TestSupport.h"
#include "numerics/Constants.h"
#include "simulation/RefinedClosedForm.h"

namespace zemra {
namespace {

// 25 C, 1 mM, D = 1e-5 cm2/s, E0 = 0, n = 1; currents per F*A.
constexpr double kD = 1e-5, kC = 1e-3;
const double kFRT = kFaraday / kGasConstant / 298.15;

Couple MakeCouple(double ks, double alpha) {
    Couple c;
    c.ks = ks;
    c.Alpha = alpha;
    c.n = 1;
    c.Cox = kC;
    c.Dox = c.Dred = std::sqrt(kD);
    return c;
}

struct Staircase {
    Array1<kRows> X;
    int n = 0, perSweep = 0;
};

// From `from` towards `to` in steps of `step` V, and back when `cycle`.
Staircase MakeStaircase(double from, double to, double step, bool cycle) {
    Staircase s;
    s.perSweep = static_cast<int>(std::lround(std::fabs(to - from) / step)) + 1;
    const double sign = to > from ? 1 : -1;
    for (int i = 1; i <= s.perSweep; ++i) s.X(i) = from + (i - 1) * step * sign;
    s.n = s.perSweep;
    if (cycle)
        for (int i = 1; i <= s.perSweep; ++i) s.X(s.perSweep + i) = s.X(s.perSweep - i + 1);
    if (cycle) s.n *= 2;
    return s;
}

// Extremum of sign * y over points lo..hi by a parabola through the three highest: {E, y}.
std::pair<double, double> Peak(const Staircase& s, const std::vector<double>& y, int lo, int hi,
                               double sign) {
    int best = lo + 1;
    for (int i = lo + 1; i < hi; ++i)
        if (sign * y[static_cast<size_t>(i)] > sign * y[static_cast<size_t>(best)]) best = i;
    const double a = y[static_cast<size_t>(best - 1)], b = y[static_cast<size_t>(best)],
                 c = y[static_cast<size_t>(best + 1)];
    const double d = 0.5 * (a - c) / (a - 2 * b + c);
    const double h = s.X(best + 1) - s.X(best);
    return {s.X(best) + d * h, b - 0.25 * (a - c) * d};
}

ElectrodeTerms Terms() {
    return ElectrodeTerms{kFRT, 1e-3, 0.01, 100};
}

TEST(RefinedClosedForm, ReversibleSweepPeakIsRandlesSevcik) {
    const double v = 0.1;
    for (double step : {0.0005, 0.001, 0.005, 0.01}) {
        const Staircase s = MakeStaircase(0.3, -0.3, step, false);
        const auto I = ConvolutionSweep(Terms(), MakeCouple(1e4, 0.5), s.X, s.n, v);
        const auto p = Peak(s, I, 1, s.n, 1);
        EXPECT_REL_NEAR(p.second, 0.4463 * kC * std::sqrt(kFRT * v * kD), 1e-3) << step;
        // Ep = E1/2 - 1.109 RT/nF.
        EXPECT_NEAR(p.first, -1.109 / kFRT, 1e-3) << step;
    }
}

TEST(RefinedClosedForm, IrreversibleSweepFollowsTheTotallyIrreversibleWave) {
    const double v = 0.1, ks = 1e-6, alpha = 0.5;
    for (double step : {0.001, 0.005}) {
        const Staircase s = MakeStaircase(0, -0.8, step, false);
        const auto I = ConvolutionSweep(Terms(), MakeCouple(ks, alpha), s.X, s.n, v);
        const auto p = Peak(s, I, 1, s.n, 1);
        const double b = alpha * kFRT * v;
        EXPECT_REL_NEAR(p.second, 0.4958 * kC * std::sqrt(b * kD), 3e-3) << step;
        EXPECT_NEAR(p.first, -(0.780 + std::log(std::sqrt(kD * b) / ks)) / (alpha * kFRT), 1e-3)
            << step;
    }
}

TEST(RefinedClosedForm, CyclicPeakSeparationFollowsNicholson) {
    const double v = 0.1, psi[] = {20, 7, 6, 5, 4, 3, 2, 1, 0.75, 0.5, 0.35};
    const double dEp[] = {61, 63, 64, 65, 66, 68, 72, 84, 92, 105, 121};  // mV, n = 1, 25 C
    for (int k = 0; k < 11; ++k) {
        // psi = ks / sqrt(pi D nFv/RT) for equal diffusion coefficients; switching 112.5 mV past
        // E0.
        const double ks = psi[k] * std::sqrt(kPi * kD * kFRT * v);
        const Staircase s = MakeStaircase(0.3, -0.1125, 0.001, true);
        const auto I = ConvolutionSweep(Terms(), MakeCouple(ks, 0.5), s.X, s.n, v);
        const double cathodic = Peak(s, I, 1, s.perSweep, 1).first;
        const double anodic = Peak(s, I, s.perSweep + 1, s.n, -1).first;
        // Nicholson's 92 mV at psi = 0.75 lies about 1 mV above the exact solution of the same
        // problem (91.0 mV, found by the refined digital road too).
        EXPECT_NEAR(1000 * (anodic - cathodic), dEp[k], psi[k] == 0.75 ? 1.0 : 0.5) << psi[k];
    }
}

// Reversible planar step response of a jump from the bulk to E: Cottrell times the reduced
// fraction at the surface, 1 / (1 + exp(nF(E - E0)/RT)).
double Nernstian(double E, double t) {
    return kC * std::sqrt(kD / (kPi * t)) / (1 + std::exp(kFRT * E));
}

TEST(RefinedClosedForm, PulseTechniquesSuperposeTheirWholeHistory) {
    PulseProgram p{0.3, 0.05, 0.05, 0.95};
    const Couple fast = MakeCouple(1e4, 0.5);
    // Normal pulse from a base potential at the foot: Cottrell at tpulse on the plateau.
    EXPECT_REL_NEAR(NormalPulseSuperposed(Terms(), fast, false, p, -0.5),
                    kC * std::sqrt(kD / (kPi * p.tpulse)), 5e-3);
    // Differential pulse, dE = -50 mV: after the pulse minus the end of the hold, peak over E.
    const Staircase s = MakeStaircase(0.3, -0.3, 0.005, false);
    double dpv = 0, dpvExact = 0;
    for (int i = 1; i <= s.n; ++i) {
        const double E = s.X(i), dE = -0.05;
        dpv = std::max(dpv, DiffPulseSuperposed(Terms(), fast, false, p, E, dE));
        dpvExact = std::max(dpvExact, Nernstian(E, 1.0) + Nernstian(E + dE, 0.05) -
                                          Nernstian(E, 0.05) - Nernstian(E, 0.95));
    }
    EXPECT_REL_NEAR(dpv, dpvExact, 1e-2);
    // Square wave, 10 Hz, 50 mV, 5 mV: every half period of the history, reverse minus forward.
    const auto sw = SquareWaveSuperposed(Terms(), fast, false, p, s.X, s.n);
    double swv = 0, swvExact = 0;
    for (int i = 1; i <= s.n; ++i) {
        double at[2] = {0, 0};
        for (int half = 0; half < 2; ++half) {
            const int k = 2 * i - 2 + half;  // half period sampled at (k + 1) tpulse
            for (int j = 0; j <= k; ++j) {
                const double Ej = s.X(j / 2 + 1) + (j % 2 ? 0.05 : -0.05);
                const double Eprev =
                    j == 0 ? 1.0 : s.X((j - 1) / 2 + 1) + ((j - 1) % 2 ? 0.05 : -0.05);
                at[half] +=
                    Nernstian(Ej, (k + 1 - j) * 0.05) - Nernstian(Eprev, (k + 1 - j) * 0.05);
            }
        }
        swvExact = std::min(swvExact, at[1] - at[0]);
        swv = std::min(swv, sw[static_cast<size_t>(i)]);
    }
    EXPECT_REL_NEAR(swv, swvExact, 1e-2);
}

}  // namespace
}  // namespace zemra
