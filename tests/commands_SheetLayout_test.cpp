#include "commands/SheetLayout.h"
#include "model/Collection.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(SheetLayout, RowsAndCaptionsOfEveryMechanism) {
    const char* heter[17][3] = {
        {"A+ne=B", "", ""},       {"A+ne=B", "B+ne=C", ""}, {"A+ne=B", "B+ne=C", "C+ne=D"},
        {"A+ne=B", "C+ne=D", ""}, {"A+ne=B", "", ""},       {"A+ne=B", "", ""},
        {"A+ne=B", "", ""},       {"A+ne=B", "", ""},       {"A+ne=B", "", ""},
        {"A+ne=B", "", ""},       {"A+ne=B", "C+ne=D", ""}, {"A+ne=B", "C+ne=D", ""},
        {"A+ne=B", "C+ne=D", ""}, {"A+ne=B", "B+ne=C", ""}, {"A+ne=B", "B+ne=C", ""},
        {"A+ne=B", "", ""},       {"A+ne=B", "", ""}};
    const char* homo[17][2] = {
        {"", ""},       {"", ""},     {"", ""},    {"", ""},        {"C=A", ""},   {"C=A", "B=D"},
        {"B=C", ""},    {"2B=C", ""}, {"B=A", ""}, {"2B=A", ""},    {"B=C", ""},   {"B=D", ""},
        {"B=D", "C=A"}, {"C=D", ""},  {"B=D", ""}, {"B+C=A+D", ""}, {"C=A+pD", ""}};
    for (int k = 1; k <= 17; ++k) {
        test::Bench b;
        b.wb.Input.Select("mech", k);
        ActivateSheet(b.wb);
        const InputRecord& in = b.wb.Input;
        const ParameterModel& m = b.wb.Model;
        for (int r = 1; r <= 4; ++r) {
            EXPECT_EQ(in.IsShown("D", r), r <= m.NSpecies) << k << " species " << r;
            EXPECT_EQ(in.IsShown("Cond", r - 1), r <= m.NSpecies) << k;
            EXPECT_EQ(in.IsShown("CheckFitted", r), r <= m.NSpecies) << k;
        }
        for (int r = 1; r <= 3; ++r) {
            EXPECT_EQ(in.IsShown("heter", r), r <= m.NCharge) << k << " charge " << r;
            EXPECT_EQ(in.IsShown("CheckFitted", r + 10), r <= m.NCharge) << k;
            EXPECT_EQ(in.IsShown("kf", r), r <= m.NHomo) << k << " homo " << r;
            EXPECT_EQ(in.IsShown("homo", r), r <= m.NHomo) << k;
            EXPECT_EQ(in.IsShown("CheckFitted", r + 16), r <= m.NHomo) << k;
            if (*heter[k - 1][r - 1]) {
                EXPECT_EQ(in.CaptionOf("heter", r), heter[k - 1][r - 1]);
            }
        }
        for (int r = 1; r <= 2; ++r)
            if (*homo[k - 1][r - 1]) {
                EXPECT_EQ(in.CaptionOf("homo", r), homo[k - 1][r - 1]);
            }
        for (int r = 1; r <= m.NHomo; ++r) EXPECT_EQ(in.CaptionOf("LabelKeq", r), "1e3") << k;
    }
}

TEST(SheetLayout, TechniqueFieldsSwitchWithTheTechnique) {
    const struct {
        int technique;
        bool v, f, tp, epulse, tpEnabled;  // shown, and tp enabled where shown
    } cases[] = {{3, true, false, true, true, true},
                 {5, false, true, true, true, false},
                 {2, true, false, false, false, false},
                 {1, true, false, false, false, false},
                 {4, true, false, true, true, true}};
    test::Bench b;
    InputRecord& in = b.wb.Input;
    for (const auto& c : cases) {
        in.Select("optTech", c.technique);
        ActivateSheet(b.wb);
        EXPECT_EQ((std::vector<bool>{in.IsShown("V"), in.IsShown("TextF"), in.IsShown("tp"),
                                     in.IsShown("Epulse")}),
                  (std::vector<bool>{c.v, c.f, c.tp, c.epulse}))
            << c.technique;
        EXPECT_TRUE(!c.tp || in.Get("tp").Enabled == c.tpEnabled) << c.technique;
    }
}

TEST(SheetLayout, HiddenRowsKeepTheirValues) {
    test::Bench b;
    const auto choose = [&](int mech) {  // whether species row 4 is shown
        b.wb.Input.Select("mech", mech);
        ActivateSheet(b.wb);
        return b.wb.Input.IsShown("D", 4);
    };
    ASSERT_TRUE(choose(4));
    b.wb.Input.SetText("D", 4, "3e-6");
    EXPECT_FALSE(choose(1));
    EXPECT_TRUE(choose(4));
    EXPECT_EQ(b.wb.Input.TextOf("D", 4), "3e-6");
}

TEST(Dialogs, DisabledMechanismStaysSelectedAndThreeIsNeverOffered) {
    test::Bench b;
    InputRecord& in = b.wb.Input;
    in.Select("mech", 7);
    MechOK(b.wb);
    in.SetChecked("CheckDigital", false);  // the check box's click runs the availability step
    EXPECT_FALSE(in.IsEntryEnabled("mech", 7));
    EXPECT_EQ(in.SelectedOf("mech"), 7);
    MechOK(b.wb);
    EXPECT_EQ(b.wb.Model.Mechanism, 7);
    for (bool digital : {true, false}) {
        in.SetChecked("CheckDigital", digital);
        EXPECT_FALSE(in.IsEntryEnabled("mech", 3));
    }
}

TEST(Dialogs, MechanismOkReReadsTheTechnique) {
    test::Bench b;
    b.wb.Input.Select("optTech", 4);
    b.wb.Input.Select("mech", 9);
    MechOK(b.wb);
    EXPECT_EQ(b.wb.Model.Technique, 4);
    EXPECT_EQ(b.wb.Model.Mechanism, 9);
    EXPECT_EQ(b.wb.Model.NHomo, 1);
}

TEST(Dialogs, AutoScaleBoxesHideTheLimitFields) {
    test::Bench b;
    b.wb.Input.SetChecked("Xauto", false);
    EXPECT_TRUE(b.wb.Input.IsShown("XminText"));
    EXPECT_TRUE(b.wb.Input.IsShown("XmaxText"));
    EXPECT_FALSE(b.wb.Input.IsShown("YminText"));
    b.wb.Input.SetChecked("Yauto", false);
    EXPECT_TRUE(b.wb.Input.IsShown("YmaxText"));
    b.wb.Input.SetChecked("Xauto", true);
    EXPECT_FALSE(b.wb.Input.IsShown("XminText"));
}

}  // namespace
}  // namespace zemra
