// The commands of the Display and Analysis menus that act on the curve store directly: step to
// the next curve, erase and redraw the plot, rescale or mirror the
// potential axis or the current curve, and the calculus on the current curve. Those that change
// the store end by redrawing it.
#pragma once

#include "state/Workbench.h"

namespace zemra {

void mnuNextCurve(Workbench& wb);  // CurveNo := the next curve (1 after the last); prints it
void mnuClear(Workbench& wb);      // erases the plot's drawing; the store is unchanged
void mnuPlot(Workbench& wb);       // redraws the store

// X Data: scale or mirror the shared potential axis of every curve.
void mnu1000X(Workbench& wb);
void mnu10X(Workbench& wb);
void mnu01X(Workbench& wb);
void mnu0001X(Workbench& wb);
void mnuMinusX(Workbench& wb);
// Y Data: scale or mirror the current curve only.
void mnu1000Y(Workbench& wb);
void mnu10Y(Workbench& wb);
void mnu01Y(Workbench& wb);
void mnu0001Y(Workbench& wb);
void mnuMinusY(Workbench& wb);

// Analysis menu: differentiate, integrate, semi-differentiate or semi-integrate the current
// curve in place (the integral also into its column of the current components), then redraw.
// A curve whose first two potentials are equal cannot be transformed and is left as it was.
void mnuDerivative(Workbench& wb);
void mnuIntegral(Workbench& wb);
void mnuSemi(Workbench& wb);
void mnuSemiInte(Workbench& wb);

}  // namespace zemra
