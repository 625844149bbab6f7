#include <algorithm>
#include <sstream>
#include <tuple>

#include "model/InputRecord.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Splits "name(row)=text", or "name=text" for a control without rows, into its parts.
std::tuple<std::string, int, std::string> Entry(const std::string& e) {
    const size_t eq = e.find('='), paren = e.find('(');
    const int row = paren < eq ? std::stoi(e.substr(paren + 1)) : kNoRow;
    return {e.substr(0, std::min(eq, paren)), row, e.substr(eq + 1)};
}

// Start-up texts of the sheet's and the plot options' text fields, as "name(row)=text", or
// "name=text" for a field without rows: those shown at start-up, then those hidden.
const char* const kShown =
    "D(1)=1e-5 D(4)=1e-5 C(1)=1e-3 C(2)=0 C(3)=0 C(4)=0 Cond(0)=100 Cond(1)=200 Cond(2)=300 "
    "Cond(3)=400 TextCmin(1)=1e-4 TextCmax(1)=1e-2 Eze(1)=0.1 Eze(2)=-0.1 Eze(3)=-0.2 alph(2)=0.5 "
    "ks(3)=1e4 kf(1)=10 kb(3)=0.01 TextElectrolyteCond=100 TextElectrolyteC=0.01 Estart=0.3 "
    "Eend=-0.3 Estep=0.005 V=0.01 tp=0.05 td=0.5 Epulse=-0.05 TextF=10 txttemp=25 Noise=0 Cdl=0 "
    "Ru=0 ARE=1 TextDis=1 txtEPre=-0.3 txtTPre=600 txtRStir=100 txtPconst=10 txtTpreconst=1e-3";
const char* const kHidden =
    "TextCmin(2)=0 TextCmax(4)=1e-2 TextCmin(5)=1e-4 TextCmax(7)=100 TextCmin(8)=0.4 "
    "TextCmax(10)=0.6 TextCmin(11)=-0.2 TextCmax(11)=0.2 TextCmax(12)=0.2 TextCmax(13)=0.3 "
    "TextCmin(14)=1 TextCmax(16)=100 TextCmin(17)=0.001 TextCmax(19)=1 radius=0.2821 leng=0.01 "
    "TextRrate=100 TextVis=0.01 XminText=-0.3 XmaxText=0.3 YminText=-1e-3 YmaxText=1e-3";

TEST(InputRecordStartUp, TextFieldsHoldTheirDefaults) {
    InputRecord in;
    for (const bool shown : {true, false}) {
        std::istringstream entries(shown ? kShown : kHidden);
        for (std::string e; entries >> e;) {
            const auto [name, row, text] = Entry(e);
            const Control& c = in.Get(name, row);
            EXPECT_EQ(c.Kind, ControlKind::Text) << e;
            EXPECT_EQ(c.Text, text) << e;
            EXPECT_EQ(c.Shown, shown) << e;
        }
    }
}

TEST(InputRecordStartUp, LabelsAndCheckBoxes) {
    InputRecord in;
    for (const char* e :
         {"specie(3)=C", "Cinit(1)=1e-3", "Cinit(2)=0", "heter(2)=2", "homo(3)=3",
          "LabelKeq(1)=", "CheckFitted(1)=C fitted (M)", "CheckFitted(6)=ks fitted"}) {
        const auto [name, row, caption] = Entry(e);
        EXPECT_EQ(in.CaptionOf(name, row), caption) << e;
    }
    for (int s = 1; s <= kFitSlots; ++s) EXPECT_EQ(in.IsChecked("CheckFitted", s), s == 1) << s;
    const std::pair<const char*, bool> boxes[] = {
        {"CheckPreEqu", true}, {"CheckPreCon", false}, {"CheckDigital", true},
        {"CheckGrid", false},  {"overlap", false},     {"CheckXdir", true},
        {"Xauto", true},       {"Yauto", true},        {"CheckRefined", false}};
    for (const auto& [box, checked] : boxes) EXPECT_EQ(in.IsChecked(box), checked) << box;
    EXPECT_FALSE(in.IsShown("FramePre"));
    EXPECT_EQ(in.Get("Yauto").ToolTip, "auto scale of Y axis ");
}

TEST(InputRecordStartUp, ListsAndOptionGroups) {
    InputRecord in;
    EXPECT_EQ(in.ListText("ComboScan"), "single");
    EXPECT_EQ(in.ListText("NEL", 2), "1");
    EXPECT_EQ(in.ListText("pl", 3), "1");
    EXPECT_EQ(in.Get("pl", 1).Entries.size(), 4u);
    EXPECT_EQ(in.ListText("ComboY"), "current I");
    EXPECT_EQ(in.Get("ComboY").Entries[3], "surface concentration C");
    EXPECT_EQ(in.SelectedOf("optTech"), 1);
    EXPECT_EQ(in.Get("optTech").Entries[4], "5)  Square wave voltammetry");
    EXPECT_EQ(in.SelectedOf("mech"), 1);
    EXPECT_EQ(in.Get("mech").Entries[16], "17)  C = A + pD, A + ne = B");
    EXPECT_EQ(in.Get("mech").EntryToolTips[11], "");
    EXPECT_EQ(in.Get("mech").EntryToolTips[12], "square reaction");
    for (int k = 1; k <= 17; ++k)
        EXPECT_EQ(in.IsEntryEnabled("mech", k), k == 1 || k == 4 || k == 9) << k;
    EXPECT_EQ(in.SelectedOf("optElectrode"), 1);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(in.IsEntryEnabled("optElectrode", k), k < 7) << k;
    EXPECT_EQ(in.Get("optElectrode").Entries[5], "6)  (Micro)Hemicylindrical");
    for (int k = 0; k <= 4; ++k) {  // every curve drawn as a line
        EXPECT_FALSE(in.IsChecked("linestyle1", k) || in.IsChecked("linestyle2", k));
        EXPECT_TRUE(in.IsChecked("linestyle3", k));
    }
}

TEST(InputRecordSetters, RaiseTheChangeEventOnlyOnAChange) {
    InputRecord in;
    std::vector<std::string> events;
    in.OnChange = [&](const std::string& name, int row) {
        events.push_back(name + "(" + std::to_string(row) + ")");
    };
    in.SetText("Estart", "0.3");  // unchanged: no event
    in.SetText("D", 2, "2e-5");
    in.SetCaption("LabelKeq", 1, "1e3");
    in.SetChecked("CheckFitted", 5, true);
    in.SetListIndex("NEL", 1, 1);
    in.Select("optElectrode", 1);  // a click on the selected entry still clicks
    in.SelectButton("linestyle1", 2);
    EXPECT_EQ(events, (std::vector<std::string>{"D(2)", "LabelKeq(1)", "CheckFitted(5)", "NEL(1)",
                                                "optElectrode(-1)", "linestyle1(2)"}));
    EXPECT_EQ(in.ListText("NEL", 1), "2");
    EXPECT_TRUE(in.IsChecked("linestyle1", 2));
    EXPECT_FALSE(in.IsChecked("linestyle3", 2));
    EXPECT_TRUE(in.IsChecked("linestyle3", 1));  // other curves keep their style
}

}  // namespace
}  // namespace zemra
