#include "commands/FitCommands.h"

#include "commands/Commands.h"
#include "fitting/FitDriver.h"
#include "fitting/PeakSeparation.h"
#include "model/Collection.h"
#include "platform/NumberText.h"
#include "simulation/SignalProcessing.h"
#include "simulation/SimulationDriver.h"

namespace zemra {
namespace {

// A fit compares the data point by point with a simulation of the sheet's potential program, so
// both must have the same number of points; otherwise the comparison is against stale points
// and the simulation cuts the store to its own length. Shows the refusal and returns false when
// they differ. A sheet that cannot be collected, or a program that cannot be counted, is left
// to the command's own collection and simulation to report.
bool PointCountsMatch(Workbench& wb) {
    double program = 0;
    try {
        CollectParameters(wb.Model, wb.Input);
        program = PotentialProgramPoints(wb.Model);
    } catch (const RuntimeError&) {
        return true;
    }
    const int data = wb.Curves.NoOfData;
    if (program == data) return true;
    wb.Ui.MessageBox(std::string(kFitErrorPrefix) + "the data curve has " + std::to_string(data) +
                     " points, the potential program of the sheet " + GeneralNumber(program) +
                     ": set E end and the scan mode to match the data");
    return false;
}

// The fit commands; false when they stopped before simulating or the fit or simulation failed
// (the failure is shown), so that the separations add nothing to it.
bool AutoFit(Workbench& wb) {
    if (!PointCountsMatch(wb)) return false;
    wb.Ui.SetWaitCursor(true);
    CurveStore& cs = wb.Curves;
    cs.CurveNo = 1;
    wb.Fit.Fitting = true;
    wb.Input.SetChecked("overlap", false);
    UseCurrentCurveAsData(wb);
    bool fitted = false;
    if (CollectOrReport(wb)) {
        wb.Result.Clear();
        PointVector ydata;
        for (int k = 1; k <= cs.NoOfData; ++k) ydata(k) = cs.Y(k, 1);
        const FitOutcome outcome = RunFit(wb, ydata);
        if (outcome.SingularMatrix) wb.Ui.MessageBox(kSingularMatrixMessage);
        fitted = outcome.Reported;
        if (outcome.Reported) {
            wb.Result.Show();
            wb.Ui.ShowWindow("FormResult");
        } else {
            wb.Ui.MessageBox(outcome.Message);
        }
        // The data in slot 1 and the curve of the last model evaluation, the fitted one, in 2;
        // a fit that failed has said so, and an empty plot adds no second message.
        ShowPlot(wb, fitted);
    }
    wb.Fit.Fitting = false;
    wb.Ui.SetWaitCursor(false);
    return fitted;
}

bool ManualFit(Workbench& wb) {
    if (!PointCountsMatch(wb)) return false;
    wb.Ui.SetWaitCursor(true);
    wb.Fit.Fitting = true;
    bool simulated = false;
    if (CollectOrReport(wb)) {
        wb.Result.Clear();
        const SimulationOutcome outcome = SimulateCurve(wb);  // into slot 2, beside the data
        std::vector<std::string> messages = outcome.Messages();
        if (outcome.Completed()) {
            const std::string refused = ComputeOutputQuantity(wb);
            if (!refused.empty()) messages.push_back(refused);
        }
        ShowMessages(wb, messages);
        ShowPlot(wb, messages.empty());
        simulated = outcome.Completed();
    }
    wb.Fit.Fitting = false;
    wb.Ui.SetWaitCursor(false);
    return simulated;
}

}  // namespace

void mnuAutoFit_Click(Workbench& wb) {
    AutoFit(wb);
}

void mnuManualFit_Click(Workbench& wb) {
    ManualFit(wb);
}

void mnuManualSeparate_Click(Workbench& wb) {
    if (!ManualFit(wb)) return;
    SeparateReactionCurrents(wb);
    ShowPlot(wb);
}

void mnuAutoSeparate_Click(Workbench& wb) {
    if (!AutoFit(wb)) return;
    SeparateReactionCurrents(wb);
    ShowPlot(wb);
}

}  // namespace zemra
