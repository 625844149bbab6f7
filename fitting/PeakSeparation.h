// Peak separation: after a fit (or one simulation with the sheet's values) the current of every
// charge-transfer reaction, as the last simulation computed it, goes into its own curve slot
// beside the data and the total, and all of them are plotted together.
#pragma once

#include "curves/Workbench.h"

namespace zemra {

// Manual Separate: Manual Fit, then the reaction currents into slots 3 and up, plotted.
void mnuManualSeparate_Click(Workbench& wb);

// Auto Separate: Auto Fit, then the reaction currents into slots 3 and up, plotted.
void mnuAutoSeparate_Click(Workbench& wb);

// The separation proper: NoOfCurves := 2 (data and total), then one slot per charge-transfer
// reaction holding its column of Icomp over points 1..NoOfData, then the plot.
void SeparateReactionCurrents(Workbench& wb);

}  // namespace zemra
