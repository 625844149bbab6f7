// The plot: the plot options read from the option dialog and the one drawing routine that draws
// every curve of the store with its frame, labels, ticks, zero line and grid on the plot canvas.
#pragma once

#include <string>

#include "state/Workbench.h"

namespace zemra {

// Copies the option dialog into the plot globals: Grid, Overlap, the manual X and Y limits when
// the auto boxes are unchecked, and the line style of each curve.
void ReadPlotOptions(Workbench& wb);

// The Y-axis title for the text of the Y-quantity list; "" for a text that is none of its entries.
std::string YAxisTitle(const std::string& comboYText);

// The decade unit of a largest magnitude m: 10^k for the k in -15..6 with 10^k <= m < 10^(k+1);
// 10^6 when no k fits. `found` tells whether one did.
double DecadeUnit(double m, bool& found);

// What a drawing came to: the picture, or nothing because the X or Y range is empty (the
// commands then show "Error: No data!").
enum class PlotOutcome { Drawn, NoData };

// Draws curves 1..NoOfCurves over points FirstPoint..LastPoint onto the plot canvas. An empty
// range clears the canvas and draws nothing; an arithmetic failure ends the drawing silently,
// leaving what was drawn so far.
PlotOutcome PlotCurves(Workbench& wb);

}  // namespace zemra
