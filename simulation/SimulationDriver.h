// The simulation driver: turns the parameter model into one simulated voltammogram in the curve
// store. It builds the staircase potential program, computes each charge-transfer reaction's
// current from the closed-form functions or the digital simulation, sums the total, applies the
// post-processing the technique needs, adds charging current and noise and writes the chosen
// output quantity.
#pragma once

#include <string>
#include <vector>

#include "state/Workbench.h"

namespace zemra {

// Header shown before the description of a run-time error of the analytical road.
inline constexpr const char* kAnalyticalErrorPrefix = "Analytical simulation Error: ";
inline constexpr const char* kTryAgainSuffix = "! Please try again by other initial values.";

inline constexpr const char* kDigitalErrorPrefix = "CV Error: ";
inline constexpr const char* kSingularMatrixMessage = "Error: inverse matrix D=0";

// How a simulation ended. The digital engine's error ends its own loop but not the run (the
// points finished so far stand and the driver goes on); a run-time error of the driver ends the
// run before anything is written to the curve store.
struct SimulationOutcome {
    bool SingularMatrix = false;  // the digital solve met a singular block and went on
    std::string DigitalError;     // description of the error that ended the digital loop, or ""
    std::string Error;            // description of the error that ended the run, or ""
    std::string Refused;          // whole message of a run refused before it began, or ""

    bool Completed() const { return Error.empty() && Refused.empty(); }
    bool Failed() const { return !Completed() || !DigitalError.empty(); }
    // The message boxes a command shows for it, in the order they arose.
    std::vector<std::string> Messages() const;
};

// One simulation from the current parameter model (collect the sheet first): the potential
// program into X, the currents into Icomp, FirstPoint := 1 and LastPoint := NoOfData. The output
// step that writes the shown quantity into the curve store is the caller's (ComputeOutputQuantity
// or, inside a fit, WriteOutputQuantity), run when the outcome is Completed.
SimulationOutcome SimulateCurve(Workbench& wb);

// The number of points of the sheet's potential program, 2 (round(|Eend - Estart| / Estep) + 1)
// ScanCycles, as a real so that any count can be reported; raises "Division by zero" for a step
// of 0.
double PotentialProgramPoints(const ParameterModel& m);

}  // namespace zemra
