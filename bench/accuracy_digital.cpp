// Accuracy of the digital simulation against closed-form electrochemistry: for each case the
// theoretical value, the classic engine's and the refined engine's relative error (or, for
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

}  // namespace
}  // namespace zemra

int main() {
    using namespace zemra;
    std::printf("| Case | Theory | Classic | Refined |\n|---|---|---|---|\n");
    ReversibleSweeps();
    IrreversibleSweep();
    Nicholson();
    CottrellLimits();
    return 0;
}
