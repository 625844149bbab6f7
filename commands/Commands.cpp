#include "commands/Commands.h"

#include <string>

#include "analysis/HalfWave.h"
#include "analysis/PeakFinding.h"
#include "analysis/TheoreticalPeak.h"
#include "commands/SheetComputations.h"
#include "curves/Plot.h"
#include "model/Collection.h"
#include "simulation/RefinedClosedForm.h"
#include "simulation/SignalProcessing.h"
#include "simulation/SimulationDriver.h"

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
    try {
        CollectParameters(wb.Model, wb.Input);
        return true;
    } catch (const InputError& e) {
        wb.Ui.MessageBox(e.what());
        return false;
    }
}

void ShowMessages(Workbench& wb, const std::vector<std::string>& messages) {
    for (const std::string& m : messages) wb.Ui.MessageBox(m);
}

void ShowPlot(Workbench& wb, bool reportEmpty) {
    wb.Ui.ShowWindow("FormPlot");
    if (PlotCurves(wb) == PlotOutcome::NoData && reportEmpty) wb.Ui.MessageBox("Error: No data!");
}

void RefreshPlot(Workbench& wb, bool reported) {
    const std::string refused = ComputeOutputQuantity(wb);
    if (!refused.empty() && !reported) wb.Ui.MessageBox(refused);
    ShowPlot(wb, !reported && refused.empty());
}

void mnuSimulate(Workbench& wb) {
    wb.Ui.SetWaitCursor(true);
    // A sheet that cannot be collected is reported and nothing is simulated.
    if (CollectOrReport(wb)) {
        const std::vector<std::string> messages = SimulateCurve(wb).Messages();
        ShowMessages(wb, messages);
        RefreshPlot(wb, !messages.empty());  // derives the shown quantity, then draws
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

namespace {
// The reversible pulse values in refined mode: the peak of the refined pulse currents.
void RefinedPulseTheory(const ParameterModel& m, int k, TheoreticalValues& v) {
    const PulsePeak p = RefinedPulsePeak(m, k);
    v.Erev = p.E;
    v.Irev = p.I;
}
}  // namespace

void mnuCompId(Workbench& wb) {
    if (!CollectOrReport(wb)) return;
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
    try {
        PrintTheoreticalPeak(wb.Model, wb.Result, RefinedPulseTheory);
    } catch (const RuntimeError& e) {
        // The lines printed so far stay in the result window.
        wb.Ui.MessageBox("Theoretical Peak Error: " + e.Description());
    }
}

void mnuAbout(Workbench& wb) {
    constexpr int kMajorVersion = 3, kMinorVersion = 2;
    wb.Ui.ShowWindow("FormAbout");
    ResultWindow& about = wb.About;
    about.Show();
    about.Clear();
    about.Print(std::string(53, '*'));
    about.Print("Zemra " + std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion));
    about.Print("Simulation, fitting and analysis of voltammograms");
    about.Print("Please read document ZemraDoc.htm for help");
    about.Print("");
    about.Print("Questions and reports are welcome:");
    about.Print("write to the maintainers of this program.");
    about.Print("");
    about.Print("Thank you for using Zemra.");
    about.Print(std::string(54, '*'));
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
