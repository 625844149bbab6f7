#include <cmath>
#include <string>
#include <vector>

#include "commands/FitCommands.h"
#include "commands/SheetLayout.h"
#include "fitting/FitDriver.h"
#include "platform/NumberText.h"
#include "simulation/SimulationDriver.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// A measured curve made by the program itself: the sheet's experiment (0.3 V to -0.3 V in 5 mV
// steps at 10 mV/s, E0' = 0.1 V, 1 mM of A) simulated with the values typed before Measure();
// the sheet is then retyped with the fit's start values and the slots to fit are checked. The
// sheet is brought to the front before typing, as a user does, so that its handlers see the
// collected temperature.
struct FitBench : test::Bench {
    std::vector<double> data;

    explicit FitBench(bool digital = false) {
        ActivateSheet(wb);
        wb.Input.SetChecked("CheckDigital", digital);
    }
    void Set(const char* name, int row, const char* text) { wb.Input.SetText(name, row, text); }
    void Measure() {
        mnuSimulate(wb);
        for (int i = 1; i <= wb.Curves.NoOfData; ++i) data.push_back(wb.Curves.Y(i, 1));
    }
    void AutoFit(const std::vector<int>& slots) {
        for (int s = 1; s <= kFitSlots; ++s) wb.Input.SetChecked("CheckFitted", s, false);
        for (int s : slots) wb.Input.SetChecked("CheckFitted", s, true);
        mnuAutoFit_Click(wb);
    }
    // The first result line that starts with `start`, or "".
    std::string Line(const std::string& start) const {
        for (const auto& line : wb.Result.Lines)
            if (line.rfind(start, 0) == 0) return line;
        return "";
    }
};

// A report line: the label, blanks up to the third print zone (column 29), the printed number.
std::string Labelled(const std::string& label, const std::string& number) {
    return label + std::string(28 - label.size(), ' ') + number;
}

TEST(AutoFit, ExactStartReportsTheShownSlotAndEndsWithFlagMinus1) {
    // Slot 1 (C of A) is checked at start-up and the data is the sheet's own simulation, so the
    // first evaluation reproduces it. C of A is the sheet's initial concentration, 1 mM
    // pre-equilibrated at 0.3 V against 0.1 V at 25 C: 1e-3 / (1 + exp(-0.2 F/RT)) = 9.9958e-4.
    // Slots 6, 14 and 18 (ks of reaction 2, kf and kb) are checked too, but mechanism 1 hides
    // them: they are not fitted.
    FitBench b;
    b.Measure();
    for (int s : {6, 14, 18}) b.wb.Input.SetChecked("CheckFitted", s, true);
    ActivateSheet(b.wb);
    mnuAutoFit_Click(b.wb);
    EXPECT_EQ(b.wb.Fit.NFit, 1);
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 6), "ks fitted");
    const auto& lines = b.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Least square =  0 ");
    EXPECT_EQ(lines[1], "No.           Initial value               Fitted value");
    EXPECT_EQ(lines[2], " 1             0.0009996     0.0009996 ");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], Labelled("Least square = ", " 0 "));
    EXPECT_EQ(lines[6], Labelled("Convergence flag = ", "-1 "));
    EXPECT_EQ(lines[7], Labelled("No. of iteration = ", " 1 "));
    EXPECT_EQ(lines[8], Labelled("No. of obj. fun. = ", " 1 "));
    EXPECT_EQ(lines[9], Labelled("No. of MARQUARDS = ", " 0 "));
    EXPECT_EQ(lines[10].rfind("Computation time (s) =       ", 0), 0u);
    // The statistics follow: 121 points less one parameter, and S = 0 leaves no uncertainty.
    EXPECT_EQ(lines[12], Labelled("Degrees of freedom = ", " 120 "));
    EXPECT_EQ(lines[14], " 1             0             0.0009996     0.0009996 ");
    EXPECT_EQ(lines[16], " 1             1 ");
    double mean = 0, var = 0;
    const double m = static_cast<double>(b.data.size());
    for (double y : b.data) mean += y / m;
    for (double y : b.data) var += (y - mean) * (y - mean) / m;
    EXPECT_REL_NEAR(Val(lines[5].substr(28)), var, 1e-13);
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 1), "9.996e-4");
}

TEST(AutoFit, RecoversFormalPotentialAndRateConstantBesideTheData) {
    // A quasi-reversible cycle (ks = 0.01 cm/s at 10 mV/s), fitted from E0' 30 mV too negative
    // and ks ten times too small, on both roads.
    for (bool digital : {false, true}) {
        SCOPED_TRACE(digital ? "digital" : "closed form");
        FitBench b(digital);
        b.wb.Input.SetListIndex("ComboScan", 1);
        b.Set("ks", 1, "0.01");
        b.Measure();
        b.Set("Eze", 1, "0.07");
        b.Set("ks", 1, "0.001");
        b.AutoFit({5, 11});
        ASSERT_TRUE(b.host.Messages.empty()) << b.host.Messages.front();
        const double ks = Val(b.wb.Input.CaptionOf("CheckFitted", 5));
        const double e0 = Val(b.wb.Input.CaptionOf("CheckFitted", 11));
        EXPECT_REL_NEAR(ks, 0.01, 0.02);
        EXPECT_NEAR(e0, 0.1, 5e-4);
        EXPECT_EQ(b.Line("Convergence flag = "), Labelled("Convergence flag = ", "-2 "));
        // The model keeps the fitted values, the sheet the start values.
        EXPECT_REL_NEAR(b.wb.Model.ks[1], ks, 5e-4);
        EXPECT_REL_NEAR(b.wb.Model.Eformal[1], e0, 5e-4);
        EXPECT_EQ(b.wb.Input.TextOf("Eze", 1), "0.07");
        // The store: the data in slot 1, the last evaluation in slot 2.
        ASSERT_EQ(b.wb.Curves.NoOfCurves, 2);
        for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) {
            EXPECT_EQ(b.wb.Curves.Y(i, 1), b.data[i - 1]);
            EXPECT_EQ(b.wb.Curves.Y(i, 2), b.wb.Res.Icomp(i, b.wb.Res.TotalColumn));
        }
        EXPECT_FALSE(b.wb.Fit.Fitting);
        EXPECT_FALSE(b.host.WaitCursor);
    }
}

TEST(AutoFit, StartValueOutsideItsBoundsIsReportedAsGivenAndFittedFromTheBound) {
    // Data made at E0' = -0.2 V, the lower bound; a start of -0.3 V is pulled onto the bound,
    // where the first evaluation reproduces the data (A is wholly oxidised at 0.3 V for both).
    FitBench b;
    b.Set("Eze", 1, "-0.2");
    b.Measure();
    b.Set("Eze", 1, "-0.3");
    b.AutoFit({11});
    EXPECT_EQ(b.Line(" 1 "), " 1            -0.3          -0.2 ");
    EXPECT_EQ(b.Line("Convergence flag = "), Labelled("Convergence flag = ", "-1 "));
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "-2e-1");
}

TEST(AutoFit, ConstantCurveEndsWithTheFitErrorMessage) {
    // A constant curve (a power of two, so that its mean is exact) has VarY = 0, so FitStep0 = 0
    // and E0' = 0 gets a zero derivative step.
    FitBench b;
    b.Measure();
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) b.wb.Curves.Y(i, 1) = std::ldexp(1.0, -20);
    b.Set("Eze", 1, "0");
    b.AutoFit({11});
    EXPECT_EQ(b.host.Messages,
              std::vector<std::string>{
                  "Fit Error: Division by zero! Please try again by other initial values."});
    EXPECT_EQ(b.Line("No."), "");
    EXPECT_EQ(b.wb.Input.CaptionOf("CheckFitted", 11), "E\xC2\xB0 fitted (V)");
    EXPECT_FALSE(b.wb.Fit.Fitting);
    EXPECT_FALSE(b.canvas.Ops.empty());  // Auto Fit still plots
}

TEST(AutoFit, SurfaceConcentrationChoiceLeavesTheDataCurveInPlace) {
    // The species curves would overwrite slots 1..NSpecies, the data among them; while fitting
    // the fitted slot gets the total current instead.
    FitBench b(true);
    b.Measure();
    b.wb.Input.SetListIndex("ComboY", 3);
    mnuAutoFit_Click(b.wb);
    for (int i = 1; i <= b.wb.Curves.NoOfData; ++i) ASSERT_EQ(b.wb.Curves.Y(i, 1), b.data[i - 1]);
    EXPECT_EQ(b.Line("Convergence flag = "), Labelled("Convergence flag = ", "-1 "));
}

// The four fit commands, as the Run menu has them.
const std::pair<const char*, void (*)(Workbench&)> kFitCommands[] = {
    {"AutoFit", mnuAutoFit_Click},
    {"ManualFit", mnuManualFit_Click},
    {"AutoSeparate", mnuAutoSeparate_Click},
    {"ManualSeparate", mnuManualSeparate_Click}};

TEST(FitCommands, APotentialProgramOfAnotherLengthStopsBeforeSimulating) {
    // The data: 0.3 V to -0.3 V in 5 mV steps, 121 points; to -0.5 V the program has 161.
    for (const auto& [command, run] : kFitCommands) {
        FitBench b;
        b.Measure();
        b.Set("Eend", kNoRow, "-0.5");
        b.host.Messages.clear();
        run(b.wb);
        EXPECT_EQ(
            b.host.Messages,
            std::vector<std::string>{"Fit Error: the data curve has 121 points, the potential "
                                     "program of the sheet 161: set E end and the scan mode to "
                                     "match the data"})
            << command;
        EXPECT_EQ(std::make_pair(b.wb.Curves.NoOfData.Value, b.wb.Curves.NoOfCurves),
                  std::make_pair(121, 1));
        for (int i = 1; i <= 121; ++i) ASSERT_EQ(b.wb.Curves.Y(i, 1), b.data[i - 1]);
        EXPECT_TRUE(b.wb.Result.Lines.empty()) << command;
    }
}

TEST(FitCommands, OneFailureShowsOneMessage) {
    // The first simulation overflows (E0' = 100 V): the fit stops there, says so once, and the
    // separations add nothing.
    for (const auto& [command, run] : kFitCommands) {
        FitBench b;
        b.Measure();
        b.Set("Eze", 1, "100");
        b.host.Messages.clear();
        run(b.wb);
        const bool fit = std::string(command).rfind("Auto", 0) == 0;
        EXPECT_EQ(b.host.Messages,
                  std::vector<std::string>{(fit ? "Fit Error: " : "Analytical simulation Error: ") +
                                           std::string(kOverflow) + kTryAgainSuffix})
            << command;
        EXPECT_EQ(b.Line("Least square"), "") << command;
        EXPECT_LE(b.wb.Curves.NoOfCurves, 2) << command;
    }
}

}  // namespace
}  // namespace zemra
