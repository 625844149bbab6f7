#include <cmath>
#include <string>

#include "commands/FitCommands.h"
#include "commands/SheetLayout.h"
#include "fitting/PeakSeparation.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// The chosen road and mechanism with 1 mM of A and of C, so that every reaction has something
// to reduce (E0' 0.1, -0.1 and -0.2 V). The mechanism is selected in the record directly: the
// dialog offers the three-step mechanism on neither road, but the store still takes its three
// reaction currents.
void Prepare(test::Bench& b, bool digital, int mechanism) {
    ActivateSheet(b.wb);
    b.wb.Input.SetChecked("CheckDigital", digital);
    b.wb.Input.Select("mech", mechanism);
    ActivateSheet(b.wb);
    b.wb.Input.SetText("C", 3, "1e-3");
}

TEST(AutoSeparate, EachReactionCurrentGetsItsSlotAndTheySumToTheTotal) {
    const struct {
        int mechanism;
        bool digital;
        int curves;  // data, total and one curve per charge-transfer reaction
    } cases[] = {{1, false, 3}, {4, true, 4}, {3, true, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mechanism " << c.mechanism);
        test::Bench b;
        Prepare(b, c.digital, c.mechanism);
        mnuSimulate(b.wb);
        mnuAutoSeparate_Click(b.wb);
        ASSERT_TRUE(b.host.Messages.empty()) << b.host.Messages.front();
        const CurveStore& cs = b.wb.Curves;
        ASSERT_EQ(cs.NoOfCurves, c.curves);
        // Without charging current and noise the total is the sum of the reaction currents, and
        // each reaction draws a current of its own.
        double largest = 0, peak[6] = {};
        for (int i = 1; i <= cs.NoOfData; ++i) largest = std::max(largest, std::fabs(cs.Y(i, 2)));
        for (int i = 1; i <= cs.NoOfData; ++i) {
            double sum = 0;
            for (int k = 3; k <= c.curves; ++k) {
                sum += cs.Y(i, k);
                peak[k] = std::max(peak[k], std::fabs(cs.Y(i, k)));
            }
            ASSERT_NEAR(sum, cs.Y(i, 2), 1e-12 * largest) << i;
        }
        for (int k = 3; k <= c.curves; ++k) EXPECT_GT(peak[k], 0.05 * largest) << "slot " << k;
        EXPECT_FALSE(b.wb.Result.Lines.empty());  // the fit report
    }
}

TEST(ManualSeparate, ChangesNoParameterAndSeparatesTheSheetsCurrents) {
    test::Bench b, plain;
    Prepare(b, false, 4);
    mnuSimulate(b.wb);
    b.wb.Input.SetText("Eze", 1, "0.12");
    b.wb.Input.SetChecked("CheckFitted", 11, true);
    mnuManualSeparate_Click(b.wb);
    EXPECT_EQ(b.wb.Model.Eformal[1], 0.12);
    EXPECT_EQ(b.wb.Model.C[1], Val(b.wb.Input.CaptionOf("Cinit", 1)));
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "E\xC2\xB0 fitted (V)");
    EXPECT_TRUE(b.wb.Result.Lines.empty());
    // The separated curves are those of a plain simulation of the retyped sheet.
    Prepare(plain, false, 4);
    plain.wb.Input.SetText("Eze", 1, "0.12");
    mnuSimulate(plain.wb);
    ASSERT_EQ(b.wb.Curves.NoOfCurves, 4);
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) {
        EXPECT_EQ(b.wb.Curves.Y(i, 2), plain.wb.Curves.Y(i, 1));
        EXPECT_EQ(b.wb.Curves.Y(i, 3), plain.wb.Res.Icomp(i, 1));
        EXPECT_EQ(b.wb.Curves.Y(i, 4), plain.wb.Res.Icomp(i, 2));
    }
}

}  // namespace
}  // namespace zemra
