// The plot of the curve store.
#pragma once

#include "curves/Workbench.h"

namespace zemra {

// Re-derives the shown quantity from the last simulation (current, resistance, conductance or
// surface concentrations) into the curve store, then draws the store.
void RefreshPlot(Workbench& wb);

}  // namespace zemra
