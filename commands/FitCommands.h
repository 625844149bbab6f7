// The Run menu's fitting commands: Auto Fit (fit the checked parameters to curve 1 and plot),
// Manual Fit (simulate once with the sheet's values beside the data, so that start values can be
// adjusted by hand) and the two peak separations built on them.
#pragma once

#include "state/Workbench.h"

namespace zemra {

// Auto Fit: wait cursor; CurveNo := 1 and Fitting on; overlap unchecked; slot 1 made the data
// curve; the sheet collected; the result window cleared; the fit run against slot 1; the store
// (data and fitted curve) plotted; Fitting off; normal cursor.
void mnuAutoFit_Click(Workbench& wb);

// Manual Fit: one simulation with the sheet's values into slot 2 beside the data, plotted. No
// parameter is changed.
void mnuManualFit_Click(Workbench& wb);

// Manual and Auto Separate: the fit command, then the reaction currents into slots 3 and up,
// plotted with the data and the total; nothing is separated after a failed fit or simulation.
//
// All four stop before the first simulation, with one "Fit Error: " message giving both counts
// and changing nothing, when the sheet's potential program has another number of points than
// the data curve.
void mnuManualSeparate_Click(Workbench& wb);
void mnuAutoSeparate_Click(Workbench& wb);

}  // namespace zemra
