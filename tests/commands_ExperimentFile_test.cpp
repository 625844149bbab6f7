#include <string>

#include "commands/ExperimentFile.h"
#include "commands/SheetLayout.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// The record as the user sees it: every control's values and its shown and enabled state.
std::string Seen(const Workbench& wb) {
    std::string out;
    for (const Control& c : wb.Input.Controls())
        out += c.Name + std::to_string(c.Row) + "|" + c.Text + "|" + c.Caption + "|" +
               std::to_string(c.Checked) + std::to_string(c.Selected) + std::to_string(c.Shown) +
               std::to_string(c.Enabled) + "\n";
    return out;
}

// The first line in which two texts differ, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const size_t from = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i);
    return a.substr(from, 120) + " <> " + b.substr(from, 120);
}

TEST(ExperimentFile, ReopensTheSheetCurvesPlotAndResultsAndSimulatesTheSameCurve) {
    test::Bench a;
    Workbench& wb = a.wb;
    ActivateSheet(wb);
    wb.Input.Select("mech", 7);
    wb.Input.Select("optElectrode", 2);
    wb.Input.SetText("C", 3, "5e-4");
    wb.Input.SetText("Noise", "1");
    wb.Input.SetChecked("CheckFitted", 11, true);
    wb.Input.SetCaption("CheckFitted", 11, "9.96e-2");  // a fitted value on its check box
    wb.Input.SetText("Estart", "caf\xe9");              // Latin-1, not UTF-8
    wb.Input.SetText("Estart", "0.3");
    ActivateSheet(wb);
    mnuSimulate(wb);
    wb.Curves.X(2) = 0.1 + 0.2;  // 0.30000000000000004 must come back as itself
    wb.Plot.Grid = true;
    const std::string saved = ExperimentText(wb);

    test::Bench b;
    ASSERT_EQ(ReadExperimentText(b.wb, saved), "");
    EXPECT_TRUE(Seen(b.wb) == Seen(wb)) << FirstDifference(Seen(b.wb), Seen(wb));
    EXPECT_EQ(b.wb.Curves.X(2), 0.1 + 0.2);
    for (int i = 1; i <= wb.Curves.NoOfData; ++i) EXPECT_EQ(b.wb.Curves.Y(i, 1), wb.Curves.Y(i, 1));
    EXPECT_EQ(b.wb.Curves.NoOfData.Value, wb.Curves.NoOfData.Value);
    EXPECT_EQ(b.wb.Curves.CurveNo, wb.Curves.CurveNo);
    EXPECT_TRUE(b.wb.Plot.Grid);
    EXPECT_EQ(b.wb.Result.Lines, wb.Result.Lines);
    EXPECT_TRUE(ExperimentText(b.wb) == saved) << FirstDifference(ExperimentText(b.wb), saved);
    mnuSimulate(wb);
    mnuSimulate(b.wb);
    for (int i = 1; i <= wb.Curves.NoOfData; ++i) EXPECT_EQ(b.wb.Curves.Y(i, 1), wb.Curves.Y(i, 1));

    // Text that is not UTF-8 is written with U+FFFD for the faulty byte.
    a.wb.Input.SetText("Estart", "caf\xe9");
    ASSERT_EQ(ReadExperimentText(b.wb, ExperimentText(a.wb)), "");
    EXPECT_EQ(b.wb.Input.TextOf("Estart"), "caf\xef\xbf\xbd");
}

TEST(ExperimentFile, RefusesUnknownVersionsAndCorruptOrPartialFilesAndChangesNothing) {
    test::Bench a;
    mnuSimulate(a.wb);
    const std::string good = ExperimentText(a.wb);
    auto replaced = [&](const std::string& from, const std::string& to) {
        return test::ReplacedOnce(good, from, to);
    };
    const struct {
        std::string text, problem;
    } cases[] = {
        {replaced("\"version\": 1", "\"version\": 2"), "format version 2 is not known"},
        {"[1, 2]", "not an experiment file"},
        {good.substr(0, good.size() / 2), "parse error"},
        {replaced("\"plot\"", "\"plat\""), "key 'plot' not found"},
        {replaced("\"name\": \"Estart\"", "\"name\": \"Estarts\""), "unknown control Estarts(-1)"},
        {replaced("\"NoOfCurves\": 1", "\"NoOfCurves\": 9"), "NoOfCurves is out of range"},
        {replaced("\"ComboScan\",\n   \"row\": -1,\n   \"selected\": 0",
                  "\"ComboScan\",\n   \"row\": -1,\n   \"selected\": 3"),
         "entry 3 of ComboScan does not exist"},
    };
    for (const auto& c : cases) {
        test::Bench b;
        b.wb.Input.SetText("Estart", "0.25");
        const std::string before = Seen(b.wb);
        EXPECT_NE(ReadExperimentText(b.wb, c.text).find(c.problem), std::string::npos) << c.problem;
        EXPECT_EQ(Seen(b.wb), before);
        EXPECT_FALSE(b.wb.Curves.NoOfData.IsSet);
    }
    test::Bench b;
    b.host.FileAnswers = {test::WriteTempFile("exp-bad.json", "{")};
    mnuOpenExperiment(b.wb);
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0].rfind("Experiment Error: ", 0), 0u);
}

}  // namespace
}  // namespace zemra
