#include "ui/Commands.h"

#include "analysis/HalfWave.h"
#include "analysis/PeakFinding.h"
#include "analysis/TheoreticalPeak.h"
#include "curves/DataFile.h"
#include "curves/Plot.h"
#include "model/Collection.h"
#include "model/ParameterFile.h"
#include "simulation/SimulationDriver.h"
#include "ui/SheetComputations.h"

namespace zemra {

void StartUp(Workbench& wb) {
    AttachSheetHandlers(wb);
    // The sheet's load step: first entries of the scan mode and of the n and p lists.
    wb.Input.SetListIndex("ComboScan", 0);
    for (int r = 1; r <= 3; ++r) {
        wb.Input.SetListIndex("NEL", r, 0);
        wb.Input.SetListIndex("pl", r, 0);
    }
    wb.Model.Electrode = 1;
    wb.Input.SetListIndex("ComboY", 0);
    for (int i = 1; i <= 3; ++i) {
        wb.Model.n[i] = 1;
        wb.Model.p[i] = 1;
    }
    // The dialogs open consistent with the checked "digital simulation" box: every mechanism
    // but the three-step one, no thin film or rotating disk, the solution resistance available.
    ApplyDigitalAvailability(wb.Model, wb.Input);
}

bool CollectOrReport(Workbench& wb) {
    return CollectOrReport(wb.Model, wb.Input, wb.Ui);
}

void mnuSave(Workbench& wb) {
    WriteParameterFile(wb.Model, wb.Curves.NoOfData, wb.Ui);
}

void mnuExport(Workbench& wb) {
    const CurveStore& cs = wb.Curves;
    WriteData(cs.FirstPoint, cs.LastPoint, cs.X, cs.Y, cs.CurveNo, wb.Ui);
}

void mnuSimulate(Workbench& wb) {
    wb.Ui.SetWaitCursor(true);
    // A sheet that cannot be collected is reported and nothing is simulated.
    if (CollectOrReport(wb)) {
        SimulateCurve(wb, OutputStep::LeaveToRedraw);
        RefreshPlot(wb);  // derives the shown quantity, then draws
        // Also after a simulation that reported an error.
        wb.Menus.Display = true;
        wb.Menus.Analysis = true;
    }
    wb.Ui.SetWaitCursor(false);
}

void mnuFindPeak(Workbench& wb) {
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
    PeakTables peaks;
    FindPeak(wb, wb.Curves.FirstPoint + 2, wb.Curves.LastPoint - 2, peaks);
}

void mnuFindHalfwaveE(Workbench& wb) {
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
    FindHalfwaveE(wb);
}

void mnuCompId(Workbench& wb) {
    TheoreticalPeak(wb);
}

void SheetOK(Workbench& wb) {
    SelectMechanism(wb.Model, wb.Input);
    CollectOrReport(wb);
}

void TechOK(Workbench& wb) {
    TechValue(wb.Model, wb.Input);
    ApplyDigitalAvailability(wb.Model, wb.Input);
}

void MechOK(Workbench& wb) {
    TechOK(wb);
    SelectMechanism(wb.Model, wb.Input);
}

void OptionOK(Workbench& wb) {
    ReadPlotOptions(wb);
    RefreshPlot(wb);
}

}  // namespace zemra
