// The fit driver: turns the sheet's checked fit slots into a least-squares problem against the
// curve in slot 1 of the curve store, runs the Marquardt engine on it with a whole simulation as
// the model, and reports the result in the result window and on the fitted check boxes. Holds
// the two commands that start a fit: Auto Fit (fit and plot) and Manual Fit (simulate once with
// the sheet's values and plot, so that start values can be adjusted by hand).
#pragma once

#include "curves/Workbench.h"
#include "fitting/Marquardt.h"

namespace zemra {

// Header shown before the description of a run-time error that ends a fit.
inline constexpr const char* kFitErrorPrefix = "Fit Error: ";

// Iterations after which a fit stops whatever its flag says.
inline constexpr int kMaxFitIterations = 51;

// The parameter-model entry that fit slot s stands for: 1-4 C(s), 5-7 ks(s - 4),
// 8-10 Alpha(s - 7), 11-13 Eformal(s - 10), 14-16 kf(s - 13), 17-19 kb(s - 16); nullptr for a
// slot outside 1..19.
Real* FitSlotEntry(ParameterModel& m, int slot);

// Auto Fit: wait cursor; CurveNo := 1 and Fitting on; overlap unchecked; slot 1 made the data
// curve; the sheet collected; the result window cleared; the fit run against slot 1; the store
// (data and fitted curve) plotted; Fitting off; normal cursor.
void mnuAutoFit_Click(Workbench& wb);

// Manual Fit: one simulation with the sheet's values into slot 2 beside the data, plotted. No
// parameter is changed.
void mnuManualFit_Click(Workbench& wb);

// Without overlap, the current curve becomes the data curve in slot 1 and the store holds it
// alone; with overlap nothing changes.
void UseCurrentCurveAsData(Workbench& wb);

// Fits the checked and shown slots to ydata(1..NoOfData): prints one "Least square = " line per
// iteration, then the report, and writes the fitted values into the fitted check boxes'
// captions. A run-time error ends the fit with the "Fit Error: " message and no report.
void RunFit(Workbench& wb, const PointVector& ydata);

// The model the engine fits: writes xTrial(1..NFit) into the parameter model by the slot table,
// simulates (the curve goes to slot 2 while fitting) and copies the curve into f(1..m).
void FitModelCurve(Workbench& wb, const FitVector& xTrial, int m, PointVector& f);

}  // namespace zemra
