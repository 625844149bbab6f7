#include <cmath>
#include <functional>

#include "commands/CurveCommands.h"
#include "curves/Plot.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Three curves over four points, Y(i, c) = c i 1e-6; curve 2 is the current one.
const std::vector<double> kX = {-0.1, 0.1, 0.3, 0.5};
const std::vector<std::vector<double>> kY = {
    {1e-6, 2e-6, 3e-6, 4e-6}, {2e-6, 4e-6, 6e-6, 8e-6}, {3e-6, 6e-6, 9e-6, 12e-6}};

void ThreeCurves(Workbench& wb) {
    test::SetCurves(wb, kX, kY);
    wb.Curves.CurveNo = 2;
}

TEST(NextCurve, StepsThroughTheCurvesAndWrapsWithoutRedrawing) {
    test::Bench b;
    b.wb.Curves.NoOfCurves = b.wb.Curves.CurveNo = 1;
    mnuNextCurve(b.wb);  // one curve: stays at 1
    b.wb.Curves.NoOfCurves = b.wb.Curves.CurveNo = 3;
    mnuNextCurve(b.wb);
    mnuNextCurve(b.wb);
    EXPECT_EQ(b.wb.Result.Lines,
              (std::vector<std::string>{"Curve Number is  1 ", "Curve Number is  1 ",
                                        "Curve Number is  2 "}));
    EXPECT_EQ(b.wb.Curves.CurveNo, 2);
    EXPECT_TRUE(b.wb.Result.Shown);
    EXPECT_TRUE(b.canvas.Ops.empty());
}

TEST(ScalingCommands, EachScalesTheAxisOrTheCurrentCurveAndRedraws) {
    const struct {
        const char* Name;
        std::function<void(Workbench&)> Run;
        bool OnX;
        double Factor;
    } cases[] = {
        {"1000X", mnu1000X, true, 1000},    {"10X", mnu10X, true, 10},
        {"0.1X", mnu01X, true, 0.1},        {"0.001X", mnu0001X, true, 0.001},
        {"-X", mnuMinusX, true, -1},        {"1000Y", mnu1000Y, false, 1000},
        {"10Y", mnu10Y, false, 10},         {"0.1Y", mnu01Y, false, 0.1},
        {"0.001Y", mnu0001Y, false, 0.001}, {"-Y", mnuMinusY, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::Bench b;
        ThreeCurves(b.wb);
        c.Run(b.wb);
        const CurveStore& s = b.wb.Curves;
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(s.X(i), c.OnX ? kX[i - 1] * c.Factor : kX[i - 1]);
            EXPECT_EQ(s.Y(i, 1), kY[0][i - 1]);  // other curves untouched
            EXPECT_EQ(s.Y(i, 3), kY[2][i - 1]);
            EXPECT_EQ(s.Y(i, 2), c.OnX ? kY[1][i - 1] : kY[1][i - 1] * c.Factor);
        }
        EXPECT_EQ(s.X(5), 0.0);  // only points 1..NoOfData
        EXPECT_EQ(b.canvas.OfKind(CanvasOp::Clear).size(), 1u);
    }
}

TEST(ScalingCommands, AnOverflowingScaleKeepsTheData) {
    test::Bench b;
    ThreeCurves(b.wb);
    b.wb.Curves.Y(3, 2) = 1e307;
    mnu1000Y(b.wb);
    EXPECT_EQ(b.wb.Curves.Y(3, 2), 1e307);
    EXPECT_EQ(b.wb.Curves.Y(1, 2), 2e-6);
    mnu0001Y(b.wb);
    EXPECT_EQ(b.wb.Curves.Y(3, 2), 1e307 * 0.001);
}

TEST(ClearAndPlot, ClearErasesAndPlotShowsTheSamePictureAgain) {
    test::Bench b;
    ThreeCurves(b.wb);
    mnuPlot(b.wb);
    const std::vector<CanvasRecord> before = b.canvas.Ops;
    mnuClear(b.wb);
    EXPECT_EQ(b.canvas.Ops.size(), before.size() + 1);
    EXPECT_EQ(b.canvas.Ops.back().Op, CanvasOp::Clear);
    b.canvas.Ops.clear();
    mnuPlot(b.wb);
    ASSERT_EQ(b.canvas.Ops.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        const CanvasRecord &now = b.canvas.Ops[i], &was = before[i];
        EXPECT_TRUE(now.Op == was.Op && now.Args == was.Args && now.Text == was.Text) << i;
    }
}

TEST(CalculusCommands, DerivativeAndIntegralTransformOnlyTheCurrentCurveAndRedraw) {
    for (bool derivative : {true, false}) {
        test::Bench b;
        ThreeCurves(b.wb);  // curve 2: Y = 2e-6 i over steps of 0.2 V
        (derivative ? mnuDerivative : mnuIntegral)(b.wb);
        const CurveStore& s = b.wb.Curves;
        for (int i = 1; i <= 4; ++i) {
            // The slope 1e-5 A/V, or the running sum 0.2 (2e-6 + ... + 2e-6 i).
            EXPECT_REL_NEAR(s.Y(i, 2), derivative ? 1e-5 : 0.2e-6 * i * (i + 1), 1e-9) << i;
            EXPECT_EQ(s.Y(i, 1), kY[0][i - 1]);
            EXPECT_EQ(s.Y(i, 3), kY[2][i - 1]);
            EXPECT_TRUE(derivative || b.wb.Res.Icomp(i, 2) == s.Y(i, 2)) << "component " << i;
        }
        EXPECT_FALSE(b.canvas.OfKind(CanvasOp::LineTo).empty());
    }
}

TEST(CalculusCommands, SemiIntegralIsTheSemiDerivativeOfTheIntegral) {
    test::Bench a, b;
    ThreeCurves(a.wb);
    ThreeCurves(b.wb);
    mnuSemiInte(a.wb);
    mnuIntegral(b.wb);
    mnuSemi(b.wb);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(a.wb.Curves.Y(i, 2), b.wb.Curves.Y(i, 2));
}

TEST(CalculusCommands, ZeroPotentialStepLeavesTheCurveSilently) {
    test::Bench b;
    ThreeCurves(b.wb);
    b.wb.Curves.X(2) = b.wb.Curves.X(1);
    for (auto command : {mnuDerivative, mnuIntegral, mnuSemi, mnuSemiInte}) command(b.wb);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(b.wb.Curves.Y(i, 2), kY[1][i - 1]);
    EXPECT_TRUE(b.host.Messages.empty());
}

}  // namespace
}  // namespace zemra
