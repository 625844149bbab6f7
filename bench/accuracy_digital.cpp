// Accuracy of the digital simulation against closed-form electrochemistry: for each case the
// theoretical value, the default (classic) engine's and the refined engine's relative error (or, for
// potentials, the difference in mV). Prints one Markdown table row per case.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "simulation/DigitalSimulation.h"
#include "simulation/RefinedDigital.h"

namespace zemra {
namespace {

constexpr double kF = 96484.6, kR = 8.31441, kT = 298.15;
constexpr double kRtf = kR * kT / kF;

// A planar 1 cm2 electrode, 1 mM of A, D = 1e-5 cm2/s, a fast couple at 0 V, 25 C.
struct Case {
    ParameterModel m;
    Array1<kRows> X;
    Results res;
    int noOfData = 0;

    explicit Case(int mechanism = 1, int technique = 1, int electrode = 1) {
        const MechanismInfo& info = kMechanisms[mechanism - 1];
        m.Mechanism = mechanism;
        m.NSpecies = info.NSpecies;
        m.NCharge = info.NCharge;
        m.NHomo = info.NHomo;
        m.Technique = technique;
        m.Electrode = electrode;
        m.Temperature = kT;
        m.FRT = 1 / kRtf;
        m.RTF = kRtf;
        m.Area = 1;
        m.Radius = 1;
        for (int s = 1; s <= 4; ++s) {
            m.D[s] = 1e-5;
            m.C[s] = 0;
        }
        m.C[1] = 1e-3;
        for (int k = 1; k <= 3; ++k) {
            m.ks[k] = 1e4;
            m.Alpha[k] = 0.5;
            m.n[k] = 1;
            m.Eformal[k] = 0;
            m.kf[k] = 0;
            m.kb[k] = 0;
        }
        m.tpulse = 0.05;
        m.tdrop = 0.5;
        m.Epulse = -0.05;
    }
    // Staircase from estart to eend; a cycle when `cyclic`.
    void Staircase(double estart, double eend, double estep, bool cyclic) {
        m.Estart = estart;
        m.Eend = eend;
        m.Estep = estep;
        const int n = static_cast<int>(std::lround(std::fabs((eend - estart) / estep))) + 1;
        const double sign = eend > estart ? 1 : -1;
        for (int i = 1; i <= n; ++i) X(i) = estart + (i - 1) * estep * sign;
        if (cyclic)
            for (int i = 1; i <= n; ++i) X(n + i) = X(n - i + 1);
        res.PointsPerSweep = n;
        noOfData = cyclic ? 2 * n : n;
    }
    double Run(bool refined) {
        res.Icomp.Fill(0);
        const DigitalOutcome o = refined ? RefinedDigitalSimulation(m, 0, X, noOfData, res)
                                         : DigitalSimulation(m, 0, X, noOfData, res);
        if (!o.Error.empty()) std::printf("error: %s\n", o.Error.c_str());
        return 0;
    }
    double I(int i) const { return res.Icomp(i, 1); }
    // Extremum of sign * I over points from..to, refined by a parabola through the three
    // highest points: {potential, current}.
    std::pair<double, double> Peak(int from, int to, int sign) const {
        int b = from;
        for (int i = from; i <= to; ++i)
            if (sign * I(i) > sign * I(b)) b = i;
        if (b == from || b == to) return {X(b), I(b)};
        const double y0 = I(b - 1), y1 = I(b), y2 = I(b + 1);
        const double den = y0 - 2 * y1 + y2;
        const double s = den != 0 ? 0.5 * (y0 - y2) / den : 0.0;
        return {X(b) + s * (X(b + 1) - X(b)), y1 - 0.25 * (y0 - y2) * s};
    }
};

void Row(const std::string& name, const std::string& theory, const std::string& classic,
         const std::string& refined) {
    std::printf("| %s | %s | %s | %s |\n", name.c_str(), theory.c_str(), classic.c_str(),
                refined.c_str());
}

std::string Pct(double value, double theory) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+.3f %%", 100 * (value - theory) / theory);
    return buf;
}
std::string MilliVolt(double dv) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+.2f mV", 1000 * dv);
    return buf;
}
std::string Num(double v, const char* unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4g %s", v, unit);
    return buf;
}

void ReversibleSweeps() {
    for (double step : {0.0005, 0.001, 0.005, 0.01}) {
        const double v = 0.1;
        const double theory = 0.4463 * 96.4846 * 1e-3 * std::sqrt(v * 1e-5 / kRtf);
        std::string out[2];
        for (int refined = 0; refined < 2; ++refined) {
            Case c;
            c.m.tdrop = step / v;
            c.Staircase(0.3, -0.3, step, false);
            c.Run(refined);
            out[refined] = Pct(c.Peak(1, c.noOfData, 1).second, theory);
        }
        Row("Reversible sweep peak, 0.4463 nFAC sqrt(nFvD/RT), step " + Num(1000 * step, "mV"),
            Num(theory, "A"), out[0], out[1]);
    }
}

void IrreversibleSweep() {
    const double v = 0.1, step = 0.001, alpha = 0.5, ks = 1e-6;
    const double theory = 0.4958 * 96.4846 * 1e-3 * std::sqrt(alpha * v * 1e-5 / kRtf);
    const double ep = -(kRtf / alpha) * (0.780 + std::log(std::sqrt(1e-5 * alpha * v / kRtf) / ks));
    std::string out[2], outE[2];
    for (int refined = 0; refined < 2; ++refined) {
        Case c;
        c.m.ks[1] = ks;
        c.m.tdrop = step / v;
        c.Staircase(0.0, -0.8, step, false);
        c.Run(refined);
        const auto p = c.Peak(1, c.noOfData, 1);
        out[refined] = Pct(p.second, theory);
        outE[refined] = MilliVolt(p.first - ep);
    }
    Row("Irreversible sweep peak (ks 1e-6 cm/s, alpha 0.5), 0.4958 nFAC sqrt(alpha nFvD/RT)",
        Num(theory, "A"), out[0], out[1]);
    Row("Irreversible sweep Ep", Num(ep, "V"), outE[0], outE[1]);
}

void Nicholson() {
    const struct {
        double psi, dEp;
    } table[] = {{20, 0.061}, {7, 0.063}, {6, 0.064},    {5, 0.065},   {4, 0.066},   {3, 0.068},
                 {2, 0.072},  {1, 0.084}, {0.75, 0.092}, {0.5, 0.105}, {0.35, 0.121}};
    for (const auto& t : table) {
        const double v = 0.1, step = 0.001;
        const double ks = t.psi * std::sqrt(kPi * 1e-5 * v / kRtf);
        std::string out[2];
        for (int refined = 0; refined < 2; ++refined) {
            Case c;
            c.m.ks[1] = ks;
            c.m.tdrop = step / v;
            // From 0.3 V to 112.5 mV past E1/2 = 0 and back.
            c.Staircase(0.3, -0.1125 - 0.3 + 0.3, step, true);
            c.Run(refined);
            const int n = c.res.PointsPerSweep;
            const double dEp = c.Peak(n + 1, 2 * n, -1).first - c.Peak(1, n, 1).first;
            out[refined] = MilliVolt(dEp - t.dEp);
        }
        char name[96];
        std::snprintf(name, sizeof name, "Cyclic dEp, psi = %g (Nicholson %.0f mV), 1 mV step",
                      t.psi, 1000 * t.dEp);
        Row(name, Num(1000 * t.dEp, "mV"), out[0], out[1]);
    }
}

// Cottrell: nFAC sqrt(D / (pi t)) at the sampling time, DC at tdrop and normal pulse at tpulse.
void CottrellLimits() {
    for (int technique : {2, 3}) {
        std::string out[2];
        double theory = 0;
        for (int refined = 0; refined < 2; ++refined) {
            Case c(1, technique);
            c.m.tdrop = 1;
            c.m.tpulse = 0.05;
            c.Staircase(0.3, -0.3, 0.01, false);
            c.Run(refined);
            const double t = technique == 2 ? 1.0 : 0.05;
            theory = 96.4846 * 1e-3 * std::sqrt(1e-5 / (kPi * t));
            out[refined] = Pct(c.I(c.noOfData), theory);
        }
        Row(technique == 2 ? "DC limiting current vs Cottrell at tdrop = 1 s"
                           : "Normal pulse limiting current vs Cottrell at tpulse = 50 ms",
            Num(theory, "A"), out[0], out[1]);
    }
}

// Nernstian surface concentration of A at potential E (E0 = 0, equal D, no B in the bulk), mM.
double SurfaceA(double E) {
    return 1 / (1 + std::exp(-E / kRtf));
}

// Differential pulse and square wave against the superposition of planar step responses,
// i(t) = nFA sqrt(D/pi) sum_k dC_k / sqrt(t - t_k): the largest point of each voltammogram.
void PulsePeaks() {
    const double scale = 96.4846 * 1e-3 * std::sqrt(1e-5 / kPi);
    for (int technique : {4, 5}) {
        std::string out[2];
        double theory = 0;
        for (int refined = 0; refined < 2; ++refined) {
            Case c(1, technique);
            c.m.tdrop = 0.5;
            c.m.tpulse = technique == 4 ? 0.05 : 0.05;
            c.Staircase(0.2, -0.2, technique == 4 ? 0.002 : 0.005, false);
            c.Run(refined);
            const double tp = c.m.tpulse, hold = 9 * tp;
            std::vector<double> th(static_cast<size_t>(c.noOfData) + 1);
            std::vector<double> steps;  // surface concentrations after each square-wave jump
            for (int i = 1; i <= c.noOfData; ++i) {
                const double x = c.X(i);
                if (technique == 4) {
                    const double d1 = 1 - SurfaceA(x), d2 = SurfaceA(x) - SurfaceA(x - 0.05);
                    th[i] = scale *
                            (d1 / std::sqrt(hold + tp) + d2 / std::sqrt(tp) - d1 / std::sqrt(hold));
                } else {
                    steps.push_back(SurfaceA(x + 0.05));
                    steps.push_back(SurfaceA(x - 0.05));
                    auto current = [&](size_t m) {  // at the end of half period m
                        double sum = 0, prev = 1;
                        for (size_t k = 0; k <= m; ++k) {
                            sum += (prev - steps[k]) / std::sqrt((m + 1 - k) * tp);
                            prev = steps[k];
                        }
                        return scale * sum;
                    };
                    th[i] = current(steps.size() - 1) - current(steps.size() - 2);
                }
            }
            int best = 1;
            for (int i = 1; i <= c.noOfData; ++i)
                if (th[i] > th[best]) best = i;
            theory = th[best];
            out[refined] = Pct(c.I(best), theory);
        }
        Row(technique == 4 ? "Differential pulse peak (tp 50 ms, dE -50 mV) vs superposition"
                           : "Square wave peak (10 Hz, 50 mV, 5 mV) vs superposition",
            Num(theory, "A"), out[0], out[1]);
    }
}

// Sphere: DC plateau at t = 1e4 s against nFADC (1/r + 1/sqrt(pi D t)).
void Spheres() {
    for (double r : {1e-4, 1e-3}) {
        std::string out[2];
        const double area = 4 * kPi * r * r, t = 1e4;
        const double theory =
            96.4846 * area * 1e-5 * 1e-3 * (1 / r + 1 / std::sqrt(kPi * 1e-5 * t));
        for (int refined = 0; refined < 2; ++refined) {
            Case c(1, 2, 2);
            c.m.Radius = r;
            c.m.Area = area;
            c.m.tdrop = t;
            c.Staircase(0.3, -0.3, 0.1, false);
            c.Run(refined);
            out[refined] = Pct(c.I(c.noOfData), theory);
        }
        char name[96];
        std::snprintf(name, sizeof name, "Sphere r = %g cm, steady state nFADC/r (DC at 1e4 s)", r);
        Row(name, Num(theory, "A"), out[0], out[1]);
    }
}

// Microdisc r = 1e-4 cm: DC plateau against Shoup-Szabo, 4nFDCr f(tau), tau = 4Dt/r^2.
void Microdiscs() {
    const double r = 1e-4;
    for (double tau : {0.01, 0.1, 1.0, 10.0, 100.0, 1e8}) {
        const double f =
            0.7854 + 0.8862 / std::sqrt(tau) + 0.2146 * std::exp(-0.7823 / std::sqrt(tau));
        const double theory = 4 * 96.4846 * 1e-5 * 1e-3 * r * f;
        std::string out[2];
        for (int refined = 0; refined < 2; ++refined) {
            Case c(1, 2, 4);
            c.m.Radius = r;
            c.m.Area = kPi * r * r;
            c.m.tdrop = tau * r * r / 4e-5;
            c.Staircase(0.3, -0.3, 0.1, false);
            c.Run(refined);
            out[refined] = Pct(c.I(c.noOfData), theory);
        }
        char name[96];
        if (tau > 1e7)
            std::snprintf(name, sizeof name,
                          "Microdisc r = 1e-4 cm, steady state 4nFDCr (tau = 1e8)");
        else
            std::snprintf(name, sizeof name, "Microdisc r = 1e-4 cm, Shoup-Szabo at tau = %g", tau);
        Row(name, Num(theory, "A"), out[0], out[1]);
    }
}

// EC' (mechanism 9): DC plateau at k tdrop = 20 against nFAC sqrt(Dk).
void Catalytic() {
    for (double k : {1.0, 10.0, 100.0, 1000.0}) {
        const double theory = 96.4846 * 1e-3 * std::sqrt(1e-5 * k);
        std::string out[2];
        for (int refined = 0; refined < 2; ++refined) {
            Case c(9, 2);
            c.m.kf[1] = k;
            c.m.tdrop = 20 / k;
            c.m.Estep = 0.1;
            c.Staircase(0.3, -0.3, 0.1, false);
            c.Run(refined);
            out[refined] = Pct(c.I(c.noOfData), theory);
        }
        char name[96];
        std::snprintf(name, sizeof name, "EC' plateau nFAC sqrt(Dk), k = %g /s", k);
        Row(name, Num(theory, "A"), out[0], out[1]);
    }
}

}  // namespace
}  // namespace zemra

int main() {
    using namespace zemra;
    std::printf("| Case | Theory | Default | Refined |\n|---|---|---|---|\n");
    ReversibleSweeps();
    IrreversibleSweep();
    Nicholson();
    CottrellLimits();
    PulsePeaks();
    Spheres();
    Microdiscs();
    Catalytic();
    return 0;
}
