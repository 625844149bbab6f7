#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/Collection.h"
#include "simulation/SignalProcessing.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// A total current in column 2 over a staircase of n points per sweep from 0.3 V downwards.
struct Signal {
    ParameterModel m;
    Results res;
    Array1<kRows> X;
    int n = 0;
    Signal(int perSweep, double cycles, int technique = 1) {
        m.Technique = technique;
        m.ScanCycles = cycles;
        m.Cdl = 2e-5;
        m.Area = 0.5;
        m.ScanRate = 0.1;
        res.TotalColumn = 2;
        res.PointsPerSweep = perSweep;
        res.ScanSign = -1;
        n = static_cast<int>(2 * perSweep * cycles);
        for (int i = 1; i <= perSweep; ++i) X(i) = 0.3 - 0.01 * (i - 1);
        for (int i = perSweep + 1; i <= n && i <= 2 * perSweep; ++i) X(i) = X(2 * perSweep + 1 - i);
        for (int i = 2 * perSweep + 1; i <= n; ++i) X(i) = X(i - 2 * perSweep);
    }
    double Ic() const { return 2e-5 * 0.5 * 0.1; }
};

TEST(ChargingCurrent, FollowsTheSweepsAndTheTechnique) {
    // Ic = Cdl A v: +Ic on every cathodic sweep and -Ic on every anodic one, nothing without
    // capacitance; the DC technique grows from the start potential as (X(1) - X(i)) Ic.
    const struct {
        int technique;
        double cycles, cdl;
        std::function<double(const Signal&, int)> expected;
    } cases[] = {
        {1, 0.5, 2e-5, [](const Signal& s, int) { return s.Ic(); }},
        {1, 0.5, 0, [](const Signal&, int) { return 0.0; }},
        {2, 0.5, 2e-5, [](const Signal& s, int i) { return (s.X(1) - s.X(i)) * s.Ic(); }},
        {1, 2, 2e-5, [](const Signal& s, int i) { return (i - 1) / 10 % 2 ? -s.Ic() : s.Ic(); }},
    };
    for (const auto& c : cases) {
        Signal s(10, c.cycles, c.technique);
        s.m.Cdl = c.cdl;
        AddChargingCurrent(s.m, s.X, s.n, s.res);
        for (int i = 1; i <= s.n; ++i)
            EXPECT_RELABS_NEAR(s.res.Icomp(i, 2), c.expected(s, i), 1e-12, 1e-24)
                << "technique " << c.technique << " cycles " << c.cycles << " point " << i;
    }
}

TEST(SignalRange, DominantExtremeIsTheLargerMagnitude) {
    Signal s(10, 0.5);
    PlotSettings plot{0, 0, -5, 5};
    EXPECT_EQ(FindSignalRange(s.res, s.n, plot), 0.0);  // no current: a zero range
    EXPECT_EQ(plot.Ymax, 0.0);
    EXPECT_EQ(plot.Ymin, 0.0);
    s.res.Icomp(3, 2) = 2e-6;
    s.res.Icomp(7, 2) = -5e-6;
    EXPECT_EQ(FindSignalRange(s.res, s.n, plot), -5e-6);
    EXPECT_EQ(plot.Ymax, 2e-6);
    EXPECT_EQ(plot.Ymin, -5e-6);
    s.res.Icomp(3, 2) = 6e-6;
    EXPECT_EQ(FindSignalRange(s.res, s.n, plot), 6e-6);
}

TEST(Noise, ReproducibleGaussianOfTheGivenLevel) {
    Signal a(2000, 1);
    a.m.Noise = 10;
    AddNoise(a.m, a.n, 1e-3, false, a.res);
    // The generator s := (24298 s + 99991) mod 199017 + 1 from s = 2 NoOfData; each point takes
    // a radius draw and an angle draw.
    double seed = 2.0 * a.n;
    auto draw = [&] { return seed = std::fmod(seed * 24298 + 99991, 199017) + 1; };
    double sum = 0, sum2 = 0;
    for (int i = 1; i <= a.n; ++i) {
        double g = std::sqrt(2 * std::log(199017 / draw()));
        g *= std::cos(6.283185308 * draw() / 199017);
        EXPECT_EQ(a.res.Icomp(i, 2), 10 * g * 1e-3 * 0.0025) << i;  // Noise g Xm 0.0025
        sum += a.res.Icomp(i, 2);
        sum2 += a.res.Icomp(i, 2) * a.res.Icomp(i, 2);
    }
    // Standard deviation Noise * 0.0025 * extreme = 2.5e-5 A, mean 0.
    const double mean = sum / a.n;
    EXPECT_REL_NEAR(std::sqrt(sum2 / a.n - mean * mean), 2.5e-5, 0.1);
    EXPECT_LT(std::fabs(mean), 0.1 * 2.5e-5);
    // Never while fitting, nor without a noise level or a signal.
    const struct {
        double noise, extreme;
        bool fitting;
    } cases[] = {{10, 1e-3, true}, {0, 1e-3, false}, {10, 0, false}};
    for (const auto& c : cases) {
        Signal s(50, 0.5);
        s.m.Noise = c.noise;
        AddNoise(s.m, s.n, c.extreme, c.fitting, s.res);
        for (int i = 1; i <= s.n; ++i) EXPECT_EQ(s.res.Icomp(i, 2), 0.0);
    }
}

// A workbench with a fake simulation result of n points: total current and surface
// concentrations, and the store's range set as the driver leaves it.
struct Output : test::Bench {
    explicit Output(int n = 5) {
        CollectParameters(wb.Model, wb.Input);
        wb.Res.TotalColumn = 2;
        for (int i = 1; i <= n; ++i) {
            wb.Res.Icomp(i, 2) = 1e-6 * i;
            wb.Res.Csurf(i, 1) = 1e-3 / i;
            wb.Res.Csurf(i, 2) = 1e-3 - 1e-3 / i;
        }
        NewCurveSlot(wb.Curves, false, false);
        wb.Curves.FirstPoint = 1;
        wb.Curves.LastPoint = n;
        wb.Curves.NoOfData = n;
    }
    void Quantity(const char* text) {
        const auto& entries = wb.Input.Get("ComboY").Entries;
        for (size_t k = 0; k < entries.size(); ++k)
            if (entries[k] == text) wb.Input.SetListIndex("ComboY", static_cast<int>(k));
    }
    // Area 1 cm^2, electrolyte of conductivity 100 at concentration c, distance d, no surface
    // species.
    void UnitCell(const char* distance, const char* c) {
        wb.Input.SetText("ARE", "1");
        wb.Input.SetText("TextElectrolyteC", c);
        wb.Input.SetText("TextElectrolyteCond", "100");
        wb.Input.SetText("TextDis", distance);
        wb.Res.Csurf.Fill(0);
    }
};

TEST(OutputQuantity, CurrentAndSurfaceConcentrationCopyTheResults) {
    Output current, conc;
    current.wb.Curves.NoOfCurves = 4;
    ComputeOutputQuantity(current.wb);
    EXPECT_EQ(current.wb.Curves.NoOfCurves, current.wb.Curves.NewCurve);
    conc.Quantity(YQuantityCaption(YQuantity::SurfaceConcentration));
    ComputeOutputQuantity(conc.wb);
    EXPECT_EQ(conc.wb.Curves.NoOfCurves, 2);  // mechanism 1: A and B
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(current.wb.Curves.Y(i, 1), current.wb.Res.Icomp(i, 2));
        EXPECT_EQ(conc.wb.Curves.Y(i, 1), conc.wb.Res.Csurf(i, 1));
        EXPECT_EQ(conc.wb.Curves.Y(i, 2), conc.wb.Res.Csurf(i, 2));
    }
}

TEST(OutputQuantity, ResistanceAndConductanceOfAUnitCell) {
    // Doubling the distance doubles R and halves the conductance. A distance that is no
    // non-zero number, or a solution without electrolyte, is refused and leaves the store.
    const char* const badDistance = "Input Error: Dis (cm) must be a non-zero number";
    const struct {
        const char *quantity, *distance, *electrolyte;
        double expected;
        const char* message;
    } cases[] = {
        {YQuantityCaption(YQuantity::Resistance), "1", "0.01", 1.0, ""},
        {YQuantityCaption(YQuantity::Conductance), "1", "0.01", 1.0, ""},
        {YQuantityCaption(YQuantity::Resistance), "2", "0.01", 2.0, ""},
        {YQuantityCaption(YQuantity::Conductance), "2", "0.01", 0.5, ""},
        {YQuantityCaption(YQuantity::Resistance), "abc", "0.01", 0, badDistance},
        {YQuantityCaption(YQuantity::Conductance), "0", "0.01", 0, badDistance},
        {YQuantityCaption(YQuantity::Resistance), "", "0.01", 0, badDistance},
        {YQuantityCaption(YQuantity::Resistance), "1", "0", 0, "Output Error: Division by zero"},
    };
    for (const auto& c : cases) {
        Output o;
        o.Quantity(c.quantity);
        o.UnitCell(c.distance, c.electrolyte);
        o.wb.Curves.Y(2, 1) = 42;
        o.wb.Curves.NoOfCurves = 3;
        const std::string message = ComputeOutputQuantity(o.wb);
        const std::string what = std::string(c.quantity) + " at " + c.distance + " cm";
        EXPECT_EQ(message, c.message) << what;
        if (*c.message) {
            EXPECT_EQ(o.wb.Curves.Y(2, 1), 42.0) << what;
            EXPECT_EQ(o.wb.Curves.NoOfCurves, 3) << what;
            continue;
        }
        EXPECT_TRUE(o.host.Messages.empty()) << what;
        for (int i = 1; i <= 5; ++i)
            EXPECT_REL_NEAR(o.wb.Curves.Y(i, 1), c.expected, 1e-12) << what;
    }
}

}  // namespace
}  // namespace zemra
