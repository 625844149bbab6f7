#include <cmath>
#include <string>
#include <vector>

#include "fitting/PeakSeparation.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"
#include "ui/SheetLayout.h"

namespace zemra {
namespace {

struct SeparationCase {
    std::string name;
    int mechanism;
    bool digital;
    int curves;  // data, total and one curve per charge-transfer reaction
};

class Separation : public ::testing::TestWithParam<SeparationCase> {};

// A workbench on the chosen road and mechanism, the sheet brought to the front before typing.
// The mechanism is selected in the record directly: the dialog offers the three-step mechanism
// on neither road, but the store must still take its three reaction currents.
void Prepare(test::Bench& b, bool digital, int mechanism) {
    ActivateSheet(b.wb);
    b.wb.Input.SetChecked("CheckDigital", digital);
    b.wb.Input.Select("mech", mechanism);
    ActivateSheet(b.wb);
    b.wb.Input.SetText("C", 3, "1e-3");
}

// Every reaction with something to reduce: 1 mM of A and of C, E0' of 0.1, -0.1 and -0.2 V.
TEST_P(Separation, EachReactionCurrentGetsItsSlotAndTheySumToTheTotal) {
    const SeparationCase& c = GetParam();
    test::Bench b;
    Prepare(b, c.digital, c.mechanism);
    mnuSimulate(b.wb);
    mnuAutoSeparate_Click(b.wb);
    ASSERT_TRUE(b.host.Messages.empty()) << b.host.Messages.front();
    const CurveStore& cs = b.wb.Curves;
    ASSERT_EQ(cs.NoOfCurves, c.curves);
    // Without charging current and noise the total is the sum of the reaction currents.
    double largest = 0;
    for (int i = 1; i <= cs.NoOfData; ++i) largest = std::max(largest, std::fabs(cs.Y(i, 2)));
    for (int i = 1; i <= cs.NoOfData; ++i) {
        double sum = 0;
        for (int k = 3; k <= c.curves; ++k) sum += cs.Y(i, k);
        ASSERT_NEAR(sum, cs.Y(i, 2), 1e-12 * largest) << i;
    }
    // Each reaction draws current of its own.
    for (int k = 3; k <= c.curves; ++k) {
        double peak = 0;
        for (int i = 1; i <= cs.NoOfData; ++i) peak = std::max(peak, std::fabs(cs.Y(i, k)));
        EXPECT_GT(peak, 0.05 * largest) << "slot " << k;
    }
    EXPECT_NE(b.wb.Result.Lines.size(), 0u);  // the fit report
    EXPECT_FALSE(b.canvas.Ops.empty());
}

INSTANTIATE_TEST_SUITE_P(Mechanisms, Separation,
                         ::testing::Values(SeparationCase{"OneReaction", 1, false, 3},
                                           SeparationCase{"TwoCouples", 4, true, 4},
                                           SeparationCase{"ThreeSteps", 3, true, 5}),
                         [](const auto& info) { return info.param.name; });

TEST(ManualSeparate, ChangesNoParameter) {
    test::Bench b;
    Prepare(b, false, 4);
    mnuSimulate(b.wb);
    b.wb.Input.SetText("Eze", 1, "0.12");
    b.wb.Input.SetChecked("CheckFitted", 11, true);
    mnuManualSeparate_Click(b.wb);
    EXPECT_EQ(b.wb.Model.Eformal[1], 0.12);
    EXPECT_EQ(b.wb.Model.Eformal[2], -0.1);
    EXPECT_EQ(b.wb.Model.C[1], Val(b.wb.Input.CaptionOf("Cinit", 1)));
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "E\xC2\xB0 fitted (V)");
    EXPECT_TRUE(b.wb.Result.Lines.empty());
    // The separated curves belong to the sheet's values: those of a plain simulation.
    test::Bench plain;
    Prepare(plain, false, 4);
    plain.wb.Input.SetText("Eze", 1, "0.12");
    mnuSimulate(plain.wb);
    ASSERT_EQ(b.wb.Curves.NoOfCurves, 4);
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) {
        EXPECT_EQ(b.wb.Curves.Y(i, 3), plain.wb.Res.Icomp(i, 1));
        EXPECT_EQ(b.wb.Curves.Y(i, 4), plain.wb.Res.Icomp(i, 2));
    }
}

TEST(AutoSeparate, AfterAFitErrorTheLastCurrentsAreStillSeparated) {
    test::Bench b;
    Prepare(b, false, 1);
    mnuSimulate(b.wb);
    // A constant curve (a power of two, so that its variance is exactly 0) and E0' = 0.
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) b.wb.Curves.Y(i, 1) = std::ldexp(1.0, -20);
    b.wb.Input.SetText("Eze", 1, "0");
    b.wb.Input.SetChecked("CheckFitted", 1, false);
    b.wb.Input.SetChecked("CheckFitted", 11, true);
    mnuAutoSeparate_Click(b.wb);
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0].rfind("Fit Error: ", 0), 0u);
    EXPECT_EQ(b.wb.Curves.NoOfCurves, 3);
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i)
        EXPECT_EQ(b.wb.Curves.Y(i, 3), b.wb.Res.Icomp(i, 1));
}

}  // namespace
}  // namespace zemra
