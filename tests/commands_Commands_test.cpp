#include "commands/Commands.h"

#include <algorithm>
#include <sstream>

#include "cli/Cli.h"
#include "commands/CurveCommands.h"
#include "commands/FileCommands.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(Simulate, EnablesDisplayAndAnalysisAndRestoresTheCursor) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckDigital", false);
    EXPECT_FALSE(b.wb.Menus.Display || b.wb.Menus.Analysis);
    mnuSimulate(b.wb);
    EXPECT_TRUE(b.wb.Menus.Display && b.wb.Menus.Analysis);
    EXPECT_EQ(b.host.WaitCursorTurns, 2);
    EXPECT_FALSE(b.host.WaitCursor);
    EXPECT_EQ(b.wb.Curves.NoOfData, 121);
    EXPECT_GT(b.wb.Curves.Y(60, 1), 0.0);
}

TEST(Simulate, AnErrorIsReportedOnceAndTheMenusAndTheCursorStillFollow) {
    const std::pair<const char*, std::string> cases[] = {
        {"Estep", "Analytical simulation Error: "},
        {"TextDis", "Input Error: Dis (cm) must be a non-zero number"}};
    for (const auto& [field, message] : cases) {
        test::Bench b;
        b.wb.Input.SetChecked("CheckDigital", false);
        b.wb.Input.SetListIndex("ComboY", 1);  // resistance R
        b.wb.Input.SetText(field, "0");
        mnuSimulate(b.wb);
        // The error alone: the redraw that finds no curve to draw adds no second message.
        ASSERT_EQ(b.host.Messages.size(), 1u) << field;
        EXPECT_EQ(b.host.Messages[0].rfind(message, 0), 0u) << b.host.Messages[0];
        EXPECT_TRUE(b.wb.Menus.Display);
        EXPECT_FALSE(b.host.WaitCursor);
    }
}

TEST(Simulate, ImpossibleValuesAreRefusedNamingTheField) {
    const std::string nines(400, '9');
    const struct {
        const char* Name;
        int Row;
        std::string Text, Message;  // "" when the run goes ahead
    } cases[] = {
        {"D", 1, "-1", "D (cm \xC2\xB2/s) in row 1 must be above 0"},
        {"D", 3, "-1", ""},  // no species C in mechanism 1
        {"C", 1, "-1e-3", "C anal (M) in row 1 must not be negative"},
        {"C", 1, "abc", "C anal (M) in row 1 is not a number"},
        {"V", kNoRow, "0", "v (V/s) must be above 0"},
        {"Estart", kNoRow, nines, "E start (V) is too large"},
        {"ks", 2, nines, "ks (cm/s) in row 2 is too large"},
        {"ARE", kNoRow, "-1", "Area (cm \xC2\xB2) must be above 0"},
        {"radius", kNoRow, "-0.1", "Radius (cm) must be above 0"},  // sphere
        {"Noise", kNoRow, "-1", "Noise (%) must not be negative"},
        {"Ru", kNoRow, "-5", "R (\xCE\xA9) must not be negative"},  // digital road
        {"Noise", kNoRow, "1 %", ""},                               // read leniently as before
    };
    for (const auto& c : cases) {
        test::Bench b;
        b.wb.Input.SetChecked("CheckDigital", false);
        mnuSimulate(b.wb);
        const auto before = std::make_pair(b.wb.Curves.Y(10, 1), b.wb.Model.D[1].Value);
        if (c.Name == std::string("radius")) b.wb.Input.Select("optElectrode", 2);
        b.wb.Input.SetChecked("CheckDigital", c.Name == std::string("Ru"));
        b.wb.Input.SetText(c.Name, c.Row, c.Text);
        b.host.Messages.clear();
        mnuSimulate(b.wb);
        if (c.Message.empty()) {
            EXPECT_TRUE(b.host.Messages.empty()) << c.Name;
            continue;
        }
        EXPECT_EQ(b.host.Messages, std::vector<std::string>{"Input Error: " + c.Message});
        // Neither the store nor the model changed.
        EXPECT_EQ(std::make_pair(b.wb.Curves.Y(10, 1), b.wb.Model.D[1].Value), before) << c.Name;
    }
}

TEST(OptionOK, ReDerivesTheQuantityAndRedrawsWithTheNewOptions) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckDigital", false);
    mnuSimulate(b.wb);
    // Conductance from an analytical simulation: no surface concentrations, so every point is
    // the cell constant Area / d times the electrolyte's conductivity.
    b.wb.Input.SetListIndex("ComboY", 2);
    b.wb.Input.SetText("TextDis", "2");
    b.wb.Input.SetChecked("Xauto", false);
    b.wb.Input.SetText("XminText", "-0.5");
    b.canvas.Ops.clear();
    OptionOK(b.wb);
    const ParameterModel& m = b.wb.Model;
    const double g = m.Area / 2 * m.ElectrolyteC * m.ElectrolyteCond;
    EXPECT_GT(g, 0.0);
    for (int i = 1; i <= b.wb.Curves.NoOfData; i += 20)
        EXPECT_REL_NEAR(b.wb.Curves.Y(i, 1), g, 1e-12);
    EXPECT_EQ(b.wb.Plot.Xmin, -0.5);
    EXPECT_EQ(b.canvas.Texts()[0], "Cond /1/Ohm");
    EXPECT_TRUE(b.host.Messages.empty());
}

TEST(OptionOK, KeepsAnImportedCurveAndReDerivesASimulatedOne) {
    test::Bench b;
    b.host.FileAnswers.push_back(std::string(ZEMRA_TEST_DATA) + "/wave201.csv");
    mnuImport(b.wb);
    const double y50 = b.wb.Curves.Y(50, 1);
    ASSERT_NE(y50, 0.0);
    OptionOK(b.wb);  // the last simulation's results (none) must not replace the data
    EXPECT_EQ(b.wb.Curves.Y(50, 1), y50);
    b.wb.Input.SetChecked("CheckDigital", false);
    mnuSimulate(b.wb);  // replaces curve 1: from now on it is the simulation's to derive
    b.wb.Curves.Y(50, 1) = 0;
    OptionOK(b.wb);
    EXPECT_EQ(b.wb.Curves.Y(50, 1), b.wb.Res.Icomp(50, b.wb.Res.TotalColumn));
}

TEST(About, ProductAndHelpLinesBetweenRowsOfAsterisks) {
    test::Bench b;
    mnuAbout(b.wb);
    mnuAbout(b.wb);  // cleared before it is filled again
    const auto& l = b.wb.About.Lines;
    ASSERT_GE(l.size(), 6u);
    EXPECT_EQ(std::count(l.begin(), l.end(), std::string(53, '*')), 1);
    EXPECT_EQ(l[1], "Zemra 3.2");
    EXPECT_EQ(l[3], "Please read document ZemraDoc.htm for help");
    EXPECT_EQ(l[4], "");
    EXPECT_EQ(l.back(), std::string(54, '*'));
}

TEST(Cli, SimulatesAndExportsEveryPointAsALine) {
    const std::string path = test::TempPath("cli-export.csv");
    const std::pair<std::vector<std::string>, size_t> runs[] = {
        {{"CheckDigital=0", "Simulate"}, 121},
        {{"Simulate"}, 121},  // digital, the start-up default
        {{"CheckDigital=0", "ComboScan=cycle", "Simulate"}, 242}};
    for (auto [tokens, points] : runs) {
        tokens.push_back("Export=" + path);
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(tokens, out, err), 0) << err.str();
        const auto lines = test::CrLfLines(test::ReadFile(path));
        ASSERT_EQ(lines.size(), points);
        if (points == 242) {  // the cycle turns at the end potential, which both sweeps hold
            EXPECT_EQ(lines[120].substr(0, 6), "-0.3 ,");
            EXPECT_EQ(lines[121].substr(0, 6), "-0.3 ,");
        }
    }
}

}  // namespace
}  // namespace zemra
