#include "simulation/RefinedClosedForm.h"

#include <algorithm>
#include <cmath>

#include "numerics/Constants.h"
#include "platform/RuntimeError.h"
#include "simulation/DigitalSimulation.h"

namespace zemra {
namespace {

constexpr double kMaxSweepStep = 0.02;  // largest potential change per time step, nF/RT units
constexpr int kTimeStepBudget = 16000;  // time steps of one sweep beyond which the sub-steps
                                        // per point are reduced (the cost is quadratic)

// Butler-Volmer rate constants (cm/s) at E and the kinetic terms built from them.
struct Kinetics {
    double J = 0;       // n (kf Cox - kb Cred): the flux from the bulk at t = 0, per F*A
    double lambda = 0;  // kf / sqrt(Dox) + kb / sqrt(Dred), 1/sqrt(s)
};

Kinetics KineticsAt(const ElectrodeTerms& el, const Couple& c, double E) {
    const double eta = c.n * el.FRT * (E - c.E0);
    const double kf = Finite(c.ks * Exp(-c.Alpha * eta));
    const double kb = Finite(c.ks * Exp((1 - c.Alpha) * eta));
    return {Finite(c.n * (kf * c.Cox - kb * c.Cred)), Finite(Div(kf, c.Dox) + Div(kb, c.Dred))};
}

// Product-integration weights of the semi-integral for a flux linear between instants p h and
// (p + 1) h before the present: int over that interval of the hat function of the nearer (B) and
// the farther (A) instant against u^-1/2, in units of sqrt(h). Written without the cancellation
// of (p + 1)^3/2 - p^3/2 so that they stay exact for large p.
double WeightFar(double p) {
    const double d = 1 / (std::sqrt(p + 1) + std::sqrt(p));
    return 2.0 / 3.0 * d * (1 + (p > 0 ? p / (std::sqrt(p * p + p) + p) : 0.0));
}
double WeightNear(double p) {
    const double d = 1 / (std::sqrt(p + 1) + std::sqrt(p));
    return 2.0 / 3.0 * d * (2 - (p > 0 ? p / (std::sqrt(p * p + p) + p) : 0.0));
}

// The ramp the staircase stands for, cut into equal time steps: the potential at every instant
// k = 0..M (k = 0 is the start from the bulk) and, per point i, the instant at which it is sampled.
struct Ramp {
    std::vector<double> E;
    std::vector<int> sampleAt;
    double h = 0;  // time step, s
};

Ramp BuildRamp(const Couple& c, double FRT, const Array1<kRows>& X, int noOfData, double rate) {
    if (noOfData < 1 || noOfData > kMaxPoints) Raise(kSubscriptOutOfRange);
    const double step = noOfData > 1 ? X(2) - X(1) : 0.0;
    if (!(rate > 0)) Raise(kDivisionByZero);
    // Sub-steps per potential step so that no time step moves the potential by more than
    // kMaxSweepStep RT/nF.
    const double reduced = std::fabs(step) * std::fabs(c.n) * FRT;
    const int q = static_cast<int>(std::ceil(Finite(reduced / kMaxSweepStep)) + 0.5);
    int perStep = q < 1 ? 1 : q;
    if (perStep * noOfData > kTimeStepBudget) perStep = std::max(1, kTimeStepBudget / noOfData);
    Ramp r;
    r.h = Div(Div(std::fabs(step), rate), perStep);
    r.E.push_back(X(1) - step);
    r.sampleAt.assign(static_cast<size_t>(noOfData) + 1, 0);
    double from = X(1) - step;
    for (int i = 1; i <= noOfData; ++i) {
        const double to = X(i);
        // Whole steps of the interval (a repeated potential has none).
        const int steps =
            step == 0 ? 0 : static_cast<int>(std::lround(std::fabs((to - from) / step) * perStep));
        for (int s = 1; s <= steps; ++s) r.E.push_back(from + (to - from) * s / steps);
        r.sampleAt[static_cast<size_t>(i)] = static_cast<int>(r.E.size()) - 1;
        from = to;
    }
    if (r.E.size() > 1 && !(r.h > 0)) Raise(kDivisionByZero);
    return r;
}

// Flux (per F*A) at every instant of the ramp from the integral equation: with the semi-integral
// S_m = sqrt(h/pi) (B0 f_m + R_m), f_m = J_m - lambda_m S_m gives f_m directly.
std::vector<double> SolveFlux(const ElectrodeTerms& el, const Couple& c, const Ramp& r) {
    const size_t M = r.E.size() - 1;
    std::vector<double> far(M + 1), near(M + 1), f(M + 1);
    for (size_t p = 0; p <= M; ++p) {
        far[p] = WeightFar(static_cast<double>(p));
        near[p] = WeightNear(static_cast<double>(p));
    }
    // Weight of an inner instant p steps back: near weight of the interval after it plus far
    // weight of the interval before it.
    std::vector<double> inner(M + 1);
    for (size_t p = 1; p <= M; ++p) inner[p] = near[p] + far[p - 1];
    const double g = std::sqrt(r.h / kPi);
    // The semi-integral is of the molar flux. The flux right at the start is the instantaneous
    // Butler-Volmer one, whose transient lasts D / lambda^2, far less than a step for fast
    // kinetics; the first interval therefore holds the flux of its end (constant), every later
    // one is linear between its ends.
    const double n = c.n;
    for (size_t m = 1; m <= M; ++m) {
        const Kinetics k = KineticsAt(el, c, r.E[m]);
        double self = near[0], R = 0;
        if (m == 1) {
            self = near[0] + far[0];
        } else {
            R = (near[m - 1] + far[m - 1] + far[m - 2]) * f[1];
            for (size_t j = 2; j < m; ++j) R += inner[m - j] * f[j];
        }
        f[m] = Finite((k.J / n - k.lambda * g * R) / (1 + k.lambda * g * self));
    }
    f[0] = f.size() > 1 ? f[1] : Div(KineticsAt(el, c, r.E[0]).J, n);
    for (double& v : f) v *= n;
    return f;
}

// Step-response terms of one potential: s(t) = J (a ExpErfc(H sqrt t) + w).
struct StepTerms {
    double J = 0, H = 0, w = 0;
    double At(double t) const { return J * ((1 - w) * ExpErfc(Finite(H * Sqrt(t))) + w); }
};

StepTerms StepTermsAt(const ElectrodeTerms& el, const Couple& c, bool radial, double E) {
    const Kinetics k = KineticsAt(el, c, E);
    if (!radial) return {k.J, k.lambda, 0};
    const double s = Div(c.Dox, el.Radius);
    const double H = Finite(k.lambda + s);
    return {k.J, H, Div(s, H)};
}

}  // namespace

std::vector<double> ConvolutionSweep(const ElectrodeTerms& el, const Couple& c,
                                     const Array1<kRows>& X, int noOfData, double rate) {
    const Ramp r = BuildRamp(c, el.FRT, X, noOfData, rate);
    const std::vector<double> f = SolveFlux(el, c, r);
    std::vector<double> out(static_cast<size_t>(noOfData) + 1, 0.0);
    for (int i = 1; i <= noOfData; ++i)
        out[static_cast<size_t>(i)] = f[static_cast<size_t>(r.sampleAt[static_cast<size_t>(i)])];
    return out;
}

double StepResponse(const ElectrodeTerms& el, const Couple& c, bool radial, double E, double t) {
    return Finite(StepTermsAt(el, c, radial, E).At(t));
}

double NormalPulseSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                             const PulseProgram& p, double E) {
    const StepTerms base = StepTermsAt(el, c, radial, p.Estart);
    const StepTerms pulse = StepTermsAt(el, c, radial, E + p.Epulse);
    return Finite(base.At(p.hold + p.tpulse) + pulse.At(p.tpulse) - base.At(p.tpulse));
}

double DiffPulseSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                           const PulseProgram& p, double E, double dE) {
    const StepTerms base = StepTermsAt(el, c, radial, E);
    const StepTerms pulse = StepTermsAt(el, c, radial, E + dE);
    const double before = base.At(p.hold);
    const double after = base.At(p.hold + p.tpulse) + pulse.At(p.tpulse) - base.At(p.tpulse);
    return Finite(after - before);
}

std::vector<double> SquareWaveSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                                         const PulseProgram& p, const Array1<kRows>& X,
                                         int noOfData) {
    if (noOfData < 1 || noOfData > kMaxPoints) Raise(kSubscriptOutOfRange);
    // Half periods k = 0..K-1 at potentials P_k, jumping at k tpulse. With G_k the sum over the
    // jumps j <= k of the step response of P_j taken (k + 1 - j) half periods later, the current
    // sampled at the end of half period k is G_k - G_(k-1): each jump adds the response at its
    // new potential and removes the one at its old.
    const int K = 2 * noOfData;
    std::vector<StepTerms> terms(static_cast<size_t>(K));
    for (int i = 1; i <= noOfData; ++i) {
        terms[static_cast<size_t>(2 * i - 2)] = StepTermsAt(el, c, radial, X(i) - p.Epulse);
        terms[static_cast<size_t>(2 * i - 1)] = StepTermsAt(el, c, radial, X(i) + p.Epulse);
    }
    std::vector<double> G(static_cast<size_t>(K), 0.0);
    for (int j = 0; j < K; ++j)
        for (int k = j; k < K; ++k)
            G[static_cast<size_t>(k)] += terms[static_cast<size_t>(j)].At((k + 1 - j) * p.tpulse);
    std::vector<double> out(static_cast<size_t>(noOfData) + 1, 0.0);
    for (int i = 1; i <= noOfData; ++i) {
        const size_t second = static_cast<size_t>(2 * i - 1);
        const double first = G[second - 1] - (second >= 2 ? G[second - 2] : 0.0);
        out[static_cast<size_t>(i)] = Finite((G[second] - G[second - 1]) - first);
    }
    return out;
}

namespace {

// Reaction k of the model as a Nernstian couple (the step response's kinetic term a million times
// the diffusion term at tpulse), only its oxidised form present.
Couple NernstianCouple(const ParameterModel& m, int k) {
    const size_t ox = static_cast<size_t>(2 * k - 1), red = ox + 1;
    Couple c;
    c.n = m.n[static_cast<size_t>(k)];
    c.Alpha = 0.5;
    c.E0 = m.Eformal[static_cast<size_t>(k)];
    c.Cox = m.C[ox];
    c.Dox = Sqrt(m.D[ox]);
    c.Dred = Sqrt(m.D[red]);
    c.ks = 1e6 * Div(c.Dox, Sqrt(m.tpulse));
    return c;
}

// The extremum of |dpv(E)| by golden-section search over E within 12 RT/nF of its centre.
template <class F>
PulsePeak GoldenExtremum(F current, double centre, double span) {
    const double g = 0.5 * (std::sqrt(5.0) - 1);
    double a = centre - span, b = centre + span;
    for (int it = 0; it < 100 && b - a > 1e-7; ++it) {
        const double x1 = b - g * (b - a), x2 = a + g * (b - a);
        if (std::fabs(current(x1)) > std::fabs(current(x2)))
            b = x2;
        else
            a = x1;
    }
    const double E = 0.5 * (a + b);
    return {E, current(E)};
}

// The extreme point of y(1..n) refined by the parabola through it and its neighbours.
PulsePeak ParabolaExtremum(const Array1<kRows>& X, const std::vector<double>& y, int n) {
    int best = 1;
    for (int i = 2; i <= n; ++i)
        if (std::fabs(y[static_cast<size_t>(i)]) > std::fabs(y[static_cast<size_t>(best)]))
            best = i;
    if (best == 1 || best == n) return {X(best), y[static_cast<size_t>(best)]};
    const double a = y[static_cast<size_t>(best - 1)], b = y[static_cast<size_t>(best)],
                 c = y[static_cast<size_t>(best + 1)];
    const double curvature = a - 2 * b + c;
    const double d = curvature != 0 ? 0.5 * (a - c) / curvature : 0.0;
    return {X(best) + d * (X(best + 1) - X(best)), b - 0.25 * (a - c) * d};
}

}  // namespace

PulsePeak RefinedPulsePeak(const ParameterModel& m, int k) {
    const Couple c = NernstianCouple(m, k);
    const ElectrodeTerms el{m.FRT, m.Radius, m.Viscosity, m.Omega};
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    const bool radial = te.Radial();
    const double FA = m.Area * kFaraday * 0.001, rtnf = Div(m.RTF, c.n);
    const double eHalf = c.E0 + rtnf * Log(Div(c.Dred, c.Dox));  // RT/2nF ln(Dred/Dox)
    PulseProgram p{m.Estart, m.Epulse, m.tpulse, 0};
    if (m.Technique == 3 || m.Technique == 4)
        p.hold = PulseHoldTime(m.Technique, m.tdrop, m.tpulse);
    PulsePeak peak;
    if (m.Technique == 3) {
        // The plateau, 40 RT/nF past the half-wave potential of the pulsed potential.
        peak = {eHalf - m.Epulse,
                NormalPulseSuperposed(el, c, radial, p, eHalf - 40 * rtnf - m.Epulse)};
    } else if (m.Technique == 4) {
        const double dE = m.Epulse;
        peak =
            GoldenExtremum([&](double E) { return DiffPulseSuperposed(el, c, radial, p, E, dE); },
                           eHalf - dE / 2, 12 * rtnf);
    } else {
        // The forward sweep of the sheet's staircase.
        const double steps = std::nearbyint(std::fabs(Div(m.Eend - m.Estart, m.Estep)));
        if (!(steps + 1 <= kMaxPoints)) Raise(kSubscriptOutOfRange);
        const int n = static_cast<int>(steps) + 1;
        Array1<kRows> X;
        const double sign = m.Eend > m.Estart ? 1 : -1;
        for (int i = 1; i <= n; ++i) X(i) = m.Estart + (i - 1) * m.Estep * sign;
        peak = ParabolaExtremum(X, SquareWaveSuperposed(el, c, radial, p, X, n), n);
    }
    return {peak.E, Finite(peak.I * FA)};
}

double PulseHoldTime(int technique, double tdrop, double tpulse) {
    return (SubStepsPerPoint(technique, tdrop, tpulse) - 1) * tpulse;
}

}  // namespace zemra
