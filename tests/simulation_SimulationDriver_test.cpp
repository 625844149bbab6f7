#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "commands/SheetLayout.h"
#include "model/Collection.h"
#include "platform/RuntimeError.h"
#include "simulation/SimulationDriver.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr double kPiExact = 3.14159265358979323846;

// A started-up workbench on the analytical road with the sheet's defaults: 0.3 V to -0.3 V in
// 5 mV steps at 10 mV/s, E0' = 0.1 V, 1 mM of A, D = 1e-5 cm^2/s, fast kinetics, 1 cm^2.
struct Sim : test::Bench {
    Sim() { wb.Input.SetChecked("CheckDigital", false); }
    void Set(const char* name, const char* text, int row = kNoRow) {
        wb.Input.SetText(name, row, text);
    }
    void Scan(int entry) { wb.Input.SetListIndex("ComboScan", entry); }
    void Run() {
        ASSERT_TRUE(CollectOrReport(wb));
        test::Simulate(wb);
    }
    double Total(int i) const { return wb.Res.Icomp(i, wb.Res.TotalColumn); }
    int N() const { return wb.Curves.NoOfData; }
    // Potential where the total current first reaches half of its value at the last point,
    // interpolated linearly between grid points.
    double HalfWave() const {
        const double half = Total(N()) / 2;
        for (int i = 2; i <= N(); ++i) {
            if ((Total(i - 1) - half) * (Total(i) - half) <= 0) {
                const double f = (half - Total(i - 1)) / (Total(i) - Total(i - 1));
                return wb.Curves.X(i - 1) + f * (wb.Curves.X(i) - wb.Curves.X(i - 1));
            }
        }
        return NAN;
    }
    std::string Error(const std::string& description) const {
        return kAnalyticalErrorPrefix + description + kTryAgainSuffix;
    }
};

TEST(PotentialProgram, PointCountsAndStaircaseForEachScanMode) {
    const int points[] = {121, 242, 484};  // single sweep, cycle, 2 cycles
    for (int scan = 0; scan <= 2; ++scan) {
        Sim s;
        s.Scan(scan);
        s.Run();
        const auto& X = s.wb.Curves.X;
        EXPECT_EQ(s.wb.Res.PointsPerSweep, 121);
        EXPECT_EQ(s.N(), points[scan]);
        EXPECT_EQ(s.wb.Res.ScanSign, -1);
        EXPECT_EQ(s.wb.Curves.FirstPoint, 1);
        EXPECT_EQ(s.wb.Curves.LastPoint, points[scan]);
        EXPECT_DOUBLE_EQ(X(1), 0.3);
        EXPECT_NEAR(X(121), -0.3, 1e-12);
        if (scan >= 1) {
            EXPECT_EQ(X(122), X(121));  // the switching potential is listed twice
            EXPECT_DOUBLE_EQ(X(242), 0.3);
        }
        for (int i = 1; scan == 2 && i <= 242; ++i) EXPECT_EQ(X(242 + i), X(i));
        EXPECT_TRUE(s.host.Messages.empty());
    }
}

TEST(DriverErrors, EndTheRunWithTheAnalyticalMessageAndKeepTheCurve) {
    struct Case {
        const char* what;
        std::function<void(Sim&)> setUp;
        const char* description;
    } cases[] = {
        {"zero step", [](Sim& s) { s.Set("Estep", "0"); }, kDivisionByZero},
        {"exponential overflow", [](Sim& s) { s.Set("Eze", "100", 1); }, kOverflow},
        {"third charge transfer", [](Sim& s) { s.wb.Input.Select("mech", 3); },
         kSubscriptOutOfRange},
        {"logarithm of a zero concentration", [](Sim& s) { s.wb.Input.Select("mech", 17); },
         kInvalidCall},
    };
    for (const auto& c : cases) {
        Sim s;
        s.Run();
        const double y10 = s.wb.Curves.Y(10, 1);
        ASSERT_NE(y10, 0.0);
        c.setUp(s);
        s.Run();
        ASSERT_EQ(s.host.Messages.size(), 1u) << c.what;
        EXPECT_EQ(s.host.Messages[0], s.Error(c.description)) << c.what;
        EXPECT_EQ(s.wb.Curves.Y(10, 1), y10) << c.what;
        EXPECT_EQ(s.wb.Curves.LastPoint, 121) << c.what;
        EXPECT_LE(s.N(), kMaxPoints) << c.what;
        for (int i = 1; i <= s.N(); ++i) ASSERT_TRUE(std::isfinite(s.wb.Res.Icomp(i, 2)));
    }
}

TEST(DriverErrors, TooManyPointsSaysHowManyAndWhatToChange) {
    // 2 (|E end - E start| / E step + 1) x cycles points, against the 4000 rows.
    const struct {
        bool Digital;
        int Scan;
        const char *Eend, *Estep, *Points;
    } cases[] = {{false, 2, "-0.3", "0.0005", "4804"},    // (1200 + 1) x 2 x 2
                 {false, 0, "32.767", "0.001", "32468"},  // 0.3 V up to 32.767 V
                 {true, 0, "-0.3", "1e-6", "600001"}};
    for (const auto& c : cases) {
        Sim s;
        s.Run();
        const double y10 = s.wb.Curves.Y(10, 1);
        s.wb.Input.SetChecked("CheckDigital", c.Digital);
        s.Scan(c.Scan);
        s.Set("Eend", c.Eend);
        s.Set("Estep", c.Estep);
        s.host.Messages.clear();
        mnuSimulate(s.wb);
        EXPECT_EQ(s.host.Messages,
                  std::vector<std::string>{
                      std::string(c.Digital ? "CV Error: " : "Analytical simulation Error: ") +
                      "the potential program would need " + c.Points +
                      " points, at most 4000 fit: take a larger E step or a shorter range from E "
                      "start to E end"});
        EXPECT_EQ(s.wb.Curves.Y(10, 1), y10);
        EXPECT_EQ(s.wb.Curves.LastPoint, 121);
    }
}

TEST(LinearSweep, ReversiblePeakAtPlanarElectrodeOnBothRoadsForAnyStep) {
    for (const char* step : {"0.01", "0.005", "0.002", "0.001"}) {
        for (bool digital : {false, true}) {
            Sim s;
            s.wb.Input.SetChecked("CheckDigital", digital);
            s.Set("Estep", step);  // the drop time follows: td = Estep / v
            s.Run();
            ASSERT_TRUE(s.host.Messages.empty());
            int peak = 1;
            for (int i = 1; i <= s.N(); ++i)
                if (s.wb.Curves.Y(i, 1) > s.wb.Curves.Y(peak, 1)) peak = i;
            const double RTF = 8.31441 * 298.14 / 96484.6;
            const double h = std::stod(step);
            // Reversible peak: E1/2 - 1.109 RT/nF, with E1/2 = E0' for equal diffusion
            // coefficients, within one step.
            EXPECT_NEAR(s.wb.Curves.X(peak), 0.1 - 1.109 * RTF, h) << digital << " " << step;
            // Randles-Sevcik: 0.4463 nFAC sqrt(nFvD/RT), C in mol/cm^3. The 5 mV grid samples
            // the peak within 2.5 mV of its top, where a reversible wave is within 1 % of its
            // height; finer steps come closer.
            const double C = std::stod(s.wb.Input.CaptionOf("Cinit", 1)) / 1000;
            const double rs = 0.4463 * 96484.6 * 1.0 * C * std::sqrt(0.01 * 1e-5 / RTF);
            EXPECT_REL_NEAR(s.wb.Curves.Y(peak, 1), rs, 0.01) << digital << " " << step;
            EXPECT_GT(s.wb.Curves.Y(peak, 1), 1.3 * s.wb.Curves.Y(s.N(), 1)) << digital;
        }
    }
}

TEST(NormalPulse, ReversibleWaveShiftedByThePulseAndNoneAtAThinFilm) {
    Sim s;
    s.wb.Input.Select("optTech", 3);
    s.Run();
    // E1/2 - Epulse = 0.1 - (-0.05) V; the limiting current is 1.755 FAnC sqrt(D / (pi tp)).
    EXPECT_NEAR(s.HalfWave(), 0.15, 0.005);
    const double limit = 1.755 * 96.4846 * 1e-3 * std::sqrt(1e-5 / (kPiExact * 0.05));
    EXPECT_REL_NEAR(s.Total(s.N()), limit, 1e-3);
    // A thin film has no closed-form normal pulse current.
    s.wb.Input.Select("optElectrode", 7);
    s.Run();
    EXPECT_EQ(s.wb.Model.TechElectrodeCode, 37);
    for (int i = 1; i <= s.N(); ++i) EXPECT_EQ(s.wb.Curves.Y(i, 1), 0.0);
    EXPECT_TRUE(s.host.Messages.empty());
}

TEST(Mechanism17, PrecedingEquilibriumShiftsTheWave) {
    // DC voltammetry at a planar electrode; with Keq = 1 and C(D) = 1 M the formal potential is
    // unchanged, a tenfold Keq moves it by RT/F ln 10.
    double halfWave[2];
    for (int k = 0; k < 2; ++k) {
        Sim s;
        s.wb.Input.Select("optTech", 2);
        s.wb.Input.Select("mech", 17);
        ASSERT_TRUE(CollectOrReport(s.wb));
        ParameterModel& m = s.wb.Model;
        m.Keq[1] = k == 0 ? 1.0 : 10.0;
        m.p[1] = 1;
        m.C[2] = 1e-3;
        m.C[3] = 0;
        m.C[4] = 1;
        test::Simulate(s.wb);
        ASSERT_TRUE(s.host.Messages.empty());
        halfWave[k] = s.HalfWave();
    }
    EXPECT_NEAR(halfWave[0], 0.1, 0.001);
    EXPECT_NEAR(halfWave[1] - halfWave[0], 8.31441 * 298.14 / 96484.6 * std::log(10.0), 0.001);
}

// Numerical inverse of a Laplace transform F(p) at time t by the Gaver-Stehfest sum (N = 14
// terms, good to about 1e-5 relative for smooth, non-oscillating originals).
template <class F>
double StehfestInverse(F&& transform, double t) {
    constexpr int N = 14;
    double sum = 0;
    for (int k = 1; k <= N; ++k) {
        double v = 0;
        for (int j = (k + 1) / 2; j <= std::min(k, N / 2); ++j)
            v += std::pow(j, N / 2) * std::tgamma(2 * j + 1) /
                 (std::tgamma(N / 2 - j + 1) * std::tgamma(j + 1) * std::tgamma(j) *
                  std::tgamma(k - j + 1) * std::tgamma(2 * j - k + 1));
        sum += ((k + N / 2) % 2 ? -1 : 1) * v * transform(k * std::log(2.0) / t);
    }
    return sum * std::log(2.0) / t;
}

// The largest current of the stored curve and its potential.
std::pair<double, double> Peak(const Sim& s) {
    int peak = 1;
    for (int i = 1; i <= s.N(); ++i)
        if (s.wb.Curves.Y(i, 1) > s.wb.Curves.Y(peak, 1)) peak = i;
    return {s.wb.Curves.Y(peak, 1), s.wb.Curves.X(peak)};
}

// Currents against closed-form electrochemistry, on the road each case names. Sheet defaults:
// E0' = 0.1 V, n = 1, D = 1e-5 cm^2/s, 1 mM of A, 1 cm^2, 10 mV/s, 25 °C.
TEST(ClosedFormLimits, CurrentsFollowTheTextbookFormulas) {
    const double F = 96484.6, R = 8.31441, D = 1e-5;
    struct Case {
        std::string name;
        int road;  // 0 closed form, 1 digital, 2 refined closed form
        std::vector<std::pair<std::string, std::string>> sheet;  // NAME or NAME(ROW), text
        int technique, electrode, mechanism;
        bool peak;  // the largest current, else the current at the last point
        // The expected current (A) from the collected model and its start concentration C
        // (mol/cm^3); the expected peak potential or NAN.
        std::function<std::pair<double, double>(const ParameterModel&, double C)> theory;
        double rel;
    };
    auto rtf = [&](const ParameterModel& m) { return R * m.Temperature / F; };
    // Irreversible sweep: 0.4958 nFAC sqrt(alpha nFvD/RT) at
    // Ep = E0' - RT/(alpha nF) (0.780 + ln(sqrt(D)/ks) + ln sqrt(alpha nFv/RT)).
    auto irreversible = [&](const ParameterModel& m, double C) {
        const double b = 0.5 * m.ScanRate / rtf(m);
        const double ep =
            0.1 - rtf(m) / 0.5 * (0.780 + std::log(std::sqrt(D) / 1e-6) + 0.5 * std::log(b));
        return std::pair{0.4958 * F * m.Area * C * std::sqrt(b * D), ep};
    };
    auto levich = [&](const ParameterModel& m, double C) {
        const double omega = 2 * kPiExact * 1000 / 60;
        return std::pair{0.620 * F * m.Area * std::pow(D, 2.0 / 3) * std::sqrt(omega) *
                             std::pow(m.Viscosity, -1.0 / 6) * C,
                         NAN};
    };
    auto randlesSevcik = [&](const ParameterModel& m, double C) {
        return std::pair{0.4463 * F * m.Area * C * std::sqrt(m.ScanRate * D / rtf(m)), NAN};
    };
    std::vector<Case> cases = {
        {"irreversible sweep",
         1,
         {{"ks(1)", "1e-6"}, {"Eend", "-0.6"}, {"Estep", "0.001"}},
         1,
         1,
         1,
         true,
         irreversible,
         0.01},
        {"refined irreversible sweep",
         2,
         {{"ks(1)", "1e-6"}, {"Eend", "-0.6"}, {"Estep", "0.001"}},
         1,
         1,
         1,
         true,
         irreversible,
         3e-3},
        // Refined normal pulse: Cottrell at tpulse on the plateau, nFAC sqrt(D / (pi tp)).
        {"refined normal pulse",
         2,
         {},
         3,
         1,
         1,
         false,
         [&](const ParameterModel& m, double C) {
             return std::pair{F * m.Area * C * std::sqrt(D / (kPiExact * m.tpulse)), NAN};
         },
         5e-3},
        // Refined differential pulse: Nernstian step responses superposed, the pulse after a
        // hold of td - tp at E, minus the end of the hold; its largest value over the staircase.
        {"refined differential pulse",
         2,
         {},
         4,
         1,
         1,
         true,
         [&](const ParameterModel& m, double C) {
             auto s = [&](double E, double t) {
                 return F * m.Area * C * std::sqrt(D / (kPiExact * t)) /
                        (1 + std::exp((E - 0.1) / rtf(m)));
             };
             const double tp = m.tpulse, hold = m.tdrop - tp;
             double best = 0, at = 0;
             for (int i = 0; i <= 120; ++i) {
                 const double E = 0.3 - 0.005 * i;
                 const double d = s(E, hold + tp) + s(E + m.Epulse, tp) - s(E, tp) - s(E, hold);
                 if (d > best) best = d, at = E;
             }
             return std::pair{best, at};
         },
         1e-2},
        {"sweep at 50 °C", true, {{"txttemp", "50"}}, 1, 1, 1, true, randlesSevcik, 0.01},
        // Long-time DC current of a cylinder: nFADC/r times the inverse Laplace transform of
        // K1(sqrt p) / (sqrt p K0(sqrt p)) at tau = Dt/r^2.
        {"cylinder, tau = 10",
         true,
         {{"radius", "0.001"}, {"td", "1"}},
         2,
         5,
         1,
         false,
         [&](const ParameterModel& m, double C) {
             const double tau = D * m.tdrop / (m.Radius * m.Radius);
             const double psi = StehfestInverse(
                 [](double p) {
                     const double q = std::sqrt(p);
                     return std::cyl_bessel_k(1.0, q) / (q * std::cyl_bessel_k(0.0, q));
                 },
                 tau);
             return std::pair{F * m.Area * D * C / m.Radius * psi, NAN};
         },
         0.01},
        // Closed form, sphere: Cottrell plus the steady state, nFAC (sqrt(D / (pi td)) + D / r).
        {"sphere DC",
         false,
         {{"radius", "0.01"}, {"td", "1"}},
         2,
         2,
         1,
         false,
         [&](const ParameterModel& m, double C) {
             return std::pair{F * m.Area * C * (std::sqrt(D / (kPiExact * m.tdrop)) + D / m.Radius),
                              NAN};
         },
         1e-3},
        // Closed form, differential pulse (pulse -50 mV, 50 ms): the calibrated difference of
        // two Nernstian step responses, 1.755 nFAC sqrt(D/pi) (1/sqrt(t2) / (1 + theta(E + dE)) -
        // 1/sqrt(tp) / (1 + theta(E))), the pulsed sample at t2 = tp ((td + tp)/td)^0.15; its
        // largest value over E.
        {"differential pulse",
         false,
         {},
         4,
         1,
         1,
         true,
         [&](const ParameterModel& m, double C) {
             const double tp = m.tpulse, t2 = tp * std::pow((m.tdrop + tp) / m.tdrop, 0.15);
             auto nernst = [&](double E) { return 1 / (1 + std::exp((E - 0.1) / rtf(m))); };
             double best = 0, at = 0;
             for (double E = 0.3; E > -0.3; E -= 1e-5) {
                 const double d = nernst(E + m.Epulse) / std::sqrt(t2) - nernst(E) / std::sqrt(tp);
                 if (d > best) best = d, at = E;
             }
             return std::pair{1.755 * F * m.Area * C * std::sqrt(D / kPiExact) * best, at};
         },
         5e-3},
        // Closed form, square wave: 2.47 nFAC sqrt(D / (pi tp)) tanh(nF |Epulse| / 2RT) at E0'.
        {"square wave",
         false,
         {},
         5,
         1,
         1,
         true,
         [&](const ParameterModel& m, double C) {
             return std::pair{2.47 * F * m.Area * C * std::sqrt(D / (kPiExact * m.tpulse)) *
                                  std::tanh(std::fabs(m.Epulse) / (2 * rtf(m))),
                              0.1};
         },
         5e-3},
        // Closed form, thin film of thickness L: the thin-layer peak n^2 F^2 v A L C / (4RT).
        {"thin film sweep",
         false,
         {{"leng", "0.001"}, {"Estep", "0.001"}},
         1,
         7,
         1,
         true,
         [&](const ParameterModel& m, double C) {
             return std::pair{F * m.ScanRate * m.Area * m.Length * C / (4 * rtf(m)), NAN};
         },
         0.01},
        // Closed form, rotating disk: Levich, 0.620 nFA D^(2/3) omega^(1/2) nu^(-1/6) C.
        {"rotating disk DC", 0, {{"TextRrate", "1000"}}, 2, 8, 1, false, levich, 1e-3},
        // Refined microdisc of radius r: the steady state 4nFDCr at 4Dt/r^2 = 4e7.
        {"refined microdisc DC",
         2,
         {{"radius", "1e-4"}, {"td", "1e4"}},
         2,
         4,
         1,
         false,
         [&](const ParameterModel& m, double C) {
             return std::pair{4 * F * D * C * m.Radius, NAN};
         },
         5e-3},
        {"refined rotating disk sweep", 2, {{"TextRrate", "1000"}}, 1, 8, 1, false, levich, 5e-3},
    };
    // EC' with B -> A at k and D(A) = D(B): i = nFAC sqrt(Dk) (erf sqrt(kt) + exp(-kt) /
    // sqrt(pi kt)) at the drop time t, the plateau nFAC sqrt(Dk) at kt >= 5.
    auto catalytic = [&](const ParameterModel& m, double C) {
        const double k = m.kf[1], kt = k * m.tdrop;
        return std::pair{F * m.Area * C * std::sqrt(D * k) *
                             (std::erf(std::sqrt(kt)) + std::exp(-kt) / std::sqrt(kPiExact * kt)),
                         NAN};
    };
    for (const char* k : {"1", "10", "100"})
        cases.push_back({"EC'",
                         true,
                         {{"kf(1)", k}, {"kb(1)", "0"}, {"td", "5"}},
                         2,
                         1,
                         9,
                         false,
                         catalytic,
                         0.01});
    // Refined accuracy: the plateaus of DC at tdrop and of normal pulse at tpulse are Cottrell's
    // nFAC sqrt(D / (pi t)) at the sampling time.
    for (int technique : {2, 3})
        cases.push_back({"refined",
                         true,
                         {{"CheckRefined", "1"}},
                         technique,
                         1,
                         1,
                         false,
                         [&](const ParameterModel& m, double C) {
                             const double t = m.Technique == 2 ? m.tdrop : m.tpulse;
                             return std::pair{F * m.Area * C * std::sqrt(D / (kPiExact * t)), NAN};
                         },
                         0.005});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + (c.mechanism == 9 ? " k = " + c.sheet[0].second : "") +
                     " technique " + std::to_string(c.technique));
        Sim s;
        s.wb.Input.SetChecked("CheckDigital", c.road == 1);
        s.wb.Input.SetChecked("CheckRefined", c.road == 2);
        s.wb.Input.Select("optTech", c.technique);
        s.wb.Input.Select("optElectrode", c.electrode);
        s.wb.Input.Select("mech", c.mechanism);
        ActivateSheet(s.wb);
        for (const auto& [field, text] : c.sheet) {
            const size_t open = field.find('(');
            const int row = open == std::string::npos ? kNoRow : std::stoi(field.substr(open + 1));
            if (field == "CheckRefined")
                s.wb.Input.SetChecked("CheckRefined", text == "1");
            else
                s.Set(field.substr(0, open).c_str(), text.c_str(), row);
        }
        s.Run();
        ASSERT_TRUE(s.host.Messages.empty()) << s.host.Messages.front();
        const ParameterModel& m = s.wb.Model;
        const double C = std::stod(s.wb.Input.CaptionOf("Cinit", 1)) / 1000;
        const std::pair<double, double> expected = c.theory(m, C);
        const auto [current, potential] =
            c.peak ? Peak(s) : std::pair{s.wb.Curves.Y(s.N(), 1), s.wb.Curves.X(s.N())};
        EXPECT_REL_NEAR(current, expected.first, c.rel);
        if (!std::isnan(expected.second)) {
            EXPECT_NEAR(potential, expected.second, 0.002);
        }
    }
}

}  // namespace
}  // namespace zemra
