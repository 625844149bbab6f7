#include "commands/MenuTree.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// The tree as lines "name caption state", a submenu's items indented under it; the additions
// beyond the classic menu bar left out.
void Flatten(const std::vector<MenuEntry>& entries, const std::string& indent,
             std::vector<std::string>& out) {
    for (const MenuEntry& e : entries) {
        if (e.Addition) continue;
        out.push_back(indent + e.Name + " " + e.Caption + (e.Enabled ? "" : " off"));
        Flatten(e.Items, indent + "  ", out);
    }
}

TEST(MenuTree, MenusItemsCaptionsAndStartUpStates) {
    const std::vector<std::string> expected = {"mnuFile &File",
                                               "  mnuSave &Save...",
                                               "  mnuOpen &Open Parameters...",
                                               "  mnuSaveExperiment Save Ex&periment...",
                                               "  mnuOpenExperiment Open Experi&ment...",
                                               "  mnuBar1 -",
                                               "  mnuImport &Import Data...",
                                               "  mnuExport &Export Data...",
                                               "  mnuBar2 -",
                                               "  mnuCopyto &Copy to Clipboard",
                                               "  mnuPrint &Print",
                                               "  mnuBar3 -",
                                               "  mnuExit E&xit",
                                               "mnuInput &Input",
                                               "  mnuTech &Techniques...",
                                               "  mnuMechamism &Mechamism...",
                                               "  mnuExperimental &Experimental...",
                                               "mnuRun &Run",
                                               "  mnuSimulate &Simulate",
                                               "  mnuBar31 -",
                                               "  mnuManualFit &Manual Fit",
                                               "  mnuAutoFit &Auto Fit",
                                               "  mnuBar32 -",
                                               "  mnuManualSeparate M&anual Seprarte",
                                               "  mnuAutoSeparate Auto S&eparate",
                                               "mnuDisplay &Display off",
                                               "  mnuOption &Option...",
                                               "  mnuPlot &Plot",
                                               "  mnuNextCurve &Next Curve",
                                               "  mnuClear &Clear",
                                               "mnuData &Analysis off",
                                               "  mnuFindPeak &Find Peak",
                                               "  mnuFindHalfwaveE Find &Halfwave E",
                                               "  mnuCompId &Theoretical Peak",
                                               "  mnuBar51 -",
                                               "  mnuSemi &Semi-differentiate",
                                               "  mnuSemiInte S&emi-intergrate",
                                               "  mnuDerivative &Differentiate",
                                               "  mnuIntegral &Integrate",
                                               "  mnuBar52 -",
                                               "  mnuXData &X Data",
                                               "    mnu1000X 1000X",
                                               "    mnu10X 10X",
                                               "    mnu01X 0.1X",
                                               "    mnu0001X 0.001X",
                                               "    mnuMinusX -X",
                                               "  mnuYData &Y Data",
                                               "    mnu1000Y 1000Y",
                                               "    mnu10Y 10Y",
                                               "    mnu01Y 0.1Y",
                                               "    mnu0001Y 0.001Y",
                                               "    mnuMinusY -Y",
                                               "mnuHelp &Help",
                                               "  mnuAbout &About..."};
    std::vector<std::string> actual;
    Flatten(MenuTree(), "", actual);
    EXPECT_EQ(actual, expected);
}

TEST(MenuTree, AdditionsComeLastAfterASeparator) {
    for (const MenuEntry& menu : MenuTree()) {
        const auto& items = menu.Items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!items[i].Addition) continue;
            for (size_t j = i; j < items.size(); ++j)
                EXPECT_TRUE(items[j].Addition) << items[j].Name;
            EXPECT_TRUE(IsSeparator(items[i])) << items[i].Name;
            break;
        }
    }
    ASSERT_NE(FindMenuEntry("mnuSavePicture"), nullptr);
    EXPECT_TRUE(FindMenuEntry("mnuSavePicture")->Addition);
}

TEST(MenuTree, DisplayAndAnalysisFollowTheMenuState) {
    test::Bench b;
    const MenuEntry& display = *FindMenuEntry("mnuDisplay");
    const MenuEntry& analysis = *FindMenuEntry("mnuData");
    EXPECT_FALSE(MenuEnabled(display, b.wb) || MenuEnabled(analysis, b.wb));
    FindMenuEntry("mnuSimulate")->Run(b.wb);
    EXPECT_TRUE(MenuEnabled(display, b.wb) && MenuEnabled(analysis, b.wb));
    EXPECT_TRUE(MenuEnabled(*FindMenuEntry("mnuFile"), b.wb));
}

TEST(MenuTree, DialogItemsBringTheirWindowToTheFront) {
    const std::pair<const char*, const char*> cases[] = {{"mnuTech", "FormTech"},
                                                         {"mnuMechamism", "FormMech"},
                                                         {"mnuOption", "formOption"},
                                                         {"mnuExperimental", "FormExpr"},
                                                         {"mnuAbout", "FormAbout"}};
    for (const auto& [item, form] : cases) {
        test::Bench b;
        FindMenuEntry(item)->Run(b.wb);
        ASSERT_EQ(b.host.ShownWindows.size(), 1u) << item;
        EXPECT_EQ(b.host.ShownWindows[0], form);
    }
}

}  // namespace
}  // namespace zemra
