#include "commands/CommandTable.h"

#include "commands/Commands.h"
#include "commands/CurveCommands.h"
#include "commands/ExperimentFile.h"
#include "commands/FileCommands.h"
#include "commands/FitCommands.h"
#include "commands/OpenParameters.h"
#include "commands/SheetLayout.h"

namespace zemra {

const std::vector<CommandInfo>& CommandTable() {
    static const std::vector<CommandInfo> table = {
        {"Save", true, mnuSave},
        {"Open", true, mnuOpen},
        {"SaveExperiment", true, mnuSaveExperiment},
        {"OpenExperiment", true, mnuOpenExperiment},
        {"Import", true, mnuImport},
        {"Export", true, mnuExport},
        {"Simulate", false, mnuSimulate},
        {"ManualFit", false, mnuManualFit_Click},
        {"AutoFit", false, mnuAutoFit_Click},
        {"ManualSeparate", false, mnuManualSeparate_Click},
        {"AutoSeparate", false, mnuAutoSeparate_Click},
        {"Experimental", false, mnuExperimental},
        {"Plot", false, mnuPlot},
        {"NextCurve", false, mnuNextCurve},
        {"Clear", false, mnuClear},
        {"FindPeak", false, mnuFindPeak},
        {"FindHalfwaveE", false, mnuFindHalfwaveE},
        {"CompId", false, mnuCompId},
        {"Semi", false, mnuSemi},
        {"SemiInte", false, mnuSemiInte},
        {"Derivative", false, mnuDerivative},
        {"Integral", false, mnuIntegral},
        {"1000X", false, mnu1000X},
        {"10X", false, mnu10X},
        {"01X", false, mnu01X},
        {"0001X", false, mnu0001X},
        {"MinusX", false, mnuMinusX},
        {"1000Y", false, mnu1000Y},
        {"10Y", false, mnu10Y},
        {"01Y", false, mnu01Y},
        {"0001Y", false, mnu0001Y},
        {"MinusY", false, mnuMinusY},
        {"About", false, mnuAbout},
        {"SheetOK", false, SheetOK, true},
        {"TechOK", false, TechOK},
        {"MechOK", false, MechOK},
        {"OptionOK", false, OptionOK},
    };
    return table;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const auto& c : CommandTable())
        if (c.Name == name) return &c;
    return nullptr;
}

}  // namespace zemra
