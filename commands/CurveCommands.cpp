#include "commands/CurveCommands.h"

#include <cmath>

#include "commands/Commands.h"
#include "curves/Plot.h"
#include "numerics/Calculus.h"

namespace zemra {
namespace {

// Multiplies points 1..NoOfData of the axis (column < 0) or of curve `column` by `factor`, then
// redraws. A factor that would carry a value beyond the double range leaves the data as it was,
// so the user can never lose a curve to an overflow; the plot is still redrawn.
void ScalePoints(Workbench& wb, int column, double factor) {
    CurveStore& s = wb.Curves;
    const int n = s.NoOfData;
    auto at = [&](int i) -> double& { return column < 0 ? s.X(i) : s.Y(i, column); };
    bool fits = true;
    for (int i = 1; i <= n && fits; ++i)
        fits = !std::isfinite(at(i)) || std::isfinite(at(i) * factor);
    if (fits)
        for (int i = 1; i <= n; ++i) at(i) *= factor;
    ShowPlot(wb);
}

constexpr int kAxis = -1;

// Runs one calculus routine on the current curve, then redraws. The routines raise for a zero
// potential step or a current curve outside the store; the commands report nothing, so such a
// curve is simply left as it was.
template <typename Transform>
void TransformCurrentCurve(Workbench& wb, Transform transform) {
    CurveStore& s = wb.Curves;
    try {
        transform(s.X, ColumnOf(s.Y, s.CurveNo), ColumnOf(wb.Res.Icomp, s.CurveNo), s.NoOfData);
    } catch (const RuntimeError&) {
    }
    ShowPlot(wb);
}

}  // namespace

void mnuNextCurve(Workbench& wb) {
    CurveStore& s = wb.Curves;
    s.CurveNo = s.CurveNo < s.NoOfCurves ? s.CurveNo + 1 : 1;
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
    wb.Result.Print(PrintLine("Curve Number is ").Num(s.CurveNo));
}

void mnuClear(Workbench& wb) {
    wb.PlotCanvas.Clear();
}

void mnuPlot(Workbench& wb) {
    ShowPlot(wb);
}

void mnu1000X(Workbench& wb) {
    ScalePoints(wb, kAxis, 1000);
}
void mnu10X(Workbench& wb) {
    ScalePoints(wb, kAxis, 10);
}
void mnu01X(Workbench& wb) {
    ScalePoints(wb, kAxis, 0.1);
}
void mnu0001X(Workbench& wb) {
    ScalePoints(wb, kAxis, 0.001);
}
void mnuMinusX(Workbench& wb) {
    ScalePoints(wb, kAxis, -1);
}
void mnu1000Y(Workbench& wb) {
    ScalePoints(wb, wb.Curves.CurveNo, 1000);
}
void mnu10Y(Workbench& wb) {
    ScalePoints(wb, wb.Curves.CurveNo, 10);
}
void mnu01Y(Workbench& wb) {
    ScalePoints(wb, wb.Curves.CurveNo, 0.1);
}
void mnu0001Y(Workbench& wb) {
    ScalePoints(wb, wb.Curves.CurveNo, 0.001);
}
void mnuMinusY(Workbench& wb) {
    ScalePoints(wb, wb.Curves.CurveNo, -1);
}

void mnuDerivative(Workbench& wb) {
    TransformCurrentCurve(wb, [](auto& x, Column v, Column, int n) { Differentiate(x, v, n); });
}

void mnuIntegral(Workbench& wb) {
    TransformCurrentCurve(wb, [](auto& x, Column v, Column ic, int n) { Integrate(x, v, ic, n); });
}

void mnuSemi(Workbench& wb) {
    TransformCurrentCurve(wb, [](auto& x, Column v, Column, int n) { SemiDifferentiate(x, v, n); });
}

void mnuSemiInte(Workbench& wb) {
    TransformCurrentCurve(wb,
                          [](auto& x, Column v, Column ic, int n) { SemiIntegrate(x, v, ic, n); });
}

}  // namespace zemra
