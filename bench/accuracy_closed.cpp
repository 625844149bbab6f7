// Accuracy of the closed-form road against closed-form electrochemistry: for each case the
// theoretical value, then the error of the default closed form and of the refined one (relative,
// or for potentials the difference in mV). Each case is a Simulate of the sheet through the
// driver. Prints one Markdown table row per case.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "commands/Commands.h"
#include "model/Collection.h"
#include "simulation/SimulationDriver.h"

namespace zemra {
namespace {

constexpr double kF = 96484.6, kR = 8.31441, kPiExact = 3.14159265358979323846;
constexpr double kD = 1e-5, kC = 1e-6;  // cm2/s; mol/cm3 (1 mM)

// The start-up sheet on the closed-form road with E0 = 0, 1 mM of A, D = 1e-5 cm2/s, 1 cm2, 25 C.
struct Sheet {
    HeadlessHost host;
    RecordingCanvas canvas;
    Workbench wb{host, canvas};
    std::vector<double> I;  // total current of points 1..N (index 0 unused)

    Sheet() {
        StartUp(wb);
        wb.Input.SetChecked("CheckDigital", false);
        wb.Input.SetChecked("CheckPreEqu", false);
        Set("Eze", "0", 1)
            .Set("C", "0", 2)
            .Set("C", "0.001", 1)
            .Set("D", "1e-5", 1)
            .Set("D", "1e-5", 2);
        Set("ARE", "1");
    }
    Sheet& Set(const char* name, const char* text, int row = kNoRow) {
        wb.Input.SetText(name, row, text);
        return *this;
    }
    double Rtf() const { return kR * wb.Model.Temperature / kF; }
    int N() const { return wb.Curves.NoOfData; }
    double X(int i) const { return wb.Curves.X(i); }
    void Run(bool refined) {
        if (!CollectOrReport(wb)) return;
        wb.Model.Refined = refined;
        const SimulationOutcome o = SimulateCurve(wb);
        if (!o.Completed()) std::fprintf(stderr, "simulation failed: %s\n", o.Error.c_str());
        I.assign(static_cast<size_t>(N()) + 1, 0.0);
        for (int i = 1; i <= N(); ++i)
            I[static_cast<size_t>(i)] = wb.Res.Icomp(i, wb.Res.TotalColumn);
    }
    // Extremum of sign * I over points lo..hi by a parabola through the three highest: {E, I}.
    std::pair<double, double> Peak(int lo, int hi, double sign) const {
        int b = lo + 1;
        for (int i = lo + 1; i < hi; ++i)
            if (sign * I[static_cast<size_t>(i)] > sign * I[static_cast<size_t>(b)]) b = i;
        const double y0 = I[static_cast<size_t>(b - 1)], y1 = I[static_cast<size_t>(b)],
                     y2 = I[static_cast<size_t>(b + 1)];
        const double d = 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);
        return {X(b) + d * (X(b + 1) - X(b)), y1 - 0.25 * (y0 - y2) * d};
    }
};

std::string Pct(double value, double theory) {
    char s[32];
    std::snprintf(s, sizeof s, "%+.3f %%", 100 * (value / theory - 1));
    return s;
}
std::string MilliVolt(double dv) {
    char s[32];
    std::snprintf(s, sizeof s, "%+.2f mV", 1000 * dv);
    return s;
}
void Row(const std::string& name, const std::string& theory, const std::string& def,
         const std::string& refined) {
    std::printf("| %s | %s | %s | %s |\n", name.c_str(), theory.c_str(), def.c_str(),
                refined.c_str());
}
std::string Amp(double a) {
    char s[32];
    std::snprintf(s, sizeof s, "%.4g A", a);
    return s;
}

void Sweeps() {
    for (const char* step : {"0.0005", "0.001", "0.005", "0.01"}) {
        Sheet s;
        s.Set("Estart", "0.3").Set("Eend", "-0.3").Set("V", "0.1").Set("Estep", step);
        std::string out[2];
        double theory = 0;
        for (int r = 0; r < 2; ++r) {
            s.Run(r == 1);
            theory = 0.4463 * kF * kC * std::sqrt(0.1 * kD / s.Rtf());
            out[r] = Pct(s.Peak(1, s.N(), 1).second, theory);
        }
        char name[96];
        std::snprintf(name, sizeof name,
                      "Reversible sweep peak, 0.4463 nFAC sqrt(nFvD/RT), step %g mV",
                      std::stod(step) * 1000);
        Row(name, Amp(theory), out[0], out[1]);
    }
    Sheet s;
    s.Set("Estart", "0").Set("Eend", "-0.8").Set("V", "0.1").Set("Estep", "0.001");
    s.Set("ks", "1e-6", 1).Set("alph", "0.5", 1);
    std::string outI[2], outE[2];
    double theory = 0, ep = 0;
    for (int r = 0; r < 2; ++r) {
        s.Run(r == 1);
        const double b = 0.5 * 0.1 / s.Rtf();
        theory = 0.4958 * kF * kC * std::sqrt(b * kD);
        ep = -s.Rtf() / 0.5 * (0.780 + std::log(std::sqrt(kD * b) / 1e-6));
        const auto p = s.Peak(1, s.N(), 1);
        outI[r] = Pct(p.second, theory);
        outE[r] = MilliVolt(p.first - ep);
    }
    Row("Irreversible sweep peak (ks 1e-6 cm/s, alpha 0.5), 0.4958 nFAC sqrt(alpha nFvD/RT)",
        Amp(theory), outI[0], outI[1]);
    char e[32];
    std::snprintf(e, sizeof e, "%.4f V", ep);
    Row("Irreversible sweep Ep", e, outE[0], outE[1]);
}

void Nicholson() {
    const double psi[] = {20, 7, 6, 5, 4, 3, 2, 1, 0.75, 0.5, 0.35};
    const int dEp[] = {61, 63, 64, 65, 66, 68, 72, 84, 92, 105, 121};
    for (int k = 0; k < 11; ++k) {
        Sheet s;
        s.Set("Estart", "0.3").Set("Eend", "-0.1125").Set("V", "0.1").Set("Estep", "0.001");
        s.wb.Input.SetListIndex("ComboScan", 1);
        const double ks = psi[k] * std::sqrt(kPiExact * kD * 0.1 * kF / (kR * 298.14));
        s.Set("ks", std::to_string(ks).c_str(), 1);
        std::string out[2];
        for (int r = 0; r < 2; ++r) {
            s.Run(r == 1);
            const int n = s.wb.Res.PointsPerSweep;
            const double sep = s.Peak(n + 1, s.N(), -1).first - s.Peak(1, n, 1).first;
            out[r] = MilliVolt(sep - dEp[k] / 1000.0);
        }
        char name[96];
        std::snprintf(name, sizeof name, "Cyclic dEp, psi = %g (Nicholson %d mV), 1 mV step",
                      psi[k], dEp[k]);
        Row(name, std::to_string(dEp[k]) + " mV", out[0], out[1]);
    }
}

// Reversible planar step response from the bulk to E, A: Cottrell times 1 / (1 + e^(nF E/RT)).
double Nernstian(double E, double t, double rtf) {
    return kF * kC * std::sqrt(kD / (kPiExact * t)) / (1 + std::exp(E / rtf));
}

void Pulses() {
    // DC and normal pulse: the last point of the wave against Cottrell at the sampling time.
    const struct {
        int technique;
        const char* name;
        double t;
    } limits[] = {{2, "DC limiting current vs Cottrell at tdrop = 1 s", 1},
                  {3, "Normal pulse limiting current vs Cottrell at tpulse = 50 ms", 0.05}};
    for (const auto& c : limits) {
        Sheet s;
        s.wb.Input.Select("optTech", c.technique);
        s.Set("Estart", "0.3").Set("Eend", "-0.3").Set("Estep", "0.005");
        s.Set("td", "1").Set("tp", "0.05").Set("Epulse", "-0.05");
        std::string out[2];
        const double theory = kF * kC * std::sqrt(kD / (kPiExact * c.t));
        for (int r = 0; r < 2; ++r) {
            s.Run(r == 1);
            out[r] = Pct(s.I[static_cast<size_t>(s.N())], theory);
        }
        Row(c.name, Amp(theory), out[0], out[1]);
    }
    // Differential pulse (hold 0.95 s, pulse -50 mV for 50 ms) and square wave (10 Hz, 50 mV,
    // 5 mV): the largest current against the exact superposition of Nernstian step responses.
    for (int technique : {4, 5}) {
        Sheet s;
        s.wb.Input.Select("optTech", technique);
        s.Set("Estart", "0.3").Set("Eend", "-0.3").Set("Estep", "0.005");
        s.Set("td", "1").Set("tp", "0.05").Set("Epulse", technique == 4 ? "-0.05" : "0.05");
        std::string out[2];
        double theory = 0;
        for (int r = 0; r < 2; ++r) {
            s.Run(r == 1);
            const double rtf = s.Rtf();
            double best = 0, exact = 0;
            for (int i = 1; i <= s.N(); ++i) {
                const double E = s.X(i);
                double v = 0;
                if (technique == 4) {
                    v = Nernstian(E, 1.0, rtf) + Nernstian(E - 0.05, 0.05, rtf) -
                        Nernstian(E, 0.05, rtf) - Nernstian(E, 0.95, rtf);
                } else {
                    double at[2] = {0, 0};
                    for (int half = 0; half < 2; ++half) {
                        const int k = 2 * i - 2 + half;
                        for (int j = 0; j <= k; ++j) {
                            auto P = [&](int q) { return s.X(q / 2 + 1) + (q % 2 ? 0.05 : -0.05); };
                            const double t = (k + 1 - j) * 0.05;
                            at[half] += Nernstian(P(j), t, rtf) -
                                        (j == 0 ? 0.0 : Nernstian(P(j - 1), t, rtf));
                        }
                    }
                    v = at[1] - at[0];
                }
                if (std::fabs(v) > std::fabs(exact)) exact = v;
                const double y = s.I[static_cast<size_t>(i)];
                if (std::fabs(y) > std::fabs(best)) best = y;
            }
            theory = exact;
            out[r] = Pct(best, exact);
        }
        Row(technique == 4 ? "Differential pulse peak (tp 50 ms, dE -50 mV) vs superposition"
                           : "Square wave peak (10 Hz, 50 mV, 5 mV) vs superposition",
            Amp(std::fabs(theory)), out[0], out[1]);
    }
}

void RotatingDisk() {
    Sheet s;
    s.wb.Input.Select("optElectrode", 8);
    s.Set("Estart", "0.3").Set("Eend", "-0.3").Set("Estep", "0.005").Set("V", "0.01");
    std::string out[2];
    double theory = 0;
    for (int r = 0; r < 2; ++r) {
        s.Run(r == 1);
        const ParameterModel& m = s.wb.Model;
        theory = 0.62 * kF * m.Area * kC * std::pow(kD, 2.0 / 3.0) * std::sqrt(m.Omega) *
                 std::pow(m.Viscosity, -1.0 / 6.0);
        out[r] = Pct(s.I[static_cast<size_t>(s.N())], theory);
    }
    Row("Rotating disk sweep vs Levich plateau", Amp(theory), out[0], out[1]);
    // A microdisc of radius 1e-4 cm in DC after 1e4 s (4Dt/r^2 = 4e7): the steady state 4nFDCr.
    Sheet d;
    d.wb.Input.Select("optTech", 2);
    d.wb.Input.Select("optElectrode", 4);
    d.Set("radius", "1e-4").Set("td", "1e4");
    for (int r = 0; r < 2; ++r) {
        d.Run(r == 1);
        theory = 4 * kF * kD * kC * 1e-4;
        out[r] = Pct(d.I[static_cast<size_t>(d.N())], theory);
    }
    Row("Microdisc r = 1e-4 cm, DC steady state 4nFDCr (td = 1e4 s)", Amp(theory), out[0], out[1]);
}

}  // namespace
}  // namespace zemra

int main() {
    std::printf("| Case | Theory | Default | Refined |\n|---|---|---|---|\n");
    zemra::Sweeps();
    zemra::Nicholson();
    zemra::Pulses();
    zemra::RotatingDisk();
    return 0;
}
