// The menu items and dialog buttons by the names zemra-cli knows them: a menu item's name without
// its "mnu" prefix, the dialog buttons TechOK, MechOK, SheetOK and OptionOK.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "state/Workbench.h"

namespace zemra {

struct CommandInfo {
    std::string Name;
    bool TakesFile;  // chooses a file: the name comes after "=" (Import=data.csv)
    std::function<void(Workbench&)> Run;
    bool OnSheet = false;  // a button of the experiment sheet: the sheet is in front first
};

const std::vector<CommandInfo>& CommandTable();
const CommandInfo* FindCommand(const std::string& name);

}  // namespace zemra
