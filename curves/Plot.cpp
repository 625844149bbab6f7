#include "curves/Plot.h"

#include <array>
#include <cmath>

#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// No tick or grid loop draws more than this many lines: with manual limits far apart, or a
// step that no longer moves the position, the loop would otherwise run without bound.
constexpr int kMaxLinesPerLoop = 1000;

// 10^k for k = -15..7, each the double nearest to the decimal, so that a magnitude written as
// exactly 10^k falls into its own decade.
constexpr std::array<double, 23> kDecades = {1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8,
                                             1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1, 1e0,
                                             1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7};

constexpr const char* kTickLabelPattern = "0.#E-0";

// Everything the drawing steps share once the ranges are known.
struct Frame {
    double Xmin, Xmax, Ymin, Ymax;
    double u;       // decade unit of the Y values
    double xr, yr;  // X and Y ranges of the frame (before the extent may raise Ymax)
    double left, right, top, bottom;
    bool reversed;  // X grows to the left
};

// The X range of the drawn points; values that are not finite are skipped.
void AutoXRange(const CurveStore& s, double& xmin, double& xmax) {
    xmax = s.X(s.FirstPoint);
    xmin = s.X(s.LastPoint);
    bool maxOk = std::isfinite(xmax), minOk = std::isfinite(xmin);
    for (int i = s.FirstPoint; i <= s.LastPoint; ++i) {
        const double x = s.X(i);
        if (!std::isfinite(x)) continue;
        if (!maxOk || x > xmax) xmax = x, maxOk = true;
        if (!minOk || x < xmin) xmin = x, minOk = true;
    }
    if (!maxOk) xmax = 0;
    if (!minOk) xmin = 0;
}

// The Y range of every held curve, always containing 0.
void AutoYRange(const CurveStore& s, double& ymin, double& ymax) {
    ymax = 0;
    ymin = 0;
    for (int c = 1; c <= s.NoOfCurves; ++c) {
        for (int i = s.FirstPoint; i <= s.LastPoint; ++i) {
            const double y = s.Y(i, c);
            if (!std::isfinite(y)) continue;
            if (y > ymax) ymax = y;
            if (y < ymin) ymin = y;
        }
    }
}

void TextAt(Canvas& cv, double x, double y, const std::string& text) {
    cv.MoveTo(x, y);
    cv.Text(text);
}

// The Y-axis title, the Y labels and the dashed zero line, in the unreversed system.
void DrawYLabelsAndZeroLine(Canvas& cv, const Frame& f, const std::string& title) {
    if (!title.empty()) TextAt(cv, f.left, f.top, title);
    TextAt(cv, f.left, 1.05 * f.Ymax, FormatPattern(f.Ymax, kTickLabelPattern));
    TextAt(cv, f.left, 0.95 * f.Ymin, FormatPattern(f.Ymin, kTickLabelPattern));
    if (f.Ymin < 0 && f.Ymax > 0) {
        cv.SetDashed(true);
        cv.Line(f.Xmin, 0, f.Xmax, 0);
        cv.SetDashed(false);
        TextAt(cv, f.left, 0, PrintedNumber(0));
    }
}

// The X labels below the frame and the axis title.
void DrawXLabels(Canvas& cv, const Frame& f) {
    const double y = f.Ymin - f.u / 8;
    TextAt(cv, f.Xmin, y, PrintedNumber(f.Xmin));
    TextAt(cv, 0, y, "0");
    TextAt(cv, f.Xmax, y, PrintedNumber(f.Xmax));
    TextAt(cv, (f.Xmin + f.Xmax) / 2, f.Ymin - f.u, "E /V");
}

// One curve in its line style (1 dots, 2 squares of 1 % of the ranges, 3 a line).
// Points that are not finite are skipped; a line starts afresh after such a gap.
void DrawCurve(Canvas& cv, const CurveStore& s, int c, const Frame& f) {
    const int style = s.LineStyle[static_cast<size_t>(c)];
    const double hx = 0.005 * f.xr, hy = 0.005 * f.yr;
    bool joined = false;
    for (int i = s.FirstPoint; i <= s.LastPoint; ++i) {
        const double x = s.X(i), y = s.Y(i, c);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            joined = false;
            continue;
        }
        switch (style) {
            case 1:
                cv.Point(x, y);
                break;
            case 2:
                cv.Rectangle(x - hx, y - hy, x - hx + 0.01 * f.xr, y - hy + 0.01 * f.yr);
                break;
            case 3:
                if (joined)
                    cv.LineTo(x, y);
                else
                    cv.Point(x, y);
                joined = true;
                break;
            default:
                return;
        }
    }
}

// The X tick spacing Xmax / round(10 Xmax), about 0.1 in X units. Raises "Division by zero"
// for |Xmax| <= 0.05 and "Overflow" when the count leaves the 16-bit range.
double XTickStep(const Frame& f) {
    return Div(f.Xmax, RoundToInt16(10 * f.Xmax));
}

// Y tick spacing limit / round(limit / u).
double YTickStep(double limit, double u) {
    return Div(limit, RoundToInt16(Div(limit, u)));
}

// The X ticks, the Y ticks on the left edge of the display and the grid.
void DrawTicksAndGrid(Canvas& cv, const Frame& f, bool grid) {
    const double dx = XTickStep(f);
    int lines = 0;
    for (double x = f.Xmin; x < f.Xmax && lines < kMaxLinesPerLoop; x += dx, ++lines)
        cv.Line(x, f.Ymin, x, f.Ymin + 0.02 * f.yr);

    lines = 0;
    if (f.reversed) {
        const double dy = YTickStep(f.Ymin, f.u);
        for (double y = f.Ymax; y > f.Ymin && lines < kMaxLinesPerLoop; y -= dy, ++lines)
            cv.Line(f.Xmax, y, f.Xmax - 0.01 * f.xr, y);
    } else {
        const double dy = YTickStep(f.Ymax, f.u);
        for (double y = f.Ymin; y < f.Ymax && lines < kMaxLinesPerLoop; y += dy, ++lines)
            cv.Line(f.Xmin, y, f.Xmin + 0.01 * f.xr, y);
    }

    if (!grid) return;
    lines = 0;
    for (double x = f.Xmin; x < f.Xmax && lines < kMaxLinesPerLoop; x += dx, ++lines)
        cv.Line(x, f.Ymin, x, f.Ymax);
    const double dy = YTickStep(f.Ymax, f.u);
    lines = 0;
    for (double y = f.Ymin; y < f.Ymax && lines < kMaxLinesPerLoop; y += dy, ++lines)
        cv.Line(f.Xmin, y, f.Xmax, y);
}

// The window extent, labels, frame, curves, ticks and grid, once the ranges are known and
// not empty.
void DrawFrameAndCurves(Workbench& wb, Frame f, bool yAuto) {
    Canvas& cv = wb.PlotCanvas;
    if (yAuto) {
        f.top = Finite(f.Ymax + f.u);
        f.bottom = Finite(f.Ymin - 1.5 * f.u);
    } else {
        f.top = Finite(1.1 * f.Ymax);
        f.bottom = Finite(0.8 * f.Ymin);
    }
    f.left = Finite(1.2 * f.Xmin);
    f.right = Finite(1.2 * f.Xmax);
    cv.Scale(f.left, f.top, f.right, f.bottom);

    DrawYLabelsAndZeroLine(cv, f, YAxisTitle(wb.Input.ListText("ComboY")));
    if (f.reversed) cv.Scale(f.right, f.top, f.left, f.bottom);
    cv.Rectangle(f.Xmin, f.Ymin, f.Xmax, f.Ymax);
    DrawXLabels(cv, f);

    const CurveStore& s = wb.Curves;
    for (int c = 1; c <= s.NoOfCurves; ++c) {
        // Curve 1 in the foreground colour, the others in their own.
        cv.SetColour(c);
        DrawCurve(cv, s, c, f);
    }
    cv.SetColour(0);
    DrawTicksAndGrid(cv, f, wb.Plot.Grid);
}

}  // namespace

void ReadPlotOptions(Workbench& wb) {
    const InputRecord& in = wb.Input;
    PlotSettings& p = wb.Plot;
    p.Grid = in.IsChecked("CheckGrid");
    p.Overlap = in.IsChecked("overlap");
    if (!in.IsChecked("Xauto")) {
        p.Xmin = Val(in.TextOf("XminText"));
        p.Xmax = Val(in.TextOf("XmaxText"));
    }
    if (!in.IsChecked("Yauto")) {
        p.Ymin = Val(in.TextOf("YminText"));
        p.Ymax = Val(in.TextOf("YmaxText"));
    }
    for (int k = 0; k <= 4; ++k) {
        int style = 3;
        if (in.IsChecked("linestyle1", k))
            style = 1;
        else if (in.IsChecked("linestyle2", k))
            style = 2;
        wb.Curves.LineStyle[static_cast<size_t>(k + 1)] = style;
    }
}

std::string YAxisTitle(const std::string& comboYText) {
    const std::optional<YQuantity> q = YQuantityOf(comboYText);
    return q ? kYQuantities[static_cast<size_t>(*q)].AxisTitle : "";
}

double DecadeUnit(double m, bool& found) {
    found = false;
    for (size_t k = 0; k + 1 < kDecades.size(); ++k) {
        if (kDecades[k] <= m && m < kDecades[k + 1]) {
            found = true;
            return kDecades[k];
        }
    }
    return kDecades[kDecades.size() - 2];  // 10^6
}

PlotOutcome PlotCurves(Workbench& wb) {
    ReadPlotOptions(wb);
    Canvas& cv = wb.PlotCanvas;
    cv.Clear();
    cv.SetColour(0);
    PlotSettings& p = wb.Plot;
    const bool xAuto = wb.Input.IsChecked("Xauto");
    const bool yAuto = wb.Input.IsChecked("Yauto");
    try {
        if (xAuto) AutoXRange(wb.Curves, p.Xmin, p.Xmax);
        if (yAuto) AutoYRange(wb.Curves, p.Ymin, p.Ymax);

        bool found = false;
        const double u = DecadeUnit(std::fmax(p.Ymax, std::fabs(p.Ymin)), found);
        if (yAuto && found) {
            p.Ymax = u * (std::trunc(p.Ymax / u) + 1);
            p.Ymin = u * (std::trunc(p.Ymin / u) - 1);
        }

        Frame f{};
        f.Xmin = p.Xmin;
        f.Xmax = p.Xmax;
        f.Ymin = p.Ymin;
        f.Ymax = p.Ymax;
        f.u = u;
        f.yr = p.Ymax - p.Ymin;
        f.xr = p.Xmax - p.Xmin;
        f.reversed = wb.Input.IsChecked("CheckXdir");
        if (f.yr == 0 || f.xr == 0) return PlotOutcome::NoData;
        // An automatic Ymax that is not above 0 (only when no decade fitted) is raised to one
        // unit after the ranges were taken; the plot globals keep that frame.
        if (yAuto && p.Ymax <= 0) f.Ymax = p.Ymax = u;
        DrawFrameAndCurves(wb, f, yAuto);
    } catch (const RuntimeError&) {
        // An arithmetic failure while drawing (a tick count of 0 or beyond 16 bits, a limit
        // that overflows) ends the drawing here, leaving what was drawn so far.
    }
    return PlotOutcome::Drawn;
}

}  // namespace zemra
