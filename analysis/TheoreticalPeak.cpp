#include "analysis/TheoreticalPeak.h"

#include <cmath>
#include <string>

#include "platform/ResultWindow.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// Quantities of reaction k shared by several cases, computed only where a case uses them so
// that a field the case does not need (a pulse time in DC, say) cannot fail it.
struct Reaction {
    const ParameterModel& m;
    int k;
    double n, alpha, ks, D, C;

    Reaction(const ParameterModel& model, int reaction)
        : m(model),
          k(reaction),
          n(model.n[static_cast<size_t>(reaction)]),
          alpha(model.Alpha[static_cast<size_t>(reaction)]),
          ks(model.ks[static_cast<size_t>(reaction)]),
          D(model.D[Ox()]),
          C(model.C[Ox()]) {}

    size_t Ox() const { return static_cast<size_t>(2 * k - 1); }
    size_t Red() const { return static_cast<size_t>(2 * k); }

    // Reversible half-wave potential, V: E0' + RT/2nF ln(D_red / D_ox).
    double EHalf() const {
        return m.Eformal[static_cast<size_t>(k)] +
               Div(m.RTF, 2 * n) * Log(Div(m.D[Red()], m.D[Ox()]));
    }
    // F/1000 x area x concentration, A s/cm per (mol/L).
    double FAC() const { return kFaradayPerLitre * m.Area * C; }
    // Cottrell current at time t, A: nFAC sqrt(D / pi t).
    double Cottrell(double t) const { return n * FAC() * Sqrt(Div(Div(D, kPi), t)); }
};

// Normal, differential pulse and square wave, any electrode.
void PulseValues(const Reaction& r, TheoreticalValues& v) {
    const ParameterModel& m = r.m;
    const double ipulse = r.Cottrell(m.tpulse);
    if (m.Technique == 3) {
        v.Erev = r.EHalf() - m.Epulse;
        v.Irev = ipulse;
    } else if (m.Technique == 4) {
        const double sigma = Exp(r.n * m.FRT * m.Epulse / 2);
        v.Irev = ipulse * Div(1 - sigma, 1 + sigma);
        v.Erev = r.EHalf() - m.Epulse / 2;
    } else {
        const double sigma = Exp(r.n * m.FRT * m.Epulse);
        v.Irev = ipulse * Div(1 - sigma, 1 + sigma) * kSquareWaveSamplingFactor;
        v.Erev = r.EHalf();
    }
}

// DC (sampled current) limiting currents by electrode.
void DcValues(const Reaction& r, TheoreticalValues& v) {
    const ParameterModel& m = r.m;
    const double n = r.n, D = r.D, t = m.tdrop;
    switch (static_cast<int>(m.Electrode)) {
        case 1: {  // planar: Cottrell; irreversible wave shifted by RT/anF ln(1.35 ks sqrt(t/D))
            v.Irev = r.Cottrell(t);
            v.Erev = r.EHalf();
            v.Eirr = r.EHalf() + Div(m.RTF, r.alpha * n) * Log(1.35 * r.ks * Sqrt(Div(t, D)));
            v.Iirr = v.Irev;
            break;
        }
        case 2:
        case 3:
        case 4:  // spherical: planar transient plus the steady term D/r
            v.Irev = n * r.FAC() * D * (Div(1, m.Radius) + Div(1, Sqrt(kPi * D * t)));
            break;
        case 5:
        case 6:  // cylindrical, long-time approximation
            v.Irev = n * r.FAC() * D *
                     (Div(1, Sqrt(kPi * D * t)) +
                      Div(2, m.Radius * Log(Div(4 * D * t, m.Radius * m.Radius))));
            break;
        case 8:  // Levich: 0.62 nFAC D^(2/3) omega^(1/2) nu^(-1/6)
            v.Irev = 0.62 * n * r.FAC() * Pow(D, 2.0 / 3.0) * Sqrt(m.Omega) *
                     Pow(m.Viscosity, -1.0 / 6.0);
            break;
        default:  // thin film: nothing
            break;
    }
}

// Reduced rate lambda = kf sqrt(t / D) at which the totally irreversible step response at a
// stationary plane, sqrt(pi) lambda exp(lambda^2) erfc(lambda), is half the Cottrell current;
// solved by bisection (0.4330).
double IrreversibleHalfWaveRate() {
    double lo = 0.1, hi = 1;
    for (int it = 0; it < 60; ++it) {
        const double x = 0.5 * (lo + hi);
        const double ratio = kSqrtPi * x * std::exp(x * x) * std::erfc(x);
        (ratio < 0.5 ? lo : hi) = x;
    }
    return 0.5 * (lo + hi);
}

// Refined mode: what the refined roads follow where the textbook values above are of another
// experiment. The planar DC wave of a stationary electrode (not an expanding drop) has its
// irreversible half-wave where kf sqrt(td / D) = 0.4330; the rotating disk's sweep is its
// steady Levich wave, whose reversible half-wave is E0' + (2/3) RT/nF ln(D_red / D_ox); the DC
// current of a microdisc is that of the sphere of its area and its steady state 4nFDCr.
void RefinedValues(const Reaction& r, TheoreticalValues& v) {
    const ParameterModel& m = r.m;
    const double e0 = m.Eformal[static_cast<size_t>(r.k)];
    if (m.Technique == 2 && m.Electrode == 1)
        v.Eirr = e0 + Div(m.RTF, r.alpha * r.n) *
                          Log(Div(r.ks * Sqrt(Div(m.tdrop, r.D)), IrreversibleHalfWaveRate()));
    if (m.Technique == 2 && m.Electrode == 4) {  // the sphere of radius pi r / 4
        const double radius = kPi * m.Radius / 4;
        v.Irev = r.n * r.FAC() * r.D * (Div(1, radius) + Div(1, Sqrt(kPi * r.D * m.tdrop)));
    }
    if ((m.Technique == 1 || m.Technique == 2) && m.Electrode == 8) {
        v.Irev = 0.62 * r.n * r.FAC() * Pow(r.D, 2.0 / 3.0) * Sqrt(m.Omega) *
                 Pow(m.Viscosity, -1.0 / 6.0);
        v.Erev = e0 + 2.0 / 3.0 * Div(m.RTF, r.n) * Log(Div(m.D[r.Red()], r.D));
    }
}

// Linear sweep and cyclic voltammetry peak currents by electrode.
void SweepValues(const Reaction& r, TheoreticalValues& v) {
    const ParameterModel& m = r.m;
    const double n = r.n, D = r.D, v0 = m.ScanRate;
    switch (static_cast<int>(m.Electrode)) {
        case 1: {  // Randles-Sevcik, reversible and irreversible
            v.Irev = 0.4463 * n * r.FAC() * Sqrt(n * m.FRT * v0 * D);
            v.Erev = r.EHalf() - 1.109 * Div(m.RTF, n);
            v.Iirr = 0.4958 * n * r.FAC() * Sqrt(r.alpha * n * m.FRT * v0 * D);
            const double b = Sqrt(Div(r.alpha * n * v0 * D, m.RTF));
            v.Eirr = r.EHalf() - Div(m.RTF, n * r.alpha) * (Log(Div(b, r.ks)) + 0.78);
            break;
        }
        case 2:
        case 3:
        case 5:
        case 6:  // steady-state term nFACD/r
            v.Irev = n * r.FAC() * Div(D, m.Radius);
            break;
        case 4:  // microdisc steady state 4nFDCr (F/1000 for mol/L)
            // The current of a microdisc of radius r is 4nFDCr; it carries the same F/1000 as
            // every other current here (the area is not part of it).
            v.Irev = 4 * n * kFaradayPerLitre * D * r.C * m.Radius;
            break;
        case 7:  // thin layer: n^2 F^2 A L C v / 4RT
            v.Irev = n * n * r.FAC() * m.FRT * m.Length * v0 / 4;
            v.Erev = m.Eformal[static_cast<size_t>(r.k)] +
                     Div(m.RTF, n) * Log(Div(kSqrtPi * n * m.Length, Sqrt(D * m.tdrop)));
            break;
        case 8: {  // rotating disk under a sweep
            const double schmidt = Div(m.Viscosity, D);
            const double g =
                Pow(schmidt, 1.0 / 3.0) * 0.412 * n * m.FRT * Div(Div(Div(v0, m.Omega), 2), kPi);
            const double h = Div(D * n * r.FAC(), g);
            v.Irev = Sqrt(Div(Div(Div(v0, m.Omega), kPi), 2)) * Pow(schmidt, 1.0 / 6.0) * 1.86 * h;
            break;
        }
        default:
            break;
    }
}

void PrintValues(ResultWindow& out, const char* label, int k, const char* l1,
                 const std::optional<double>& e, const char* l2, const std::optional<double>& i) {
    PrintLine line(label);
    line.Num(k).Text(":").Zone().Text(l1);
    if (e) line.Num(*e);
    line.Zone().Text(l2);
    if (i) line.Num(*i);
    out.Print(line);
}

}  // namespace

void TheoreticalValuesOf(const ParameterModel& m, int k, TheoreticalValues& v) {
    const Reaction r(m, k);
    switch (static_cast<int>(m.Mechanism)) {
        case 1:
            if (m.Technique >= 3 && m.Technique <= 5)
                PulseValues(r, v);
            else if (m.Technique == 2)
                DcValues(r, v);
            else if (m.Technique == 1)
                SweepValues(r, v);
            if (m.Refined) RefinedValues(r, v);
            break;
        case 9:  // catalytic: nFAC sqrt(kf D)
            v.Irev = r.n * r.FAC() * Sqrt(m.kf[static_cast<size_t>(k)] * r.D);
            v.Erev = r.EHalf();
            break;
        case 16:  // catalytic with the catalyst C: nFAC sqrt(C_C kf D)
            v.Irev = r.n * r.FAC() * Sqrt(m.C[3] * m.kf[static_cast<size_t>(k)] * r.D);
            v.Erev = r.EHalf();
            break;
        default:
            break;
    }
}

void PrintTheoreticalPeak(const ParameterModel& m, ResultWindow& result, PulseTheory pulses) {
    result.Print("Theoretical limiting current:");
    const bool sampled = m.Technique == 2 || m.Technique == 3;
    const char* l1 = sampled ? "E1/2 = " : "Ep = ";
    const char* l2 = sampled ? "Id = " : "Ip = ";
    TheoreticalValues v;  // kept from one reaction to the next
    for (int k = 1; k <= m.NCharge; ++k) {
        TheoreticalValuesOf(m, k, v);
        if (m.Refined && m.Mechanism == 1 && pulses && m.Technique >= 3 && m.Technique <= 5)
            pulses(m, k, v);
        PrintValues(result, "Rev Peak ", k, l1, v.Erev, l2, v.Irev);
        PrintValues(result, "Irrev Peak ", k, l1, v.Eirr, l2, v.Iirr);
    }
}

}  // namespace zemra
