#include <cmath>

#include "commands/SheetComputations.h"
#include "commands/SheetLayout.h"
#include "model/Collection.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// The sheet after choosing a mechanism and bringing the sheet to the front.
struct Sheet : test::Bench {
    explicit Sheet(int mechanism) {
        wb.Input.Select("mech", mechanism);
        ActivateSheet(wb);
    }
    void Type(const std::string& name, int row, const std::string& text) {
        wb.Input.SetText(name, row, text);
    }
    double Cinit(int s) const { return Val(wb.Input.CaptionOf("Cinit", s)); }
    // Nernst ratio reduced/oxidised of couple j at the start potential, from the typed fields.
    double Theta(int j) const {
        const double frt = 96484.6 / (8.31441 * (25 + 273.14));
        const double n = Val(wb.Input.ListText("NEL", j));
        return std::exp(n * frt *
                        (Val(wb.Input.TextOf("Eze", j)) - Val(wb.Input.TextOf("Estart"))));
    }
};

// Captions carry four significant digits.
constexpr double kCaptionRel = 6e-4;

TEST(PreEquilibration, SingleCoupleSplitsByTheNernstRatio) {
    Sheet s(1);  // E start = E° (half and half) starts the failure handling test below
    s.Type("Estart", kNoRow, "0.12");
    s.Type("C", 2, "2e-4");
    EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(2), 1.2e-3, kCaptionRel);
    EXPECT_REL_NEAR(s.Cinit(2) / s.Cinit(1), s.Theta(1), 2 * kCaptionRel);
}

TEST(PreEquilibration, ConsecutiveTransfersConserveMatter) {
    for (int mech : {2, 14, 15}) {
        Sheet s(mech);
        s.Type("Estart", kNoRow, "0.0");
        s.Type("C", 2, "3e-4");
        s.Type("C", 3, "2e-4");
        EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(2) + s.Cinit(3), 1.5e-3, kCaptionRel) << mech;
        EXPECT_REL_NEAR(s.Cinit(3) / s.Cinit(2), s.Theta(2), 2 * kCaptionRel) << mech;
    }
}

TEST(PreEquilibration, SeparateCouplesEachFollowTheirOwnRatio) {
    for (int mech : {4, 11, 12, 13}) {
        Sheet s(mech);
        s.Type("Estart", kNoRow, "-0.05");
        s.Type("C", 3, "4e-4");
        s.Type("C", 4, "1e-4");
        EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(2), 1e-3, kCaptionRel) << mech;
        EXPECT_REL_NEAR(s.Cinit(2) / s.Cinit(1), s.Theta(1), 2 * kCaptionRel) << mech;
        EXPECT_REL_NEAR(s.Cinit(3) + s.Cinit(4), 5e-4, kCaptionRel) << mech;
        EXPECT_REL_NEAR(s.Cinit(4) / s.Cinit(3), s.Theta(2), 2 * kCaptionRel) << mech;
    }
}

TEST(PreEquilibration, PrecedingReactionSetsTheChemicalRatioFirst) {
    for (int mech : {5, 6}) {
        Sheet s(mech);
        s.Type("kf", 1, "2");
        s.Type("kb", 1, "1");  // K = 2
        s.Type("C", 3, "5e-4");
        s.Type("Estart", kNoRow, "0.1");  // theta = 1
        EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(2) + s.Cinit(3), 1.5e-3, kCaptionRel) << mech;
        // Before the charge transfer A/C = K; the transfer then splits A + ... evenly.
        EXPECT_REL_NEAR(s.Cinit(1), s.Cinit(2), kCaptionRel) << mech;
        EXPECT_REL_NEAR((s.Cinit(1) + s.Cinit(2)) / s.Cinit(3), 2.0, 2 * kCaptionRel) << mech;
    }
}

TEST(PreEquilibration, FollowingReactionActsOnTheReducedForm) {
    for (int mech : {7, 8}) {
        Sheet s(mech);
        s.Type("kf", 1, "3");
        s.Type("kb", 1, "1");  // K = 3
        s.Type("Estart", kNoRow, "0.1");
        EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(2) + s.Cinit(3), 1e-3, kCaptionRel) << mech;
        EXPECT_REL_NEAR(s.Cinit(3) / s.Cinit(2), 3.0, 2 * kCaptionRel) << mech;
    }
}

TEST(PreEquilibration, ComplexFormationTouchesOnlyAAndC) {
    Sheet s(17);
    s.Type("C", 2, "1e-4");
    s.Type("C", 3, "6e-4");
    s.Type("C", 4, "0.1");
    s.wb.Input.SetListIndex("pl", 1, 1);  // p = 2
    s.Type("kf", 1, "5");
    s.Type("kb", 1, "100");  // K = 0.05
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 2), "1e-4");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 4), "1e-1");
    EXPECT_REL_NEAR(s.Cinit(1) + s.Cinit(3), 1.6e-3, kCaptionRel);
    // K = [A][D]^p / [C]
    EXPECT_REL_NEAR(s.Cinit(1) * 0.1 * 0.1 / s.Cinit(3), 0.05, 2 * kCaptionRel);
}

TEST(PreEquilibration, OffOnlyCopiesTheEditedRow) {
    Sheet s(1);
    s.wb.Input.SetChecked("CheckPreEqu", false);
    s.Type("C", 1, "0.0021234");
    s.Type("C", 2, "7e-4");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 1), "2.123e-3");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 2), "7e-4");
}

TEST(Preconcentration, BHoldsTheDepositedAmount) {
    Sheet s(1);
    s.wb.Input.SetChecked("CheckPreCon", true);
    EXPECT_TRUE(s.wb.Input.IsShown("FramePre"));
    // Q = Pc D^(2/3) sqrt(2 pi Rs/60) nu^(-1/6) t A / V / (1 + theta_p), planar: V = A * L.
    const double frt = 96484.6 / 8.31441 / 298.14;
    const double thetaP = std::exp(1 * frt * (-0.3 - 0.1));
    const double Q = 10 * std::pow(1e-5, 2.0 / 3) * std::sqrt(2 * 3.141592654 * 100 / 60) *
                     std::pow(0.01, -1.0 / 6) * 600 * 1 / (1 * 0.01) / (1 + thetaP);
    EXPECT_REL_NEAR(s.Cinit(2), 1e-3 * Q, kCaptionRel);
    s.wb.Input.SetChecked("CheckPreCon", false);
    EXPECT_FALSE(s.wb.Input.IsShown("FramePre"));
}

TEST(EquilibriumConstant, ShownInFourDigitsAndOnlyForAPositiveKb) {
    Sheet s(7);
    EXPECT_EQ(s.wb.Input.CaptionOf("LabelKeq", 1), "1e3");  // 10 / 0.01
    s.Type("kb", 1, "0");
    EXPECT_EQ(s.wb.Input.CaptionOf("LabelKeq", 1), "1e3");
    s.Type("kb", 1, "3");
    s.Type("kf", 1, "1");
    EXPECT_EQ(s.wb.Input.CaptionOf("LabelKeq", 1), "3.333e-1");
    s.Type("kf", 1, "abc");  // not a number: the caption keeps what it shows
    EXPECT_EQ(s.wb.Input.CaptionOf("LabelKeq", 1), "3.333e-1");
}

TEST(ElectrodeSelection, FieldsForEveryGeometry) {
    const struct {
        int entry;
        bool length, radius, areaEditable, rotation;
    } cases[] = {{1, false, false, true, false}, {2, false, true, false, false},
                 {3, false, true, false, false}, {4, false, true, false, false},
                 {5, true, true, false, false},  {6, true, true, false, false},
                 {7, true, false, true, false},  {8, false, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        Sheet s(1);
        s.wb.Input.SetChecked("CheckDigital", false);  // thin film and disk are analytical only
        s.wb.Input.Select("optElectrode", c.entry);
        const InputRecord& in = s.wb.Input;
        EXPECT_EQ(s.wb.Model.Electrode, c.entry);
        for (const char* name : {"leng", "LabelLength"}) EXPECT_EQ(in.IsShown(name), c.length);
        if (c.length) {  // the thin film's length is its thickness
            EXPECT_EQ(in.CaptionOf("LabelLength"), c.entry == 7 ? "Thick (cm)" : "Length (cm)");
        }
        for (const char* name : {"radius", "LabelRadius"}) EXPECT_EQ(in.IsShown(name), c.radius);
        EXPECT_EQ(in.Get("ARE").ReadOnly, !c.areaEditable);
        for (const char* name : {"TextVis", "LabelVis", "TextRrate", "LabelRrate"})
            EXPECT_EQ(in.IsShown(name), c.rotation) << name;
    }
}

TEST(ElectrodeSelection, SphericalAreaEntersWithItsDisplayedDigits) {
    Sheet s(1);
    s.wb.Input.Select("optElectrode", 2);
    EXPECT_EQ(s.wb.Input.TextOf("ARE"), "1e0");  // 4 pi 0.2821^2 = 1.0000369
    EXPECT_DOUBLE_EQ(s.wb.Model.Area, 1.0);
    s.Type("radius", kNoRow, "0.1");
    EXPECT_EQ(s.wb.Input.TextOf("ARE"), "1.26e-1");  // 0.12566
    EXPECT_DOUBLE_EQ(s.wb.Model.Area, 0.126);
}

TEST(DropTimeAndPulseWidth, FollowTheirFields) {
    Sheet s(1);
    s.Type("V", kNoRow, "0.05");
    EXPECT_EQ(s.wb.Input.TextOf("td"), "0.1");  // 0.005 V / 0.05 V/s
    s.Type("V", kNoRow, "0");                   // no drop time from a zero rate
    EXPECT_EQ(s.wb.Input.TextOf("td"), "0.1");
    s.Type("Estep", kNoRow, "0.002");
    s.Type("V", kNoRow, "0.01");
    EXPECT_EQ(s.wb.Input.TextOf("td"), "0.2");
    s.Type("TextF", kNoRow, "25");  // half a period of 25 Hz
    EXPECT_EQ(s.wb.Input.TextOf("tp"), "0.02");
    s.Type("TextF", kNoRow, "0");
    EXPECT_EQ(s.wb.Input.TextOf("tp"), "0.02");
}

TEST(FitSlots, BoundsFollowTheirCheckBox) {
    Sheet s(7);
    for (bool fitted : {true, false}) {
        s.wb.Input.SetChecked("CheckFitted", 14, fitted);  // kf of reaction 1
        EXPECT_EQ(s.wb.Input.IsShown("TextCmin", 14), fitted);
        EXPECT_EQ(s.wb.Input.IsShown("TextCmax", 14), fitted);
    }
}

TEST(FailureHandling, AFailingStepKeepsItsTargetAndTheNextStepRuns) {
    Sheet s(1);
    s.Type("Estart", kNoRow, "0.1");  // E start = E° of couple 1: half and half
    ASSERT_EQ(s.wb.Input.CaptionOf("Cinit", 1), "5e-4");
    ASSERT_EQ(s.wb.Input.CaptionOf("Cinit", 2), "5e-4");
    // Row 1's copy fails on the text and leaves no value (never the old one); the
    // pre-equilibration still runs with the other fields.
    s.Type("C", 1, "1e-3x");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 1), "");
    s.Type("Eze", 1, "huge");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 2), "5e-4");
    s.Type("C", 1, "2e-3");
    s.Type("Eze", 1, "100");  // theta overflows: the split is skipped, the copy is made
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 1), "2e-3");
    EXPECT_EQ(s.wb.Input.CaptionOf("Cinit", 2), "5e-4");
}

}  // namespace
}  // namespace zemra
