#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "analysis/PeakFinding.h"
#include "platform/NumberText.h"
#include "platform/ResultWindow.h"

namespace zemra {
namespace {

// Lines of the result window that start with `label`.
int Count(const Workbench& wb, const std::string& label) {
    return static_cast<int>(std::count_if(wb.Result.Lines.begin(), wb.Result.Lines.end(),
                                          [&](const auto& l) { return l.rfind(label, 0) == 0; }));
}

// The number after `label` in the first line that starts with it.
double Value(const Workbench& wb, const std::string& label) {
    for (const auto& l : wb.Result.Lines)
        if (l.rfind(label, 0) == 0) return Val(l.substr(label.size()));
    ADD_FAILURE() << "no line " << label;
    return NAN;
}

std::string PeakLine(int k, double e, double i) {
    PrintLine line("Peak ");
    line.Num(k).Text(":").Zone().Text("Ep = ").Num(e);
    return line.Zone().Text("Ip = ").Num(i).Str();
}

// A store of `points` points on the grid E = e0 + (i - 1) step, scan structure and plot range
// set as a simulation and its plot would leave them.
struct PeakBench {
    test::Bench b;
    Workbench& wb = b.wb;

    PeakBench(int points, double e0, double step, double scanCycles = 0.5) {
        wb.Curves.NoOfData = wb.Curves.LastPoint = points;
        wb.Curves.FirstPoint = wb.Curves.NoOfCurves = 1;
        for (int i = 1; i <= points; ++i) wb.Curves.X(i) = e0 + (i - 1) * step;
        wb.Model.ScanCycles = scanCycles;
        wb.Model.Technique = 1;
        wb.Model.Estep = std::fabs(step);
        wb.Res.PointsPerSweep = static_cast<int>(points / (2 * scanCycles));
        wb.Plot.Ymin = -1e-5;
        wb.Plot.Ymax = 1e-5;
    }
    // Adds h exp(-(i - centre)^2 / 2 w^2) (w in points) to curve c.
    void AddGaussian(int c, double centre, double h, double w = 6) {
        for (int i = 1; i <= wb.Curves.NoOfData; ++i)
            wb.Curves.Y(i, c) += h * std::exp(-(i - centre) * (i - centre) / (2 * w * w));
    }
    // Searches points 3..N-2 as the Find Peak command does.
    PeakTables Run() {
        PeakTables peaks;
        FindPeak(wb, wb.Curves.FirstPoint + 2, wb.Curves.LastPoint - 2, peaks);
        return peaks;
    }
};

// ---- Curves built in the test ---------------------------------------------------------------

TEST(FindPeak, GaussianOfEitherSignGivesOnePeakAtItsCentreAndItsArea) {
    for (const double h : {8e-6, -8e-6}) {
        PeakBench p(201, 0.5, -0.005);
        p.AddGaussian(1, 81, h);
        mnuFindPeak(p.wb);
        const auto& lines = p.wb.Result.Lines;
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Curve  1 :");
        EXPECT_EQ(lines[1], PeakLine(1, p.wb.Curves.X(81), h));
        // Area of the magnitude: |h| w sqrt(2 pi), w = 6 points of 5 mV, inside points 3..199.
        EXPECT_EQ(lines[2].substr(0, 14), "Peak Area =   ");
        EXPECT_REL_NEAR(Val(lines[2].substr(12)),
                        8e-6 * 6 * 0.005 * std::sqrt(2 * std::numbers::pi), 1e-9);
        EXPECT_TRUE(p.wb.Result.Shown);
    }
}

TEST(FindPeak, PeaksBelowTwoPercentOfThePlotRangeAreIgnored) {
    // 2 % of |1e-5 - (-1e-5)| is 4e-7.
    for (const auto& [height, found] : {std::pair{3.9e-7, 1}, {4.1e-7, 2}}) {
        PeakBench p(201, 0.5, -0.005);
        p.AddGaussian(1, 60, 9e-6);
        p.AddGaussian(1, 150, height);
        EXPECT_EQ(p.Run().NoOfPeaks, found) << height;
    }
}

TEST(FindPeak, PeakWithinFourPointsOfARangeEndIsNotFound) {
    // 100 points; first = 3 and last = 98 for the search, so the single sweep is searched at
    // 7..94 and a cycle (50 points per sweep) at 7..46 and 54..94.
    const struct {
        double scanCycles;
        int centre;
        bool found;
    } cases[] = {{0.5, 6, false}, {0.5, 7, true}, {0.5, 94, true}, {0.5, 95, false},
                 {1, 46, true},   {1, 47, false}, {1, 53, false},  {1, 54, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scanCycles << " cycles, centre " << c.centre);
        PeakBench p(100, 0.3, -0.01, c.scanCycles);
        p.AddGaussian(1, c.centre, 5e-6, 1.5);
        const PeakTables peaks = p.Run();
        ASSERT_EQ(peaks.NoOfPeaks, c.found ? 1 : 0);
        if (c.found) {
            EXPECT_EQ(peaks.PeakE(1, 1), p.wb.Curves.X(c.centre));
        }
    }
}

TEST(FindPeak, FlatTopOfTwoEqualPointsReportsBoth) {
    PeakBench p(100, 0.3, -0.01);
    const double shape[] = {1, 2, 3, 4, 5, 5, 4, 3, 2, 1};
    for (int j = 0; j < 10; ++j) p.wb.Curves.Y(40 + j, 1) = shape[j] * 1e-6;
    const PeakTables peaks = p.Run();
    ASSERT_EQ(peaks.NoOfPeaks, 2);
    EXPECT_EQ(peaks.PeakE(1, 1), p.wb.Curves.X(44));
    EXPECT_EQ(peaks.PeakE(2, 1), p.wb.Curves.X(45));
    EXPECT_EQ(peaks.PeakI(1, 1), peaks.PeakI(2, 1));
}

TEST(FindPeak, ThreeCurvesGiveThreeBlocksInOrder) {
    PeakBench p(201, 0.5, -0.005);
    p.wb.Curves.NoOfCurves = 3;
    for (int c = 1; c <= 3; ++c) p.AddGaussian(c, 50 * c, (4 + c) * 1e-6);
    p.Run();
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(p.wb.Result.Lines[3 * (c - 1)], "Curve  " + std::to_string(c) + " :");
        EXPECT_EQ(p.wb.Result.Lines[3 * c - 2], PeakLine(1, p.wb.Curves.X(50 * c), (4 + c) * 1e-6));
    }
    EXPECT_EQ(p.wb.Result.Lines.size(), 9u);
}

TEST(FindPeak, MoreThanTwentyPeaksListsTwentyAndSaysSo) {
    PeakBench p(400, 0.5, -0.0025);
    for (int j = 0; j < 25; ++j) p.AddGaussian(1, 12 + 15 * j, 5e-6, 1.5);
    const PeakTables peaks = p.Run();
    EXPECT_EQ(peaks.NoOfPeaks, 25);
    const auto& lines = p.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 1u + 20 + 1 + 1);
    EXPECT_EQ(lines[20], PeakLine(20, p.wb.Curves.X(12 + 15 * 19), peaks.PeakI(20, 1)));
    EXPECT_EQ(lines[21], "More than 20 peaks; the rest are not listed");
}

TEST(FindPeak, AreaOfACycleIsForwardMinusReverseSum) {
    // 100 points, 50 per sweep: +1 uA forward, -2 uA back. Points 3..50 forward sum 48 uA;
    // points 50..98 sum 1 - 48 * 2 = -95 uA; area (48 + 95) uA x 10 mV.
    PeakBench p(100, 0.3, -0.01, 1);
    for (int i = 1; i <= 100; ++i) p.wb.Curves.Y(i, 1) = i <= 50 ? 1e-6 : -2e-6;
    p.Run();
    EXPECT_EQ(p.wb.Result.Lines.back(), PrintLine("Peak Area = ").Zone().Num(143e-6 * 0.01).Str());
}

TEST(FindPeak, OneCycleWithTwoPeaksPrintsRatioAndSeparation) {
    // 100 points, 50 per sweep: an anodic forward and a cathodic reverse peak over 1 uA.
    PeakBench p(100, -0.2, 0.01, 1);
    for (int i = 1; i <= 100; ++i) p.wb.Curves.Y(i, 1) = 1e-6;
    p.AddGaussian(1, 25, 8e-6, 3);
    p.AddGaussian(1, 80, -6e-6, 3);
    const PeakTables peaks = p.Run();
    ASSERT_EQ(peaks.NoOfPeaks, 2);
    const double ip1 = peaks.PeakI(1, 1), ip2 = peaks.PeakI(2, 1);
    EXPECT_REL_NEAR(ip1, 9e-6, 1e-6);
    EXPECT_REL_NEAR(ip2, -5e-6, 1e-6);
    const double ratio =
        std::fabs(ip2 / ip1) + 0.485 * std::fabs(p.wb.Curves.Y(50, 1) / ip1) + 0.08;
    const auto& lines = p.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], PrintLine("I pc/I pa = ").Num(ratio).Str());
    EXPECT_EQ(lines[4], PrintLine("Ep2 - Ep1 = ").Num(p.wb.Curves.X(80) - p.wb.Curves.X(25)).Str());

    // No diagnostics for another technique, nor for a third peak.
    p.wb.Result.Clear();
    p.wb.Model.Technique = 2;
    p.Run();
    p.wb.Model.Technique = 1;
    p.AddGaussian(1, 65, 3e-6, 2);
    EXPECT_EQ(p.Run().NoOfPeaks, 3);
    EXPECT_EQ(Count(p.wb, "I pc/I pa"), 0);
}

TEST(FindPeak, EmptyStoreAndStaleScanStructureReadNothingOutside) {
    test::Bench b;
    mnuFindPeak(b.wb);  // nothing simulated: no curve, no line
    EXPECT_TRUE(b.wb.Result.Lines.empty());

    // A short imported curve after a long cyclic simulation, whose tail is still in the store.
    PeakBench p(30, 0.3, -0.01, 1);
    p.wb.Res.PointsPerSweep = 2000;
    p.AddGaussian(1, 15, 5e-6, 2);
    const double oldTail[] = {1, 2, 3, 4, 5, 4, 3, 2, 1};
    for (int j = 0; j < 9; ++j) p.wb.Curves.Y(96 + j, 1) = oldTail[j] * 1e-6;
    const PeakTables peaks = p.Run();
    EXPECT_EQ(peaks.NoOfPeaks, 1);
    EXPECT_EQ(peaks.PeakE(1, 1), p.wb.Curves.X(15));

    // Imported before any simulation: no scan mode (not a single sweep) and no sweep length, so
    // the switching point is 0, the second range starts at point 4 and the area is minus the
    // sum over points 0..28.
    PeakBench q(30, 0.3, -0.01);
    q.wb.Model.ScanCycles = 0;
    q.wb.Res.PointsPerSweep = 0;
    q.AddGaussian(1, 5, 5e-6, 1.5);
    EXPECT_EQ(q.Run().NoOfPeaks, 1);
    double sum = 0;
    for (int i = 1; i <= 28; ++i) sum += q.wb.Curves.Y(i, 1);
    EXPECT_EQ(q.wb.Result.Lines.back(), PrintLine("Peak Area = ").Zone().Num(-sum * 0.01).Str());
}

// ---- Simulated voltammograms ----------------------------------------------------------------

constexpr double kFrt = 96485.0 / (8.3145 * 298.15);  // F/RT at 25 C, 1/V

// The sheet's defaults (E0' = 0.1 V, 1 mM A, D = 1e-5 cm2/s, 1 cm2, 10 mV/s, fast kinetics) from
// 0.3 V to -0.3 V in 1 mV steps, simulated and plotted by the Simulate command, then searched.
struct SimulatedCv : test::Bench {
    SimulatedCv(bool digital, int scanEntry) {
        wb.Input.SetChecked("CheckDigital", digital);
        wb.Input.SetText("Estep", kNoRow, "0.001");
        wb.Input.SetListIndex("ComboScan", scanEntry);
        mnuSimulate(wb);
        wb.Result.Clear();
        mnuFindPeak(wb);
    }
};

TEST(SimulatedPeaks, OneReversibleCycleGivesTwoPeaksAndDiagnosticsTwoCyclesNone) {
    for (const bool digital : {false, true}) {
        SCOPED_TRACE(digital ? "digital" : "closed form");
        const SimulatedCv one(digital, 1), two(digital, 2);
        EXPECT_EQ(Count(one.wb, "Curve"), 1);
        EXPECT_EQ(Count(one.wb, "Peak  2 :"), 1);
        EXPECT_EQ(Count(one.wb, "Peak  3 :"), 0);
        // Reversible couple: Ep(reverse) - Ep(forward) = 2.218 RT/nF = 57.0 mV, here within the
        // 1 mV grid and the effect of the switching potential 400 mV past E1/2.
        EXPECT_NEAR(Value(one.wb, "Ep2 - Ep1 = "), 2.218 / kFrt, 0.003);
        // Nicholson's ratio is 1 for a chemically reversible couple (0.08 instead of 0.086).
        EXPECT_NEAR(Value(one.wb, "I pc/I pa = "), 1.0, 0.03);

        EXPECT_EQ(Count(two.wb, "Peak  4 :"), 1);
        EXPECT_EQ(Count(two.wb, "I pc/I pa") + Count(two.wb, "Ep2 - Ep1"), 0);
    }
}

// Charge (C) passed by the end of point k of the staircase X(1..k), one point per time step
// dt = Estep / v, by a reversible reduction at a planar electrode: Q = d^-1/2 m / dt^-1/2 with
// m = nFAC sqrt(D) / (1 + exp(nf (E - E0'))) the semi-integral of the current. m is constant
// on each step, and the semi-integral of a unit step at tj is 2 sqrt((t - tj) / pi).
double ReversibleCharge(const Workbench& wb, int k) {
    const double mLimit = 96485.0 * 1 * 1e-6 * std::sqrt(1e-5), dt = 0.001 / 0.01;
    double q = 0, previous = 0;
    for (int j = 1; j <= k; ++j) {
        const double m = mLimit / (1 + std::exp(kFrt * (wb.Curves.X(j) - 0.1)));
        q += (m - previous) * 2 * std::sqrt((k - (j - 1)) * dt / std::numbers::pi);
        previous = m;
    }
    return q;
}

// The areas are checked on the digital simulation, whose currents follow the scan rate; the
// closed-form sweep is a semi-derivative over the potential grid that does not.
TEST(SimulatedPeakArea, IsTheScanRateTimesTheChargeOfASweepOrOfACycle) {
    const SimulatedCv sweep(true, 0), cycle(true, 1);
    // Points 3..N-2 searched: v (Q(N-2) - Q(2)).
    const int n = sweep.wb.Curves.NoOfData;
    const double area = 0.01 * (ReversibleCharge(sweep.wb, n - 2) - ReversibleCharge(sweep.wb, 2));
    EXPECT_REL_NEAR(Value(sweep.wb, "Peak Area = "), area, 0.01);

    const int m = cycle.wb.Curves.NoOfData, npts = cycle.wb.Res.PointsPerSweep;
    const double forward = ReversibleCharge(cycle.wb, npts) - ReversibleCharge(cycle.wb, 2);
    const double reverse = ReversibleCharge(cycle.wb, m - 2) - ReversibleCharge(cycle.wb, npts - 1);
    // The simulated currents are within about 1 % of the reversible ones; the difference of the
    // two sweeps' charges is half their sum, so its error is doubled.
    EXPECT_REL_NEAR(Value(cycle.wb, "Peak Area = "), 0.01 * (forward - reverse), 0.02);
}

}  // namespace
}  // namespace zemra
