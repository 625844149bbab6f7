#include "commands/MenuTree.h"

#include "commands/Commands.h"
#include "commands/CurveCommands.h"
#include "commands/ExperimentFile.h"
#include "commands/FileCommands.h"
#include "commands/FitCommands.h"
#include "commands/OpenParameters.h"
#include "commands/SheetLayout.h"

namespace zemra {
namespace {

MenuEntry Item(const char* name, const char* caption, void (*run)(Workbench&),
               const char* shortcut = "") {
    MenuEntry e;
    e.Name = name;
    e.Caption = caption;
    e.Run = run;
    e.Shortcut = shortcut;
    return e;
}

MenuEntry Bar(const char* name) {
    return Item(name, "-", nullptr);
}

MenuEntry Menu(const char* name, const char* caption, std::vector<MenuEntry> items,
               bool MenuState::*enabledBy = nullptr) {
    MenuEntry e = Item(name, caption, nullptr);
    e.Items = std::move(items);
    e.EnabledBy = enabledBy;
    e.Enabled = enabledBy == nullptr;
    return e;
}

MenuEntry Addition(MenuEntry e) {
    e.Addition = true;
    return e;
}

std::vector<MenuEntry> BuildTree() {
    // The separators split each menu into its groups of related commands: in File the parameter
    // file, the data files, the picture and Exit; in Run the simulation, the fits and the
    // separations; in Analysis the analyses, the calculus and the axis scaling.
    return {
        Menu("mnuFile", "&File",
             {Item("mnuSave", "&Save...", mnuSave, "Ctrl+S"),
              Item("mnuOpen", "&Open Parameters...", mnuOpen, "Ctrl+O"),
              Item("mnuSaveExperiment", "Save Ex&periment...", mnuSaveExperiment),
              Item("mnuOpenExperiment", "Open Experi&ment...", mnuOpenExperiment), Bar("mnuBar1"),
              Item("mnuImport", "&Import Data...", mnuImport, "Ctrl+I"),
              Item("mnuExport", "&Export Data...", mnuExport, "Ctrl+E"), Bar("mnuBar2"),
              Item("mnuCopyto", "&Copy to Clipboard", nullptr),
              Item("mnuPrint", "&Print", nullptr, "Ctrl+P"), Bar("mnuBar3"),
              Item("mnuExit", "E&xit", nullptr), Addition(Bar("mnuBarPicture")),
              Addition(Item("mnuSavePicture", "Save Picture...", nullptr))}),
        Menu("mnuInput", "&Input",
             {Item("mnuTech", "&Techniques...", mnuTech),
              Item("mnuMechamism", "&Mechamism...", mnuMechamism),
              Item("mnuExperimental", "&Experimental...", mnuExperimental)}),
        Menu("mnuRun", "&Run",
             {Item("mnuSimulate", "&Simulate", mnuSimulate, "F5"), Bar("mnuBar31"),
              Item("mnuManualFit", "&Manual Fit", mnuManualFit_Click),
              Item("mnuAutoFit", "&Auto Fit", mnuAutoFit_Click, "F9"), Bar("mnuBar32"),
              Item("mnuManualSeparate", "M&anual Seprarte", mnuManualSeparate_Click),
              Item("mnuAutoSeparate", "Auto S&eparate", mnuAutoSeparate_Click)}),
        Menu("mnuDisplay", "&Display",
             {Item("mnuOption", "&Option...", mnuOption), Item("mnuPlot", "&Plot", mnuPlot),
              Item("mnuNextCurve", "&Next Curve", mnuNextCurve),
              Item("mnuClear", "&Clear", mnuClear)},
             &MenuState::Display),
        Menu("mnuData", "&Analysis",
             {Item("mnuFindPeak", "&Find Peak", mnuFindPeak),
              Item("mnuFindHalfwaveE", "Find &Halfwave E", mnuFindHalfwaveE),
              Item("mnuCompId", "&Theoretical Peak", mnuCompId), Bar("mnuBar51"),
              Item("mnuSemi", "&Semi-differentiate", mnuSemi),
              Item("mnuSemiInte", "S&emi-intergrate", mnuSemiInte),
              Item("mnuDerivative", "&Differentiate", mnuDerivative),
              Item("mnuIntegral", "&Integrate", mnuIntegral), Bar("mnuBar52"),
              Menu("mnuXData", "&X Data",
                   {Item("mnu1000X", "1000X", mnu1000X), Item("mnu10X", "10X", mnu10X),
                    Item("mnu01X", "0.1X", mnu01X), Item("mnu0001X", "0.001X", mnu0001X),
                    Item("mnuMinusX", "-X", mnuMinusX)}),
              Menu("mnuYData", "&Y Data",
                   {Item("mnu1000Y", "1000Y", mnu1000Y), Item("mnu10Y", "10Y", mnu10Y),
                    Item("mnu01Y", "0.1Y", mnu01Y), Item("mnu0001Y", "0.001Y", mnu0001Y),
                    Item("mnuMinusY", "-Y", mnuMinusY)})},
             &MenuState::Analysis),
        Menu("mnuHelp", "&Help", {Item("mnuAbout", "&About...", mnuAbout)}),
    };
}

const MenuEntry* FindIn(const std::vector<MenuEntry>& entries, const std::string& name) {
    for (const MenuEntry& e : entries) {
        if (e.Name == name) return &e;
        if (const MenuEntry* inner = FindIn(e.Items, name)) return inner;
    }
    return nullptr;
}

}  // namespace

const std::vector<MenuEntry>& MenuTree() {
    static const std::vector<MenuEntry> tree = BuildTree();
    return tree;
}

bool IsSeparator(const MenuEntry& entry) {
    return entry.Caption == "-";
}

bool MenuEnabled(const MenuEntry& menu, const Workbench& wb) {
    return menu.EnabledBy ? wb.Menus.*menu.EnabledBy : menu.Enabled;
}

const MenuEntry* FindMenuEntry(const std::string& name) {
    return FindIn(MenuTree(), name);
}

void mnuTech(Workbench& wb) {
    wb.Ui.ShowWindow("FormTech");
}

void mnuMechamism(Workbench& wb) {
    wb.Ui.ShowWindow("FormMech");
}

void mnuOption(Workbench& wb) {
    wb.Ui.ShowWindow("formOption");
}

}  // namespace zemra
