#include "commands/FitCommands.h"

#include "commands/Commands.h"
#include "fitting/FitDriver.h"
#include "fitting/PeakSeparation.h"
#include "simulation/SignalProcessing.h"
#include "simulation/SimulationDriver.h"

namespace zemra {

void mnuAutoFit_Click(Workbench& wb) {
    wb.Ui.SetWaitCursor(true);
    CurveStore& cs = wb.Curves;
    cs.CurveNo = 1;
    wb.Fit.Fitting = true;
    wb.Input.SetChecked("overlap", false);
    UseCurrentCurveAsData(wb);
    if (CollectOrReport(wb)) {
        wb.Result.Clear();
        PointVector ydata;
        for (int k = 1; k <= cs.NoOfData; ++k) ydata(k) = cs.Y(k, 1);
        const FitOutcome outcome = RunFit(wb, ydata);
        if (outcome.SingularMatrix) wb.Ui.MessageBox(kSingularMatrixMessage);
        if (outcome.Reported) {
            wb.Result.Show();
            wb.Ui.ShowWindow("FormResult");
        } else {
            wb.Ui.MessageBox(outcome.Message);
        }
        // The data in slot 1 and the curve of the last model evaluation, the fitted one, in 2.
        ShowPlot(wb);
    }
    wb.Fit.Fitting = false;
    wb.Ui.SetWaitCursor(false);
}

void mnuManualFit_Click(Workbench& wb) {
    wb.Ui.SetWaitCursor(true);
    wb.Fit.Fitting = true;
    if (CollectOrReport(wb)) {
        wb.Result.Clear();
        const SimulationOutcome outcome = SimulateCurve(wb);  // into slot 2, beside the data
        ShowMessages(wb, outcome.Messages());
        if (outcome.Completed()) {
            const std::string refused = ComputeOutputQuantity(wb);
            if (!refused.empty()) wb.Ui.MessageBox(refused);
        }
        ShowPlot(wb);
    }
    wb.Fit.Fitting = false;
    wb.Ui.SetWaitCursor(false);
}

void mnuManualSeparate_Click(Workbench& wb) {
    mnuManualFit_Click(wb);
    SeparateReactionCurrents(wb);
    ShowPlot(wb);
}

void mnuAutoSeparate_Click(Workbench& wb) {
    mnuAutoFit_Click(wb);
    SeparateReactionCurrents(wb);
    ShowPlot(wb);
}

}  // namespace zemra
