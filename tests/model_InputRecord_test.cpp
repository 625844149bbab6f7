#include "model/InputRecord.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

struct TextDefault {
    const char* name;
    int row;
    const char* text;
    bool shown;
};

// Every text field of the sheet and the plot options with its start-up text and visibility.
const TextDefault kTextDefaults[] = {
    {"D", 1, "1e-5", true},
    {"D", 4, "1e-5", true},
    {"C", 1, "1e-3", true},
    {"C", 2, "0", true},
    {"C", 3, "0", true},
    {"C", 4, "0", true},
    {"Cond", 0, "100", true},
    {"Cond", 1, "200", true},
    {"Cond", 2, "300", true},
    {"Cond", 3, "400", true},
    {"TextCmin", 1, "1e-4", true},
    {"TextCmin", 2, "0", false},
    {"TextCmax", 1, "1e-2", true},
    {"TextCmax", 4, "1e-2", false},
    {"Eze", 1, "0.1", true},
    {"Eze", 2, "-0.1", true},
    {"Eze", 3, "-0.2", true},
    {"alph", 2, "0.5", true},
    {"ks", 3, "1e4", true},
    {"TextCmin", 5, "1e-4", false},
    {"TextCmax", 7, "100", false},
    {"TextCmin", 8, "0.4", false},
    {"TextCmax", 10, "0.6", false},
    {"TextCmin", 11, "-0.2", false},
    {"TextCmax", 11, "0.2", false},
    {"TextCmax", 12, "0.2", false},
    {"TextCmax", 13, "0.3", false},
    {"kf", 1, "10", true},
    {"kb", 3, "0.01", true},
    {"TextCmin", 14, "1", false},
    {"TextCmax", 16, "100", false},
    {"TextCmin", 17, "0.001", false},
    {"TextCmax", 19, "1", false},
    {"Estart", kNoRow, "0.3", true},
    {"Eend", kNoRow, "-0.3", true},
    {"Estep", kNoRow, "0.005", true},
    {"V", kNoRow, "0.01", true},
    {"tp", kNoRow, "0.05", true},
    {"td", kNoRow, "0.5", true},
    {"Epulse", kNoRow, "-0.05", true},
    {"TextF", kNoRow, "10", true},
    {"txttemp", kNoRow, "25", true},
    {"Noise", kNoRow, "0", true},
    {"Cdl", kNoRow, "0", true},
    {"Ru", kNoRow, "0", true},
    {"radius", kNoRow, "0.2821", false},
    {"leng", kNoRow, "0.01", false},
    {"ARE", kNoRow, "1", true},
    {"TextRrate", kNoRow, "100", false},
    {"TextDis", kNoRow, "1", true},
    {"TextVis", kNoRow, "0.01", false},
    {"TextElectrolyteCond", kNoRow, "100", true},
    {"TextElectrolyteC", kNoRow, "0.01", true},
    {"txtEPre", kNoRow, "-0.3", true},
    {"txtTPre", kNoRow, "600", true},
    {"txtRStir", kNoRow, "100", true},
    {"txtPconst", kNoRow, "10", true},
    {"txtTpreconst", kNoRow, "1e-3", true},
    {"XminText", kNoRow, "-0.3", false},
    {"XmaxText", kNoRow, "0.3", false},
    {"YminText", kNoRow, "-1e-3", false},
    {"YmaxText", kNoRow, "1e-3", false},
};

TEST(InputRecordStartUp, TextFieldsHoldTheirDefaults) {
    InputRecord in;
    for (const auto& d : kTextDefaults) {
        const Control& c = in.Get(d.name, d.row);
        EXPECT_EQ(c.Kind, ControlKind::Text) << d.name;
        EXPECT_EQ(c.Text, d.text) << d.name << "(" << d.row << ")";
        EXPECT_EQ(c.Shown, d.shown) << d.name << "(" << d.row << ")";
    }
}

TEST(InputRecordStartUp, LabelsAndCheckBoxes) {
    InputRecord in;
    EXPECT_EQ(in.CaptionOf("specie", 3), "C");
    EXPECT_EQ(in.CaptionOf("Cinit", 1), "1e-3");
    EXPECT_EQ(in.CaptionOf("Cinit", 2), "0");
    EXPECT_EQ(in.CaptionOf("heter", 2), "2");
    EXPECT_EQ(in.CaptionOf("homo", 3), "3");
    EXPECT_EQ(in.CaptionOf("LabelKeq", 1), "");
    for (int s = 1; s <= kFitSlots; ++s) EXPECT_EQ(in.IsChecked("CheckFitted", s), s == 1) << s;
    EXPECT_EQ(in.CaptionOf("CheckFitted", 1), "C fitted (M)");
    EXPECT_EQ(in.CaptionOf("CheckFitted", 6), "ks fitted");
    EXPECT_TRUE(in.IsChecked("CheckPreEqu"));
    EXPECT_FALSE(in.IsChecked("CheckPreCon"));
    EXPECT_FALSE(in.IsShown("FramePre"));
    EXPECT_TRUE(in.IsChecked("CheckDigital"));
    EXPECT_FALSE(in.IsChecked("CheckGrid"));
    EXPECT_FALSE(in.IsChecked("overlap"));
    EXPECT_TRUE(in.IsChecked("CheckXdir"));
    EXPECT_TRUE(in.IsChecked("Xauto"));
    EXPECT_TRUE(in.IsChecked("Yauto"));
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
    for (int k = 0; k <= 4; ++k) {
        EXPECT_FALSE(in.IsChecked("linestyle1", k));
        EXPECT_FALSE(in.IsChecked("linestyle2", k));
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

TEST(InputRecordSetters, HiddenControlsKeepTheirValues) {
    InputRecord in;
    in.SetText("radius", kNoRow, "0.5");
    EXPECT_FALSE(in.IsShown("radius"));
    EXPECT_EQ(in.TextOf("radius"), "0.5");
    EXPECT_EQ(in.Find("NoSuchControl"), nullptr);
    EXPECT_THROW(in.Get("D", 5), std::out_of_range);
}

}  // namespace
}  // namespace zemra
