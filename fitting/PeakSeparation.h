// Peak separation: after a fit (or one simulation with the sheet's values) the current of every
// charge-transfer reaction, as the last simulation computed it, goes into its own curve slot
// beside the data and the total, and all of them are plotted together.
#pragma once

#include "state/Workbench.h"

namespace zemra {

// The separation proper: NoOfCurves := 2 (data and total), then one slot per charge-transfer
// reaction holding its column of Icomp over points 1..NoOfData.
void SeparateReactionCurrents(Workbench& wb);

}  // namespace zemra
