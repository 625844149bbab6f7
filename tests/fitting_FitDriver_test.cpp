#include <cmath>
#include <string>
#include <vector>

#include "fitting/FitDriver.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"
#include "ui/SheetLayout.h"

namespace zemra {
namespace {

// A started-up workbench with a measured curve made by the program itself: the sheet's
// experiment (0.3 V to -0.3 V in 5 mV steps at 10 mV/s, E0' = 0.1 V, 1 mM of A) simulated with
// the values typed before Measure(), then the sheet retyped with the fit's start values.
// The sheet is brought to the front before typing, as a user does, so that its handlers see the
// collected temperature.
struct FitBench : test::Bench {
    explicit FitBench(bool digital = false) {
        ActivateSheet(wb);
        wb.Input.SetChecked("CheckDigital", digital);
    }
    void Set(const char* name, int row, const char* text) { wb.Input.SetText(name, row, text); }
    void Fitted(int slot, bool on) { wb.Input.SetChecked("CheckFitted", slot, on); }
    void Measure() {
        mnuSimulate(wb);
        ASSERT_TRUE(host.Messages.empty());
        data.clear();
        for (int i = 1; i <= wb.Curves.NoOfData; ++i) data.push_back(wb.Curves.Y(i, 1));
    }
    // The result-window line that starts with `text`, or "" when there is none.
    std::string LineStarting(const std::string& text) const {
        for (const auto& line : wb.Result.Lines)
            if (line.rfind(text, 0) == 0) return line;
        return "";
    }
    int IterationLines() const {
        int count = 0;
        // "Least square = " and the number directly; the report's line has it a zone further.
        for (const auto& line : wb.Result.Lines)
            count += line.rfind("Least square = ", 0) == 0 && line.size() > 16 && line[16] != ' ';
        return count;
    }
    std::vector<double> data;
};

// A report line: the label, blanks up to the third print zone (column 29), the printed number.
std::string Labelled(const std::string& label, const std::string& number) {
    return label + std::string(28 - label.size(), ' ') + number;
}

TEST(AutoFit, ExactStartReportsTheSheetValueAndEndsWithFlagMinus1) {
    // The data is the simulation of the sheet itself and slot 1 (C of A) is checked at start-up:
    // the first model evaluation reproduces the data. C of A is the sheet's initial
    // concentration: 1 mM pre-equilibrated at 0.3 V against E0' = 0.1 V at 25 C,
    // 1e-3 / (1 + exp(-0.2 F/RT)) = 9.9958e-4 M, shown as "9.996e-4".
    FitBench b;
    b.Measure();
    mnuAutoFit_Click(b.wb);
    const auto& lines = b.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "Least square =  0 ");
    EXPECT_EQ(lines[1], "No.           Initial value               Fitted value");
    EXPECT_EQ(lines[2],
              " 1 " + std::string(11, ' ') + " 0.0009996 " + std::string(3, ' ') + " 0.0009996 ");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], Labelled("Least square = ", " 0 "));
    EXPECT_EQ(lines[6], Labelled("Convergence flag = ", "-1 "));
    EXPECT_EQ(lines[7], Labelled("No. of iteration = ", " 1 "));
    EXPECT_EQ(lines[8], Labelled("No. of obj. fun. = ", " 1 "));
    EXPECT_EQ(lines[9], Labelled("No. of MARQUARDS = ", " 0 "));
    EXPECT_EQ(lines[10].rfind("Computation time (s) =       ", 0), 0u);
    // The variance of the data about its mean, computed here from the curve.
    double mean = 0, var = 0;
    for (double y : b.data) mean += y / static_cast<double>(b.data.size());
    for (double y : b.data) var += (y - mean) * (y - mean) / static_cast<double>(b.data.size());
    EXPECT_REL_NEAR(Val(lines[5].substr(28)), var, 1e-13);
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 1), "9.996e-4");
    EXPECT_TRUE(b.wb.Result.Shown);
}

TEST(AutoFit, RecoversFormalPotentialAndRateConstant) {
    // A quasi-reversible wave (ks = 0.01 cm/s at 10 mV/s), fitted from E0' 30 mV too negative
    // and ks ten times too small.
    FitBench b;
    b.wb.Input.SetListIndex("ComboScan", 1);
    b.Set("ks", 1, "0.01");
    b.Measure();
    b.Set("Eze", 1, "0.07");
    b.Set("ks", 1, "0.001");
    b.Fitted(1, false);
    b.Fitted(5, true);
    b.Fitted(11, true);
    mnuAutoFit_Click(b.wb);
    ASSERT_TRUE(b.host.Messages.empty()) << b.host.Messages.front();
    const double ks = Val(b.wb.Input.CaptionOf("CheckFitted", 5));
    const double e0 = Val(b.wb.Input.CaptionOf("CheckFitted", 11));
    EXPECT_REL_NEAR(ks, 0.01, 0.02);
    EXPECT_NEAR(e0, 0.1, 5e-4);
    // The model keeps the fitted values; the sheet keeps the start values.
    EXPECT_REL_NEAR(b.wb.Model.ks[1], ks, 5e-4);
    EXPECT_REL_NEAR(b.wb.Model.Eformal[1], e0, 5e-4);
    EXPECT_EQ(b.wb.Input.TextOf("Eze", 1), "0.07");
    EXPECT_EQ(b.LineStarting("Convergence flag = "), Labelled("Convergence flag = ", "-2 "));
    EXPECT_EQ(b.LineStarting("No. of iteration = "),
              Labelled("No. of iteration = ", PrintedNumber(b.IterationLines())));
    EXPECT_FALSE(b.wb.Fit.Fitting);
    EXPECT_FALSE(b.host.WaitCursor);
}

TEST(AutoFit, StoreHoldsTheDataAndTheFittedCurve) {
    FitBench b;
    b.Measure();
    b.Set("Eze", 1, "0.09");
    b.Fitted(1, false);
    b.Fitted(11, true);
    mnuAutoFit_Click(b.wb);
    const CurveStore& cs = b.wb.Curves;
    EXPECT_EQ(cs.NoOfCurves, 2);
    EXPECT_EQ(cs.CurveNo, 2);
    for (int i = 1; i <= cs.NoOfData; ++i) {
        EXPECT_EQ(cs.Y(i, 1), b.data[static_cast<size_t>(i - 1)]);
        EXPECT_EQ(cs.Y(i, 2), b.wb.Res.Icomp(i, b.wb.Res.TotalColumn));
    }
    EXPECT_FALSE(b.canvas.Ops.empty());
}

TEST(AutoFit, StartValueOutsideItsBoundsIsReportedAsGivenAndFittedFromTheBound) {
    // Data made at E0' = -0.2 V, the lower bound; a start of -0.3 V is pulled onto the bound,
    // where the first evaluation reproduces the data (A is wholly oxidised at 0.3 V for both).
    FitBench b;
    b.Set("Eze", 1, "-0.2");
    b.Measure();
    b.Set("Eze", 1, "-0.3");
    b.Fitted(1, false);
    b.Fitted(11, true);
    mnuAutoFit_Click(b.wb);
    const auto& lines = b.wb.Result.Lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], " 1 " + std::string(11, ' ') + "-0.3 " + std::string(9, ' ') + "-0.2 ");
    EXPECT_EQ(b.LineStarting("Convergence flag = "), Labelled("Convergence flag = ", "-1 "));
    EXPECT_EQ(b.wb.Fit.NObjFun, 1);
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "-2e-1");
}

TEST(AutoFit, CheckedSlotHiddenByTheMechanismIsNotFitted) {
    FitBench b;
    b.Measure();
    for (int slot : {6, 14, 18}) b.Fitted(slot, true);
    ActivateSheet(b.wb);  // mechanism 1: one charge transfer, no homogeneous reaction
    mnuAutoFit_Click(b.wb);
    EXPECT_EQ(b.wb.Fit.NFit, 1);
    EXPECT_EQ(b.wb.Fit.FitIndex[1], 1);
    EXPECT_EQ(b.LineStarting(" 2 "), "");
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 6), "ks fitted");
}

TEST(AutoFit, NoSlotCheckedPrintsTheHeaderAloneAndEndsWithFlagMinus2) {
    FitBench b;
    b.Set("Eze", 1, "0.09");  // the data differs from every model evaluation
    b.Measure();
    b.Set("Eze", 1, "0.1");
    b.Fitted(1, false);
    mnuAutoFit_Click(b.wb);
    const auto& lines = b.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1].rfind("No.", 0), 0u);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[5], Labelled("Convergence flag = ", "-2 "));
    EXPECT_EQ(lines[6], Labelled("No. of iteration = ", " 1 "));
}

TEST(AutoFit, ConstantCurveEndsWithTheFitErrorMessage) {
    // A constant curve has VarY = 0, so FitStep0 = 0 and a parameter at exactly 0 gets a zero
    // derivative step. The constant is a power of two, so that its mean is exact.
    FitBench b;
    b.Measure();
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) b.wb.Curves.Y(i, 1) = std::ldexp(1.0, -20);
    b.Set("Eze", 1, "0");
    b.Fitted(1, false);
    b.Fitted(11, true);
    mnuAutoFit_Click(b.wb);
    EXPECT_EQ(b.host.Messages,
              (std::vector<std::string>{"Fit Error: Division by zero! Please try again by other "
                                        "initial values."}));
    EXPECT_EQ(b.LineStarting("No."), "");
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "E\xC2\xB0 fitted (V)");
    EXPECT_FALSE(b.wb.Fit.Fitting);
    EXPECT_FALSE(b.host.WaitCursor);
    EXPECT_FALSE(b.canvas.Ops.empty());  // Auto Fit still plots
}

TEST(AutoFit, UncollectableSheetIsReportedAndNothingIsFitted) {
    FitBench b;
    b.Measure();
    b.wb.Input.SetText("Estep", "abc");
    mnuAutoFit_Click(b.wb);
    EXPECT_EQ(b.host.Messages,
              (std::vector<std::string>{"Input Error: E step (V) is not a number"}));
    EXPECT_TRUE(b.wb.Result.Lines.empty());
    EXPECT_FALSE(b.wb.Fit.Fitting);
    EXPECT_FALSE(b.host.WaitCursor);
}

TEST(AutoFit, SurfaceConcentrationChoiceLeavesTheDataCurveInPlace) {
    // The species curves would be written over slots 1..NSpecies, the data among them; while
    // fitting, the fitted slot gets the total current instead.
    FitBench b(true);
    b.Measure();
    b.wb.Input.SetListIndex("ComboY", 3);
    mnuAutoFit_Click(b.wb);
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i)
        ASSERT_EQ(b.wb.Curves.Y(i, 1), b.data[static_cast<size_t>(i - 1)]) << i;
    EXPECT_EQ(b.LineStarting("Convergence flag = "), Labelled("Convergence flag = ", "-1 "));
}

TEST(ManualFit, SimulatesTheSheetIntoSlot2AndChangesNoParameter) {
    FitBench b;
    b.Measure();
    b.Set("Eze", 1, "0.05");
    mnuManualFit_Click(b.wb);
    EXPECT_EQ(b.wb.Model.Eformal[1], 0.05);
    EXPECT_TRUE(b.wb.Result.Lines.empty());
    EXPECT_EQ(b.wb.Curves.NoOfCurves, 2);
    EXPECT_FALSE(b.wb.Fit.Fitting);

    // Slot 2 is the plain simulation of the retyped sheet.
    FitBench plain;
    plain.Set("Eze", 1, "0.05");
    plain.Measure();
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) {
        EXPECT_EQ(b.wb.Curves.Y(i, 1), b.data[static_cast<size_t>(i - 1)]);
        EXPECT_EQ(b.wb.Curves.Y(i, 2), plain.data[static_cast<size_t>(i - 1)]);
    }
}

}  // namespace
}  // namespace zemra
