#include <gtest/gtest.h>

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

// Curve 1: a reversible reduction wave I = Id / (1 + exp(nf (E - E1/2))) scanned from e0 in
// steps of `step`.
void ReductionWave(Workbench& wb, int points, double e0, double step, double eHalf, double id,
                   int n = 1) {
    wb.Curves.NoOfData = points;
    wb.Curves.NoOfCurves = 1;
    for (int i = 1; i <= points; ++i) {
        wb.Curves.X(i) = e0 + (i - 1) * step;
        wb.Curves.Y(i, 1) = id / (1 + std::exp(n * kF * (wb.Curves.X(i) - eHalf)));
    }
}

// The number after `label` in `line`.
double After(const std::string& line, const std::string& label) {
    return Val(line.substr(line.find(label) + label.size()));
}

TEST(FindHalfwaveE, WaveOfEitherSignGivesTheFirstPointInTheBand) {
    // 0.3 V to -0.3 V in 1 mV steps, n = 2, E1/2 = -0.0404 V between two points, Id = 5 uA.
    test::Bench anodic, cathodic;
    ReductionWave(anodic.wb, 601, 0.3, -0.001, -0.0404, 5e-6, 2);
    ReductionWave(cathodic.wb, 601, 0.3, -0.001, -0.0404, -5e-6, 2);
    mnuFindHalfwaveE(anodic.wb);
    mnuFindHalfwaveE(cathodic.wb);
    // The band |I - Id/2| <= 0.05 Id/2 of this wave is |E - E1/2| <= 2 atanh(0.05) / nf; the
    // scan enters it from the positive side.
    const double halfWidth = 2 * std::atanh(0.05) / (2 * kF);
    const double e = -0.0404 + halfWidth;
    ASSERT_EQ(anodic.wb.Result.Lines.size(), 1u);
    const std::string& line = anodic.wb.Result.Lines[0];
    EXPECT_EQ(line.substr(0, 14), "Peak  1 :     ");
    EXPECT_LE(After(line, "E1/2 = "), e);
    EXPECT_GT(After(line, "E1/2 = "), e - 0.001);
    // The plateau at -0.3 V and the foot at 0.3 V lie within 1e-4 of Id and of 0.
    EXPECT_REL_NEAR(After(line, "Id = "), 5e-6, 1e-4);
    EXPECT_EQ(cathodic.wb.Result.Lines, anodic.wb.Result.Lines);
    EXPECT_TRUE(anodic.wb.Result.Shown);
}

TEST(FindHalfwaveE, CoarseGridWithNoPointInTheBandSaysNotFoundPerCurve) {
    // Curve 1 on 1 mV steps has its E1/2; curve 2 shares the axis but jumps from 10 % to 90 %
    // of its height between two points, so none lies within 47.5..52.5 %.
    test::Bench b;
    ReductionWave(b.wb, 201, 0.1, -0.001, 0.0, 4e-6);
    b.wb.Curves.NoOfCurves = 2;
    for (int i = 1; i <= 201; ++i) b.wb.Curves.Y(i, 2) = i <= 100 ? 0.4e-6 : 3.6e-6;
    b.wb.Curves.Y(1, 2) = 0;
    b.wb.Curves.Y(201, 2) = 4e-6;
    FindHalfwaveE(b.wb);
    ASSERT_EQ(b.wb.Result.Lines.size(), 2u);
    EXPECT_EQ(b.wb.Result.Lines[1],
              PrintLine("Peak  2 :     E1/2 = not found").Zone().Text("Id = ").Num(4e-6).Str());
}

TEST(FindHalfwaveE, SimulatedDcWaveIsWithinAStepOfTheReversibleHalfWavePotential) {
    const struct {
        bool digital;
        const char* dRed;  // D of B, cm2/s; E1/2 = E0' + RT/2F ln(D_B / D_A)
    } cases[] = {{false, "1e-5"}, {false, "4e-5"}, {true, "1e-5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.digital ? "digital, " : "closed form, ") << c.dRed);
        test::Bench b;
        b.wb.Input.SetChecked("CheckDigital", c.digital);
        b.wb.Input.Select("optTech", 2);
        TechOK(b.wb);
        b.wb.Input.SetText("D", 2, c.dRed);
        mnuSimulate(b.wb);
        ASSERT_TRUE(b.host.Messages.empty());
        b.wb.Result.Clear();
        mnuFindHalfwaveE(b.wb);
        ASSERT_EQ(b.wb.Result.Lines.size(), 1u);
        const std::string& line = b.wb.Result.Lines[0];
        const double eRev = 0.1 + std::log(Val(c.dRed) / 1e-5) / (2 * kF);
        EXPECT_NEAR(After(line, "E1/2 = "), eRev, 0.005);  // the sheet's 5 mV step
        // Closed-form DC at a planar electrode: the plateau is the Cottrell current at the drop
        // time (0.5 s), nFAC sqrt(D / pi t), less a foot of 4e-4 of it at 0.3 V.
        if (!c.digital) {
            EXPECT_REL_NEAR(After(line, "Id = "),
                            96485.0 * 1e-6 * std::sqrt(1e-5 / (std::numbers::pi * 0.5)), 1e-3);
        }
    }
}

}  // namespace
}  // namespace zemra
