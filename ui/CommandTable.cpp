#include "ui/CommandTable.h"

#include "ui/Commands.h"
#include "ui/SheetLayout.h"

namespace zemra {

const std::vector<CommandInfo>& CommandTable() {
    static const std::vector<CommandInfo> table = {
        {"Save", true, mnuSave},          {"Export", true, mnuExport},
        {"Simulate", false, mnuSimulate}, {"Experimental", false, mnuExperimental},
        {"FindPeak", false, mnuFindPeak}, {"FindHalfwaveE", false, mnuFindHalfwaveE},
        {"CompId", false, mnuCompId},     {"SheetOK", false, SheetOK},
        {"TechOK", false, TechOK},        {"MechOK", false, MechOK},
    };
    return table;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const auto& c : CommandTable())
        if (c.Name == name) return &c;
    return nullptr;
}

}  // namespace zemra
