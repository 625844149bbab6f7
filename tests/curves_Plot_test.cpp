#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "curves/Plot.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

void Draw(test::Bench& b, const std::vector<double>& x,
          const std::vector<std::vector<double>>& ys) {
    test::SetCurves(b.wb, x, ys);
    PlotCurves(b.wb);
}

// Index of the first text `t` in the operations and the position it was drawn at.
std::pair<size_t, std::vector<double>> TextAt(const RecordingCanvas& c, const std::string& t) {
    for (size_t i = 1; i < c.Ops.size(); ++i)
        if (c.Ops[i].Op == CanvasOp::Text && c.Ops[i].Text == t) return {i, c.Ops[i - 1].Args};
    return {0, {}};
}

int CountLines(const RecordingCanvas& c, const std::function<bool(const std::vector<double>&)>& f) {
    const auto lines = c.OfKind(CanvasOp::Line);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const CanvasRecord& r) { return f(r.Args); }));
}

void ExpectNear(const std::vector<double>& a, const std::vector<double>& b, double abs = 1e-18) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_RELABS_NEAR(a[i], b[i], 1e-12, abs) << i;
}

// One all-positive curve with Y auto, drawn with X reversed as at start-up.
TEST(PlotCurves, AllPositiveCurveReversedXFrameLabelsAndZeroLine) {
    test::Bench b;
    Draw(b, {-0.2, 0.1, 0.4}, {{0.5e-3, 2.5e-3, 1.2e-3}});
    // m = 2.5e-3 gives u = 1e-3: Ymax = u (2 + 1), Ymin = u (0 - 1); the globals keep the frame.
    ExpectNear({b.wb.Plot.Xmin, b.wb.Plot.Xmax, b.wb.Plot.Ymin, b.wb.Plot.Ymax},
               {-0.2, 0.4, -1e-3, 3e-3});
    // Corners (1.2 Xmin, Ymax + u) and (1.2 Xmax, Ymin - 1.5 u), then mirrored; the frame.
    const auto scales = b.canvas.OfKind(CanvasOp::Scale);
    ASSERT_EQ(scales.size(), 2u);
    ExpectNear(scales[0].Args, {-0.24, 4e-3, 0.48, -2.5e-3});
    ExpectNear(scales[1].Args, {0.48, 4e-3, -0.24, -2.5e-3});
    ExpectNear(b.canvas.OfKind(CanvasOp::Rectangle)[0].Args, {-0.2, -1e-3, 0.4, 3e-3});
    // The Y labels are printed before the mirroring, at the left of the unmirrored picture.
    size_t mirrored = 0;
    for (size_t i = 0; i < b.canvas.Ops.size(); ++i)
        if (b.canvas.Ops[i].Op == CanvasOp::Scale) mirrored = i;
    for (const std::string t : {"I /A", "3E-3", "-1E-3"}) {
        const auto [at, where] = TextAt(b.canvas, t);
        EXPECT_LT(at, mirrored) << t;
        EXPECT_RELABS_NEAR(where.at(0), -0.24, 1e-12, 0) << t;
    }
    for (const char* t : {"-0.2 ", "0", " 0.4 ", " 0 "}) EXPECT_NE(TextAt(b.canvas, t).first, 0u);
    ExpectNear(TextAt(b.canvas, "E /V").second, {0.1, -2e-3});
    // Y ticks on the Xmax edge, pointing to smaller X: y = 3e-3 down to 0 while y > Ymin.
    EXPECT_EQ(
        CountLines(b.canvas, [](auto& a) { return a[0] == 0.4 && a[1] == a[3] && a[2] < 0.4; }), 4);
    const auto dashes = b.canvas.OfKind(CanvasOp::Dashed);
    ASSERT_EQ(dashes.size(), 2u);  // the zero line, then back to solid
    EXPECT_EQ(dashes[0].Args[0] - dashes[1].Args[0], 1.0);
}

TEST(PlotCurves, AutomaticYRangeCoversEveryCurveInWholeUnits) {
    const struct {
        const char* Case;
        std::vector<std::vector<double>> Curves;
        double Ymin, Ymax, Top;
    } cases[] = {{"exactly 10^k", {{0, 1e-3}}, -1e-3, 2e-3, 3e-3},
                 {"from 1e7 unrounded", {{0, 2.5e7}}, 0, 2.5e7, 2.6e7},
                 {"all negative beyond 1e7: Ymax raised to u", {{-3e7, -1e7}}, -3e7, 1e6, 2e6},
                 {"five curves",
                  {{1e-6, 2e-6}, {0, 1e-6}, {0, 1e-6}, {-7.5e-6, 0}, {0, 4.5e-5}},
                  -1e-5,
                  5e-5,
                  6e-5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        test::Bench b;
        Draw(b, {-0.2, 0.4}, c.Curves);
        ExpectNear({b.wb.Plot.Ymin, b.wb.Plot.Ymax, b.canvas.OfKind(CanvasOp::Scale)[0].Args[1]},
                   {c.Ymin, c.Ymax, c.Top}, 0);
    }
}

TEST(PlotCurves, LineStylesInTheirColoursAndTicksEveryUnitAndTenth) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckXdir", false);
    b.wb.Input.SelectButton("linestyle1", 1);  // curve 2 dots
    b.wb.Input.SelectButton("linestyle2", 2);  // curve 3 squares; curve 1 keeps the line
    Draw(b, {-0.25, 0, 0.25}, {{0.5, 2.5, 1}, {1, 2, 1.5}, {0.5, 2.5, 1}});
    const auto points = b.canvas.OfKind(CanvasOp::Point);
    ASSERT_EQ(points.size(), 4u);  // the line's first point, then three dots
    EXPECT_EQ(points[0].Args, (std::vector<double>{-0.25, 0.5}));
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::LineTo).back().Args, (std::vector<double>{0.25, 1}));
    // One square per point after the frame, 1 % of the ranges (xr = 0.5, yr = 4), centred on it.
    const auto rects = b.canvas.OfKind(CanvasOp::Rectangle);
    ASSERT_EQ(rects.size(), 4u);
    const double px[] = {-0.25, 0, 0.25}, py[] = {0.5, 2.5, 1}, h = 0.005 * 0.5, v = 0.005 * 4;
    for (size_t i = 0; i < 3; ++i)
        ExpectNear(rects[i + 1].Args, {px[i] - h, py[i] - v, px[i] + h, py[i] + v});
    std::vector<double> colours;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Colour)) colours.push_back(r.Args[0]);
    EXPECT_EQ(colours, (std::vector<double>{0, 1, 2, 3, 0}));
    // u = 1, Ymin = -1, Ymax = 3: Y ticks at -1, 0, 1, 2 from Xmin inwards by 1 % of xr.
    std::vector<double> ys;
    for (const auto& r : b.canvas.OfKind(CanvasOp::Line))
        if (r.Args[0] == -0.25 && r.Args[1] == r.Args[3] && r.Args[2] == -0.25 + 0.005)
            ys.push_back(r.Args[1]);
    EXPECT_EQ(ys, (std::vector<double>{-1, 0, 1, 2}));
    // round(10 * 0.25) = 2 (half to even), so dx = 0.125: four X ticks 2 % of yr = 4 high.
    EXPECT_EQ(CountLines(b.canvas,
                         [](auto& a) { return a[0] == a[2] && a[1] == -1 && a[3] == -1 + 0.08; }),
              4);
}

TEST(PlotCurves, YTitleByQuantityAndNoneForAnUnknownText) {
    const std::pair<std::string, const char*> cases[] = {{"current I", "I /A"},
                                                         {"resistance R", "R /Ohm"},
                                                         {"conductance Cond", "Cond /1/Ohm"},
                                                         {"surface concentration C", "C /M"},
                                                         {"charge Q", ""}};
    for (const auto& [text, title] : cases) {
        test::Bench b;
        b.wb.Input.Get("ComboY").Entries[0] = text;
        Draw(b, {-0.2, 0.4}, {{0, 1}});
        const auto texts = b.canvas.Texts();
        ASSERT_EQ(texts.size(), *title ? 8u : 7u) << text;  // no title for an unknown text
        EXPECT_EQ(*title ? texts[0] : "", title);
        EXPECT_EQ(b.canvas.OfKind(CanvasOp::Rectangle).size(), 1u) << text;
    }
}

TEST(PlotCurves, EmptyRangeShowsNoDataAndLeavesTheWindowCleared) {
    for (bool empty : {false, true}) {
        test::Bench b;
        if (!empty) test::SetCurves(b.wb, {-0.2, 0.1, 0.4}, {{0, 0, 0}});  // u not found, yr = 0
        EXPECT_EQ(PlotCurves(b.wb), PlotOutcome::NoData);
        EXPECT_EQ(b.canvas.Ops.front().Op, CanvasOp::Clear);
        EXPECT_TRUE(b.canvas.OfKind(CanvasOp::Scale).empty());
        EXPECT_TRUE(b.canvas.Texts().empty());
    }
}

TEST(PlotCurves, TickCountFailuresEndTheDrawingWithoutMessage) {
    const struct {
        const char* Case;
        double Xmax;
        const char* YmaxText;
        CanvasOp Last;
    } cases[] = {{"round(10 Xmax) = 0", 0.04, nullptr, CanvasOp::Colour},
                 {"X tick count beyond 16 bits", 4000, nullptr, CanvasOp::Colour},
                 {"round(Ymax / u) = 0 with manual limits", 0.25, "4e-4", CanvasOp::Line}};
    for (const auto& c : cases) {
        test::Bench b;
        b.wb.Input.SetChecked("CheckXdir", false);
        if (c.YmaxText) {
            b.wb.Input.SetChecked("Yauto", false);
            b.wb.Input.SetText("YmaxText", c.YmaxText);  // u = 1e-3 from YminText = -1e-3
        }
        Draw(b, {-0.25, c.Xmax}, {{0, 1e-4}});
        EXPECT_TRUE(b.host.Messages.empty()) << c.Case;
        EXPECT_EQ(b.canvas.OfKind(CanvasOp::LineTo).size(), 1u) << c.Case;  // the curve is drawn
        // Nothing after the curve's colour, or after the last X tick.
        EXPECT_EQ(b.canvas.Ops.back().Op, c.Last) << c.Case;
    }
}

TEST(PlotCurves, TickAndGridLoopsStopAfterAThousandLines) {
    test::Bench b;
    for (const char* box : {"CheckXdir", "Xauto"}) b.wb.Input.SetChecked(box, false);
    b.wb.Input.SetChecked("CheckGrid", true);
    b.wb.Input.SetText("XminText", "-1000");  // 10003 steps of 0.1 up to Xmax = 0.3
    b.wb.Input.SetText("XmaxText", "0.3");
    Draw(b, {-0.2, 0.2}, {{0, 1}});
    const auto grid = [](auto& a) { return a[0] == a[2] && a[3] == 2; };
    const auto ticks = [](auto& a) { return a[0] == a[2] && a[1] == -1 && a[3] < 0; };
    EXPECT_EQ(CountLines(b.canvas, grid), 1000);
    EXPECT_EQ(CountLines(b.canvas, ticks), 1000);
    // Across the frame: the grid at y = -1, 0, 1 and the dashed zero line.
    EXPECT_EQ(
        CountLines(b.canvas, [](auto& a) { return a[1] == a[3] && a[0] == -1000 && a[2] == 0.3; }),
        4);
}

TEST(PlotCurves, ValuesThatAreNotFiniteAreSkipped) {
    test::Bench b;
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    Draw(b, {-0.25, 0, nan, 0.25}, {{0.5, inf, 1, 2.5}});
    ExpectNear({b.wb.Plot.Xmin, b.wb.Plot.Xmax, b.wb.Plot.Ymax}, {-0.25, 0.25, 3});
    for (const auto& r : b.canvas.Ops)
        for (double a : r.Args) EXPECT_TRUE(std::isfinite(a));
    EXPECT_EQ(b.canvas.OfKind(CanvasOp::Point).size(), 2u);  // the line starts afresh after the gap
    EXPECT_TRUE(b.canvas.OfKind(CanvasOp::LineTo).empty());
}

}  // namespace
}  // namespace zemra
