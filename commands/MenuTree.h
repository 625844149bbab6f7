// The main window's menu bar as a table: every menu and item in order with its name, caption (the
// "&" marks the access key), the enabled state it starts with and the command it runs. The
// desktop builds its menus from this table alone. Items the desktop serves itself (the clipboard,
// the printer, Exit, saving the picture) carry no command; separators have the caption "-".
#pragma once

#include <string>
#include <vector>

#include "state/Workbench.h"

namespace zemra {

struct MenuEntry {
    std::string Name;     // mnuSave, mnuBar1, mnuXData, ...
    std::string Caption;  // "&Save...", "-" for a separator
    bool Enabled = true;  // at start-up
    void (*Run)(Workbench&) = nullptr;
    // A key that also runs the item, as the desktop writes it ("F5", "Ctrl+S"); "" for none.
    std::string Shortcut;
    // An item beyond the classic menu bar, kept after a separator at the end of its menu.
    bool Addition = false;
    // A menu that the workbench's menu state enables (Display and Analysis, after the first
    // Simulate or Import); nullptr for a menu enabled from the start.
    bool MenuState::*EnabledBy = nullptr;
    std::vector<MenuEntry> Items;  // the items of a menu or submenu
};

// The menus of the menu bar, in order.
const std::vector<MenuEntry>& MenuTree();

bool IsSeparator(const MenuEntry& entry);
// Whether a menu of the bar is enabled now.
bool MenuEnabled(const MenuEntry& menu, const Workbench& wb);
// An entry anywhere in the tree by name; nullptr when there is none.
const MenuEntry* FindMenuEntry(const std::string& name);

// The Input and Display menus' dialog commands: each brings its dialog to the front.
void mnuTech(Workbench& wb);
void mnuMechamism(Workbench& wb);
void mnuOption(Workbench& wb);

}  // namespace zemra
