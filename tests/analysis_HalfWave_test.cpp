#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "TestSupport.h"
#include "analysis/HalfWave.h"
#include "platform/NumberText.h"
#include "platform/ResultWindow.h"

namespace zemra {
namespace {

constexpr double kF = 96485.0 / (8.314 * 298.15);  // F/RT at 25 C, 1/V

// A reversible reduction wave I = Id / (1 + exp(nf (E - E1/2))) scanned from e0 in steps of
// `step` (negative: towards negative potentials), in curve c.
void ReductionWave(Workbench& wb, int c, int points, double e0, double step, double eHalf,
                   double id, int n = 1) {
    wb.Curves.NoOfData = points;
    wb.Curves.NoOfCurves = std::max(wb.Curves.NoOfCurves, c);
    for (int i = 1; i <= points; ++i) {
        const double e = e0 + (i - 1) * step;
        wb.Curves.X(i) = e;
        wb.Curves.Y(i, c) = id / (1 + std::exp(n * kF * (e - eHalf)));
    }
}

// The band |I - Id/2| <= 0.05 Id/2 of this wave is |E - E1/2| <= 2 atanh(0.05) / nf; the first
// point of the scan inside it.
double FirstPointInBand(const Workbench& wb, double eHalf, int n = 1) {
    const double halfWidth = 2 * std::atanh(0.05) / (n * kF);
    for (int i = 1; i <= wb.Curves.NoOfData; ++i)
        if (std::fabs(wb.Curves.X(i) - eHalf) <= halfWidth) return wb.Curves.X(i);
    return NAN;
}

std::string Line(int c, double e, double id) {
    return PrintLine("Peak ")
        .Num(c)
        .Text(": ")
        .Zone()
        .Text("E1/2 = ")
        .Num(e)
        .Zone()
        .Text("Id = ")
        .Num(id)
        .Str();
}

TEST(FindHalfwaveE, ReversibleWaveGivesItsHalfWavePotentialWithinAStep) {
    test::Bench b;
    // 0.3 V to -0.3 V in 1 mV steps, E1/2 = -0.0404 V between two points, Id = 5 uA.
    ReductionWave(b.wb, 1, 601, 0.3, -0.001, -0.0404, 5e-6);
    mnuFindHalfwaveE(b.wb);
    ASSERT_EQ(b.wb.Result.Lines.size(), 1u);
    const std::string& line = b.wb.Result.Lines[0];
    EXPECT_EQ(line.substr(0, 14), "Peak  1 :     ");
    const double e = Val(line.substr(line.find("E1/2 = ") + 7));
    const double id = Val(line.substr(line.find("Id = ") + 5));
    EXPECT_NEAR(e, FirstPointInBand(b.wb, -0.0404), 1e-12);
    EXPECT_LE(std::fabs(e - -0.0404), 0.001 + 2 * std::atanh(0.05) / kF);
    // The plateau at -0.3 V and the foot at 0.3 V lie within 1e-4 of Id and of 0.
    EXPECT_REL_NEAR(id, 5e-6, 1e-4);
    EXPECT_TRUE(b.wb.Result.Shown);
}

TEST(FindHalfwaveE, CathodicCurveGivesTheSameLine) {
    test::Bench anodic, cathodic;
    ReductionWave(anodic.wb, 1, 301, 0.2, -0.002, 0.01, 2e-6, 2);
    ReductionWave(cathodic.wb, 1, 301, 0.2, -0.002, 0.01, -2e-6, 2);
    FindHalfwaveE(anodic.wb);
    FindHalfwaveE(cathodic.wb);
    EXPECT_EQ(cathodic.wb.Result.Lines, anodic.wb.Result.Lines);
    EXPECT_EQ(anodic.wb.Result.Lines[0],
              Line(1, FirstPointInBand(anodic.wb, 0.01, 2),
                   anodic.wb.Curves.Y(301, 1) - anodic.wb.Curves.Y(1, 1)));
}

TEST(FindHalfwaveE, CoarseGridWithNoPointInTheBandSaysNotFoundPerCurve) {
    test::Bench b;
    // Curve 1 on 1 mV steps has its E1/2; curve 2 shares the axis but jumps from 10 % to 90 %
    // of its height between two points, so none lies within 47.5..52.5 %.
    ReductionWave(b.wb, 1, 201, 0.1, -0.001, 0.0, 4e-6);
    b.wb.Curves.NoOfCurves = 2;
    for (int i = 1; i <= 201; ++i)
        b.wb.Curves.Y(i, 2) = i <= 100 ? 0.4e-6 : (i == 101 ? 1e-6 : 3.6e-6);
    b.wb.Curves.Y(1, 2) = 0;
    b.wb.Curves.Y(201, 2) = 4e-6;
    FindHalfwaveE(b.wb);
    ASSERT_EQ(b.wb.Result.Lines.size(), 2u);
    EXPECT_EQ(b.wb.Result.Lines[1], PrintLine("Peak ")
                                        .Num(2)
                                        .Text(": ")
                                        .Zone()
                                        .Text("E1/2 = not found")
                                        .Zone()
                                        .Text("Id = ")
                                        .Num(4e-6)
                                        .Str());
}

TEST(FindHalfwaveE, PeakedCurveTakesTheRisingSide) {
    test::Bench b;
    // A peak of 10 on a base of 0: the rising side passes 5 at point 6, the falling side at 14.
    b.wb.Curves.NoOfData = 20;
    b.wb.Curves.NoOfCurves = 1;
    const double y[] = {0, 1, 2, 3, 4, 5, 6, 8, 10, 9, 8, 7, 6, 5, 4, 4, 4, 4, 4, 4};
    for (int i = 1; i <= 20; ++i) {
        b.wb.Curves.X(i) = 0.01 * i;
        b.wb.Curves.Y(i, 1) = y[i - 1];
    }
    FindHalfwaveE(b.wb);
    EXPECT_EQ(b.wb.Result.Lines[0], Line(1, b.wb.Curves.X(6), 10));
}

TEST(ArrayMaxMin, LookOnlyAtPointsOneToNoOfData) {
    Array1<kRows> a;
    a(0) = 100;
    a(1) = 3;
    a(2) = 7;
    a(3) = -2;
    a(4) = 50;
    EXPECT_EQ(ArrayMax(a, 3), 7.0);
    EXPECT_EQ(ArrayMin(a, 3), -2.0);
    EXPECT_EQ(ArrayMax(a, 1), 3.0);
    EXPECT_EQ(ArrayMin(a, 1), 3.0);
}

// ---- Simulated DC voltammograms ------------------------------------------------------------------

struct DcCase {
    bool digital;
    const char* dRed;  // D of B, cm2/s; E1/2 = E0' + RT/2F ln(D_B / D_A)
};
class SimulatedDcWave : public ::testing::TestWithParam<DcCase> {};

TEST_P(SimulatedDcWave, HalfWavePotentialWithinAStepOfTheReversibleValue) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckDigital", GetParam().digital);
    b.wb.Input.Select("optTech", 2);
    TechOK(b.wb);
    b.wb.Input.SetText("D", 2, GetParam().dRed);
    mnuSimulate(b.wb);
    ASSERT_TRUE(b.host.Messages.empty());
    b.wb.Result.Clear();
    mnuFindHalfwaveE(b.wb);
    ASSERT_EQ(b.wb.Result.Lines.size(), 1u);
    const std::string& line = b.wb.Result.Lines[0];
    const double e = Val(line.substr(line.find("E1/2 = ") + 7));
    const double eRev = 0.1 + std::log(Val(GetParam().dRed) / 1e-5) / (2 * kF);
    EXPECT_NEAR(e, eRev, 0.005);  // the sheet's 5 mV step
    if (!GetParam().digital) {
        // Closed-form DC at a planar electrode: the plateau is the Cottrell current at the drop
        // time (0.5 s), nFAC sqrt(D / pi t), less a foot of 4e-4 of it at 0.3 V.
        const double id = Val(line.substr(line.find("Id = ") + 5));
        EXPECT_REL_NEAR(id, 96485.0 * 1e-6 * std::sqrt(1e-5 / (std::numbers::pi * 0.5)), 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, SimulatedDcWave,
                         ::testing::Values(DcCase{false, "1e-5"}, DcCase{false, "4e-5"},
                                           DcCase{true, "1e-5"}));

}  // namespace
}  // namespace zemra
