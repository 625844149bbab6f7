// The simulation driver: turns the parameter model into one simulated voltammogram in the curve
// store. It builds the staircase potential program, computes each charge-transfer reaction's
// current from the closed-form functions or the digital simulation, sums the total, applies the
// post-processing the technique needs, adds charging current and noise and writes the chosen
// output quantity.
#pragma once

#include "curves/Workbench.h"

namespace zemra {

// Header shown before the description of a run-time error of the analytical road.
inline constexpr const char* kAnalyticalErrorPrefix = "Analytical simulation Error: ";
inline constexpr const char* kTryAgainSuffix = "! Please try again by other initial values.";

// Whether the run ends by deriving the shown quantity into the curve store, or leaves that to a
// redraw that follows at once (the Simulate command), so that a refused distance is reported
// once and not twice. DeriveFromModel derives it without collecting the sheet first: a fit's
// model evaluation keeps its trial values in the parameter model.
enum class OutputStep { Derive, LeaveToRedraw, DeriveFromModel };

// One simulation from the current parameter model (collect the sheet first). A run-time error
// ends the run with the analytical error message; FirstPoint, LastPoint and the plotted curve
// then keep their previous values.
void SimulateCurve(Workbench& wb, OutputStep output = OutputStep::Derive);

}  // namespace zemra
