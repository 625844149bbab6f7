#include "curves/Plot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Puts curves over one axis into the store: points 1..n, curves 1..ys.size().
void Fill(Workbench& wb, const std::vector<double>& x, const std::vector<std::vector<double>>& ys) {
    CurveStore& s = wb.Curves;
    const int n = static_cast<int>(x.size());
    for (int i = 1; i <= n; ++i) {
        s.X(i) = x[static_cast<size_t>(i - 1)];
        for (size_t c = 0; c < ys.size(); ++c) s.Y(i, static_cast<int>(c + 1)) = ys[c][i - 1];
    }
    s.NoOfData = n;
    s.FirstPoint = 1;
    s.LastPoint = n;
    s.NoOfCurves = s.NewCurve = static_cast<int>(ys.size());
    s.CurveNo = 1;
}

std::vector<CanvasRecord> Scales(const RecordingCanvas& c) {
    return c.OfKind(CanvasOp::Scale);
}

bool HasText(const RecordingCanvas& c, const std::string& t) {
    const auto texts = c.Texts();
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

// Position (the MoveTo just before it) of the first text `t`.
std::vector<double> WhereIs(const RecordingCanvas& c, const std::string& t) {
    for (size_t i = 1; i < c.Ops.size(); ++i)
        if (c.Ops[i].Op == CanvasOp::Text && c.Ops[i].Text == t &&
            c.Ops[i - 1].Op == CanvasOp::MoveTo)
            return c.Ops[i - 1].Args;
    return {};
}

// Short vertical lines starting on the frame's bottom edge (the X ticks).
int XTicks(const RecordingCanvas& c, double ymin, double height) {
    int n = 0;
    for (const auto& r : c.OfKind(CanvasOp::Line))
        if (r.Args[0] == r.Args[2] && r.Args[1] == ymin && std::fabs(r.Args[3] - ymin - height) < 1e-12)
            ++n;
    return n;
}

TEST(PlotCurves, AllPositiveCurveWithYAutoIsExtendedOneUnitBelowZero) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckXdir", false);
    Fill(b.wb, {-0.2, 0.1, 0.4}, {{0.5e-3, 2.5e-3, 1.2e-3}});
    PlotCurves(b.wb);
    // m = 2.5e-3 gives u = 1e-3: Ymax = 1e-3 * (2 + 1), Ymin = 1e-3 * (0 - 1).
    EXPECT_REL_NEAR(b.wb.Plot.Ymax, 3e-3, 1e-12);
    EXPECT_REL_NEAR(b.wb.Plot.Ymin, -1e-3, 1e-12);
    EXPECT_EQ(b.wb.Plot.Xmin, -0.2);
    EXPECT_EQ(b.wb.Plot.Xmax, 0.4);
    const auto sc = Scales(b.canvas);
    ASSERT_EQ(sc.size(), 1u);
    // left 1.2 Xmin, top Ymax + u, right 1.2 Xmax, bottom Ymin - 1.5 u.
    EXPECT_REL_NEAR(sc[0].Args[0], -0.24, 1e-12);
    EXPECT_REL_NEAR(sc[0].Args[1], 4e-3, 1e-12);
    EXPECT_REL_NEAR(sc[0].Args[2], 0.48, 1e-12);
    EXPECT_REL_NEAR(sc[0].Args[3], -2.5e-3, 1e-12);
    EXPECT_TRUE(HasText(b.canvas, "I /A"));
    EXPECT_TRUE(HasText(b.canvas, "3E-3"));
    EXPECT_TRUE(HasText(b.canvas, "-1E-3"));
    EXPECT_TRUE(HasText(b.canvas, "-0.2 "));
    EXPECT_TRUE(HasText(b.canvas, " 0.4 "));
    EXPECT_TRUE(HasText(b.canvas, "E /V"));
    const auto eLabel = WhereIs(b.canvas, "E /V");
    ASSERT_EQ(eLabel.size(), 2u);
    EXPECT_REL_NEAR(eLabel[0], 0.1, 1e-12);
    EXPECT_REL_NEAR(eLabel[1], -2e-3, 1e-12);  // Ymin - u
    // The frame, then the dashed zero line across it.
    const auto rects = b.canvas.OfKind(CanvasOp::Rectangle);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].Args[0], -0.2);
    EXPECT_REL_NEAR(rects[0].Args[1], -1e-3, 1e-12);
    const auto dashes = b.canvas.OfKind(CanvasOp::Dashed);
    ASSERT_EQ(dashes.size(), 2u);
    EXPECT_EQ(dashes[0].Args[0], 1.0);
    EXPECT_EQ(dashes[1].Args[0], 0.0);
    EXPECT_TRUE(b.host.Messages.empty());
    EXPECT_EQ(b.host.ShownWindows.back(), "FormPlot");
}

TEST(DecadeUnit, LowerBoundOfEachDecadeIsInclusive) {
    const struct {
        double m, u;
        bool found;
    } cases[] = {
        {1e-3, 1e-3, true},     {9.99e-4, 1e-4, true}, {1e-15, 1e-15, true}, {1e6, 1e6, true},
        {9.99e6, 1e6, true},    {1e7, 1e6, false},     {5e-16, 1e6, false},  {0, 1e6, false},
        {12345, 1e4, true},
    };
    for (const auto& c : cases) {
        bool found = !c.found;
        EXPECT_EQ(DecadeUnit(c.m, found), c.u) << c.m;
        EXPECT_EQ(found, c.found) << c.m;
    }
}

TEST(PlotCurves, MagnitudeOfExactlyTenToTheKUsesThatDecade) {
    test::Bench b;
    Fill(b.wb, {-0.2, 0.4}, {{0, 1e-3}});
    PlotCurves(b.wb);
    EXPECT_REL_NEAR(b.wb.Plot.Ymax, 2e-3, 1e-12);
    EXPECT_REL_NEAR(b.wb.Plot.Ymin, -1e-3, 1e-12);
}

TEST(PlotCurves, MagnitudesFromTenToTheSevenAreNotRounded) {
    test::Bench b;
    Fill(b.wb, {-0.2, 0.4}, {{0, 2.5e7}});
    PlotCurves(b.wb);
    EXPECT_EQ(b.wb.Plot.Ymax, 2.5e7);
    EXPECT_EQ(b.wb.Plot.Ymin, 0.0);
    const auto sc = Scales(b.canvas);
    ASSERT_FALSE(sc.empty());
    EXPECT_EQ(sc[0].Args[1], 2.5e7 + 1e6);
    EXPECT_EQ(sc[0].Args[3], -1.5e6);
}

TEST(PlotCurves, AllNegativeHugeCurveRaisesYmaxToOneUnit) {
    test::Bench b;
    Fill(b.wb, {-0.2, 0.4}, {{-3e7, -1e7}});
    PlotCurves(b.wb);
    EXPECT_EQ(b.wb.Plot.Ymin, -3e7);
    EXPECT_EQ(b.wb.Plot.Ymax, 1e6);  // step 7: Ymax <= 0 becomes u
    EXPECT_EQ(Scales(b.canvas)[0].Args[1], 2e6);
}

TEST(PlotCurves, ReversedXMirrorsTheFrameButKeepsTheYLabelsWherePrinted) {
    test::Bench b;
    ASSERT_TRUE(b.wb.Input.IsChecked("CheckXdir"));  // checked at start-up
    Fill(b.wb, {-0.2, 0.1, 0.4}, {{0.5e-3, 2.5e-3, 1.2e-3}});
    PlotCurves(b.wb);
    const auto sc = Scales(b.canvas);
    ASSERT_EQ(sc.size(), 2u);
    EXPECT_EQ(sc[1].Args[0], sc[0].Args[2]);
    EXPECT_EQ(sc[1].Args[2], sc[0].Args[0]);
    EXPECT_EQ(sc[1].Args[1], sc[0].Args[1]);
    // The title and both Y labels are drawn before the mirrored system, at X = left.
    size_t secondScale = 0;
    for (size_t i = 0; i < b.canvas.Ops.size(); ++i)
        if (b.canvas.Ops[i].Op == CanvasOp::Scale) secondScale = i;
    for (const std::string t : {"I /A", "3E-3", "-1E-3"}) {
        size_t at = 0;
        for (size_t i = 0; i < b.canvas.Ops.size(); ++i)
            if (b.canvas.Ops[i].Op == CanvasOp::Text && b.canvas.Ops[i].Text == t) at = i;
        EXPECT_LT(at, secondScale) << t;
        EXPECT_REL_NEAR(WhereIs(b.canvas, t)[0], -0.24, 1e-12) << t;
    }
    // The Y ticks sit on the Xmax edge, pointing inwards (towards smaller X).
    int onRight = 0;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Line))
        if (r.Args[0] == 0.4 && r.Args[1] == r.Args[3] && r.Args[2] < 0.4) ++onRight;
    EXPECT_EQ(onRight, 4);  // y = 3e-3, 2e-3, 1e-3, 0 (while y > Ymin)
}

TEST(PlotCurves, YTicksOnTheLeftEdgeEveryUnit) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckXdir", false);
    Fill(b.wb, {-0.25, 0, 0.25}, {{0.5, 2.5, 1}});
    PlotCurves(b.wb);
    // u = 1: Ymin = -1, Ymax = 3; ticks at -1, 0, 1, 2 from Xmin inwards by 1 % of xr.
    std::vector<double> ys;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Line))
        if (r.Args[0] == -0.25 && r.Args[1] == r.Args[3] && r.Args[2] == -0.25 + 0.005) ys.push_back(r.Args[1]);
    EXPECT_EQ(ys, (std::vector<double>{-1, 0, 1, 2}));
}

TEST(PlotCurves, XTickCountRoundsHalvesToEven) {
    test::Bench b;
    Fill(b.wb, {-0.25, 0, 0.25}, {{0.5, 2.5, 1}});
    PlotCurves(b.wb);
    // round(10 * 0.25) = 2, so dx = 0.125: ticks at -0.25, -0.125, 0, 0.125, each 2 % of yr high.
    EXPECT_EQ(XTicks(b.canvas, -1, 0.02 * 4), 4);
}

TEST(PlotCurves, SquareMarkersAreOnePercentOfTheRanges) {
    test::Bench b;
    b.wb.Input.SelectButton("linestyle2", 0);
    Fill(b.wb, {-0.25, 0, 0.25}, {{0.5, 2.5, 1}});
    PlotCurves(b.wb);
    EXPECT_EQ(b.wb.Curves.LineStyle[1], 2);
    const auto rects = b.canvas.OfKind(CanvasOp::Rectangle);
    ASSERT_EQ(rects.size(), 4u);  // the frame and one square per point
    const double xr = 0.5, yr = 4;
    const double px[] = {-0.25, 0, 0.25}, py[] = {0.5, 2.5, 1};
    for (int i = 0; i < 3; ++i) {
        const auto& a = rects[static_cast<size_t>(i + 1)].Args;
        EXPECT_NEAR(a[2] - a[0], 0.01 * xr, 1e-12);
        EXPECT_NEAR(a[3] - a[1], 0.01 * yr, 1e-12);
        EXPECT_NEAR((a[0] + a[2]) / 2, px[i], 1e-12);
        EXPECT_NEAR((a[1] + a[3]) / 2, py[i], 1e-12);
    }
}

TEST(PlotCurves, LineStylesDotsAndLine) {
    test::Bench b;
    b.wb.Input.SelectButton("linestyle1", 1);  // curve 2 dots; curve 1 keeps the line
    Fill(b.wb, {-0.25, 0, 0.25}, {{0.5, 2.5, 1}, {1, 2, 1.5}});
    PlotCurves(b.wb);
    const auto points = b.canvas.OfKind(CanvasOp::Point);
    const auto joins = b.canvas.OfKind(CanvasOp::LineTo);
    ASSERT_EQ(points.size(), 1u + 3u);  // the line's first point, then three dots
    EXPECT_EQ(points[0].Args, (std::vector<double>{-0.25, 0.5}));
    ASSERT_EQ(joins.size(), 2u);
    EXPECT_EQ(joins[1].Args, (std::vector<double>{0.25, 1}));
    // Curve 2 in its own colour, the ticks back in the foreground colour.
    const auto colours = b.canvas.OfKind(CanvasOp::Colour);
    ASSERT_GE(colours.size(), 3u);
    EXPECT_EQ(colours[colours.size() - 2].Args[0], 2.0);
    EXPECT_EQ(colours.back().Args[0], 0.0);
}

TEST(PlotCurves, FiveCurvesWithYAutoCoverEveryCurve) {
    test::Bench b;
    b.wb.Curves.CurveNo = 1;
    Fill(b.wb, {-0.2, 0.4}, {{1e-6, 2e-6}, {0, 1e-6}, {0, 1e-6}, {-7.5e-6, 0}, {0, 4.5e-5}});
    PlotCurves(b.wb);
    EXPECT_REL_NEAR(b.wb.Plot.Ymax, 5e-5, 1e-12);   // u = 1e-5 from curve 5
    EXPECT_REL_NEAR(b.wb.Plot.Ymin, -1e-5, 1e-12);  // trunc(-0.75) - 1 = -1
}

TEST(PlotCurves, YTitleFollowsTheYQuantity) {
    const std::pair<int, const char*> cases[] = {
        {0, "I /A"}, {1, "R /Ohm"}, {2, "Cond /1/Ohm"}, {3, "C /M"}};
    for (const auto& [entry, title] : cases) {
        test::Bench b;
        b.wb.Input.SetListIndex("ComboY", entry);
        Fill(b.wb, {-0.2, 0.4}, {{0, 1}});
        PlotCurves(b.wb);
        EXPECT_TRUE(HasText(b.canvas, title)) << title;
    }
}

TEST(PlotCurves, UnknownYQuantityTextDrawsWithoutTitle) {
    test::Bench b;
    b.wb.Input.Get("ComboY").Entries[0] = "charge Q";
    Fill(b.wb, {-0.2, 0.4}, {{0, 1}});
    PlotCurves(b.wb);
    for (const char* t : {"I /A", "R /Ohm", "Cond /1/Ohm", "C /M"}) EXPECT_FALSE(HasText(b.canvas, t));
    EXPECT_TRUE(HasText(b.canvas, "E /V"));
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::Rectangle).size(), 1u);
}

TEST(PlotCurves, AllZeroDataShowsNoDataAndLeavesTheWindowCleared) {
    test::Bench b;
    Fill(b.wb, {-0.2, 0.1, 0.4}, {{0, 0, 0}});
    PlotCurves(b.wb);
    EXPECT_EQ(b.host.Messages, std::vector<std::string>{"Error: No data!"});
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::Clear).size(), 1u);
    EXPECT_TRUE(Scales(b.canvas).empty());
    EXPECT_TRUE(b.canvas.Texts().empty());
}

TEST(PlotCurves, EmptyStoreShowsNoData) {
    test::Bench b;
    PlotCurves(b.wb);
    EXPECT_EQ(b.host.Messages, std::vector<std::string>{"Error: No data!"});
}

TEST(PlotCurves, TickCountFailuresEndTheDrawingWithoutMessage) {
    // |Xmax| <= 0.05: round(10 Xmax) = 0; Xmax above 3276.75: the count leaves 16 bits.
    for (double xmax : {0.04, 4000.0}) {
        test::Bench b;
        Fill(b.wb, {-0.2, xmax}, {{0, 1}});
        PlotCurves(b.wb);
        EXPECT_TRUE(b.host.Messages.empty()) << xmax;
        EXPECT_EQ(b.canvas.OfKind(CanvasOp::LineTo).size(), 1u) << xmax;  // the curve is drawn
        // Nothing after the curve: the last operation is the return to the foreground colour.
        EXPECT_EQ(b.canvas.Ops.back().Op, CanvasOp::Colour) << xmax;
    }
}

TEST(PlotCurves, ManualYLimitWithNoWholeUnitEndsAfterTheXTicks) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckXdir", false);
    b.wb.Input.SetChecked("Yauto", false);
    b.wb.Input.SetText("YmaxText", "4e-4");  // round(0.4) = 0 units of u = 1e-3
    b.wb.Input.SetText("YminText", "-1e-3");
    Fill(b.wb, {-0.25, 0.25}, {{0, 1e-4}});
    PlotCurves(b.wb);
    EXPECT_TRUE(b.host.Messages.empty());
    EXPECT_EQ(b.wb.Plot.Ymax, 4e-4);
    const auto sc = Scales(b.canvas);
    ASSERT_EQ(sc.size(), 1u);
    EXPECT_REL_NEAR(sc[0].Args[1], 1.1 * 4e-4, 1e-12);  // manual extent: 1.1 Ymax, 0.8 Ymin
    EXPECT_REL_NEAR(sc[0].Args[3], 0.8 * -1e-3, 1e-12);
    EXPECT_EQ(XTicks(b.canvas, -1e-3, 0.02 * 1.4e-3), 4);
    EXPECT_EQ(b.canvas.Ops.back().Op, CanvasOp::Line);  // the last X tick
}

TEST(PlotCurves, TickAndGridLoopsStopAfterAThousandLines) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckXdir", false);
    b.wb.Input.SetChecked("CheckGrid", true);
    b.wb.Input.SetChecked("Xauto", false);
    b.wb.Input.SetText("XminText", "-1000");  // 10003 steps of 0.1 up to Xmax = 0.3
    b.wb.Input.SetText("XmaxText", "0.3");
    Fill(b.wb, {-0.2, 0.2}, {{0, 1}});
    PlotCurves(b.wb);
    int ticks = 0, gridLines = 0;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Line)) {
        if (r.Args[0] != r.Args[2]) continue;
        if (r.Args[3] == b.wb.Plot.Ymax) ++gridLines;
        else if (r.Args[1] == b.wb.Plot.Ymin) ++ticks;
    }
    EXPECT_EQ(ticks, 1000);
    EXPECT_EQ(gridLines, 1000);
    // Across the frame: the horizontal grid lines at y = -1, 0, 1 and the dashed zero line.
    int horizontal = 0;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Line))
        if (r.Args[1] == r.Args[3] && r.Args[0] == -1000 && r.Args[2] == 0.3) ++horizontal;
    EXPECT_EQ(horizontal, 4);
}

TEST(PlotCurves, ValuesThatAreNotFiniteAreSkipped) {
    test::Bench b;
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Fill(b.wb, {-0.25, 0, nan, 0.25}, {{0.5, inf, 1, 2.5}});
    PlotCurves(b.wb);
    EXPECT_EQ(b.wb.Plot.Xmin, -0.25);
    EXPECT_EQ(b.wb.Plot.Xmax, 0.25);
    EXPECT_EQ(b.wb.Plot.Ymax, 3.0);
    for (const auto& r : b.canvas.Ops)
        for (double a : r.Args) EXPECT_TRUE(std::isfinite(a));
    // The line restarts after the gap: two points and one join.
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::Point).size(), 2u);
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::LineTo).size(), 0u);
}

TEST(ReadPlotOptions, ManualLimitsReadAsLeadingNumbersAndStylesByButton) {
    test::Bench b;
    b.wb.Input.SetChecked("Xauto", false);
    b.wb.Input.SetText("XminText", "-0.5 V");
    b.wb.Input.SetText("XmaxText", "abc");
    b.wb.Plot.Ymax = 7;  // Y auto stays on: the Y limits are left alone
    b.wb.Input.SetChecked("CheckGrid", true);
    b.wb.Input.SetChecked("overlap", true);
    b.wb.Input.SelectButton("linestyle1", 0);
    b.wb.Input.SelectButton("linestyle2", 4);
    ReadPlotOptions(b.wb);
    EXPECT_EQ(b.wb.Plot.Xmin, -0.5);
    EXPECT_EQ(b.wb.Plot.Xmax, 0.0);
    EXPECT_EQ(b.wb.Plot.Ymax, 7.0);
    EXPECT_TRUE(b.wb.Plot.Grid);
    EXPECT_TRUE(b.wb.Plot.Overlap);
    EXPECT_EQ(b.wb.Curves.LineStyle, (std::array<int, 6>{0, 1, 3, 3, 3, 2}));
}

TEST(PlotCurves, ClearComesFirstAndTheScaleUsesTheFrame) {
    test::Bench b;
    Fill(b.wb, {-0.2, 0.4}, {{0, 1e-3}});
    PlotCurves(b.wb);
    ASSERT_FALSE(b.canvas.Ops.empty());
    EXPECT_EQ(b.canvas.Ops.front().Op, CanvasOp::Clear);
}

}  // namespace
}  // namespace zemra
