// The fit driver: turns the sheet's checked fit slots into a least-squares problem against the
// curve in slot 1 of the curve store, runs the Marquardt engine on it with a whole simulation as
// the model, and reports the result in the result window and on the fitted check boxes.
#pragma once

#include <string>

#include "fitting/Marquardt.h"
#include "state/Workbench.h"

namespace zemra {

// Header shown before the description of a run-time error that ends a fit.
inline constexpr const char* kFitErrorPrefix = "Fit Error: ";

// Iterations after which a fit stops whatever its flag says.
inline constexpr int kMaxFitIterations = 51;

// The parameter-model entry that fit slot s stands for: 1-4 C(s), 5-7 ks(s - 4),
// 8-10 Alpha(s - 7), 11-13 Eformal(s - 10), 14-16 kf(s - 13), 17-19 kb(s - 16); nullptr for a
// slot outside 1..19.
Real* FitSlotEntry(ParameterModel& m, int slot);

// Without overlap, the current curve becomes the data curve in slot 1 and the store holds it
// alone; with overlap nothing changes.
void UseCurrentCurveAsData(Workbench& wb);

// A fit stopped by a failure that carries its own message (the output step refused the shown
// quantity); the message is shown as it stands.
struct FitStopped : RuntimeError {
    explicit FitStopped(const std::string& message) : RuntimeError(message) {}
};

// How a fit ended: with its report in the result window, or with one message.
struct FitOutcome {
    bool Reported = false;        // the report was printed and the captions written
    std::string Message;          // the message box of a fit that ended early, or ""
    bool SingularMatrix = false;  // some model evaluation met a singular block and went on
};

// Fits the checked and shown slots to ydata(1..NoOfData): prints one "Least square = " line per
// iteration, then the report, and writes the fitted values into the fitted check boxes'
// captions. A run-time error, also one that ends a model evaluation, ends the fit with the
// "Fit Error: " message and no report.
FitOutcome RunFit(Workbench& wb, const PointVector& ydata);

// The model the engine fits: writes xTrial(1..NFit) into the parameter model by the slot table,
// simulates (the curve goes to slot 2 while fitting) and copies the curve into f(1..m). A
// simulation that fails raises RuntimeError with its description.
void FitModelCurve(Workbench& wb, const FitVector& xTrial, int m, PointVector& f);

}  // namespace zemra
