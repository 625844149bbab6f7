#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "commands/CurveCommands.h"
#include "commands/FileCommands.h"
#include "commands/FitCommands.h"
#include "commands/SheetLayout.h"
#include "curves/DataFile.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

const std::string kWave = std::string(ZEMRA_TEST_DATA) + "/wave201.csv";

TEST(DataLine, NumberCommaBlanksToTheNextZoneNumber) {
    EXPECT_EQ(DataLine(0.3, 1.5e-5), " 0.3 ,         1.5E-05 \r\n");
    EXPECT_EQ(DataLine(-0.25, -2), "-0.25 ,       -2 \r\n");
    // An X that fills its zone exactly pushes Y a whole zone on.
    EXPECT_EQ(DataLine(-1.234567891, 0), "-1.234567891 ," + std::string(14, ' ') + " 0 \r\n");
}

TEST(WriteData, WritesTheRangeOfTheCurrentCurveAndReportsAFailure) {
    test::Bench b;
    test::SetCurves(b.wb, {0.1, 0.2, 0.3, 0.4}, {{99, 99, 99, 99}, {-1e-6, -2e-6, -3e-6, -4e-6}});
    const auto write = [&](int first, int last, int curve) {
        CurveStore& s = b.wb.Curves;
        s.FirstPoint = first;
        s.LastPoint = last;
        s.CurveNo = curve;
        mnuExport(b.wb);
    };
    write(1, 4, 2);  // cancelled: no file, no message
    const std::string range = test::TempPath("range.csv");
    b.host.FileAnswers = {range, "/nonexistent-dir/x.csv", ""};
    write(2, 3, 2);
    EXPECT_EQ(test::ReadFile(range), DataLine(0.2, -2e-6) + DataLine(0.3, -3e-6));
    EXPECT_EQ(b.host.FilterRequests, std::vector<std::string>(2, "csv|*.csv|all|*.*"));
    EXPECT_TRUE(b.host.Messages.empty());
    write(1, 4, 2);
    write(1, 4, 2);
    EXPECT_EQ(b.host.Messages,
              std::vector<std::string>(2, "WriteData Error: No such file or directory"));
}

// Imports `path` through the command as a user would, answering the file dialog with it.
bool Import(test::Bench& b, const std::string& path) {
    b.host.FileAnswers.push_back(path);
    mnuImport(b.wb);
    for (const std::string& m : b.host.Messages)
        if (m.rfind("ReadData Error: ", 0) == 0) return false;
    return true;
}

// One curve of three points, imported over by the tests.
void EarlierCurve(Workbench& wb) {
    test::SetCurves(wb, {0.1, 0.2, 0.3}, {{1e-6, 2e-6, 3e-6}});
}

// Every count, the whole axis and every column are as they were.
void ExpectSameStore(const CurveStore& a, const CurveStore& b) {
    EXPECT_EQ(std::tie(a.NoOfData.Value, a.NoOfData.IsSet, a.FirstPoint, a.LastPoint, a.NoOfCurves,
                       a.CurveNo, a.NewCurve),
              std::tie(b.NoOfData.Value, b.NoOfData.IsSet, b.FirstPoint, b.LastPoint, b.NoOfCurves,
                       b.CurveNo, b.NewCurve));
    EXPECT_TRUE(std::equal(a.X.Data(), a.X.Data() + kRows, b.X.Data()));
    EXPECT_TRUE(std::equal(a.Y.Column(0), a.Y.Column(0) + 6 * kRows, b.Y.Column(0)));
}

TEST(ReadData, FileOf201LinesFillsTheStoreAndTheSheet) {
    test::Bench b;
    ASSERT_TRUE(Import(b, kWave));
    const CurveStore& s = b.wb.Curves;
    EXPECT_EQ(std::tie(s.NoOfData.Value, s.FirstPoint, s.LastPoint), std::make_tuple(201, 1, 201));
    EXPECT_EQ(std::vector<double>({s.X(1), s.X(201), s.Y(1, 1), s.Y(201, 1)}),
              std::vector<double>({0.3, -0.3, 8.49521e-11, 9.99992e-6}));
    // "Number of data point = " is 23 characters: the count starts in the zone at column 29.
    EXPECT_EQ(b.wb.Result.Lines,
              std::vector<std::string>({"Number of data point = " + std::string(5, ' ') + " 201 ",
                                        "E step = " + std::string(5, ' ') + " 0.003 "}));
    EXPECT_EQ(b.wb.Input.TextOf("Estart"), "0.3");
    EXPECT_EQ(b.wb.Input.TextOf("Estep"), "0.003");
    EXPECT_EQ(b.host.FilterRequests, std::vector<std::string>{kImportFileFilter});
}

TEST(ReadData, FieldsAreTakenInPairsWhateverTheLines) {
    const std::string layouts[] = {
        "0.1,1\r\n0.2,2\r\n",                    // one pair per line
        "0.1,1,0.2,2\r\n",                       // four numbers on one line
        "0.1\n1\n0.2\n2",                        // one field per line, no final line end
        "  0.1 ,\t1\r0.2,2 \r",                  // blanks around fields, lone CR line ends
        "\r\n0.1,1\r\n\r\n  \r\n0.2,2\r\n\r\n",  // blank lines are skipped
    };
    for (const auto& text : layouts) {
        std::istringstream in(text);
        const DataPoints p = ParseDataFile(in);
        EXPECT_EQ(p.X, (std::vector<double>{0.1, 0.2})) << text;
        EXPECT_EQ(p.Y, (std::vector<double>{1, 2})) << text;
    }
}

TEST(ReadData, EmptyFileSucceedsWithNoPoints) {
    test::Bench b;
    ASSERT_TRUE(Import(b, test::WriteTempFile("empty.csv", "")));
    EXPECT_EQ(b.wb.Curves.NoOfData, 0);
    EXPECT_EQ(b.wb.Curves.LastPoint, 0);
}

TEST(ReadData, FailuresLeaveTheStoreExactlyAsItWas) {
    std::string tooMany;
    for (int i = 1; i <= 4001; ++i)
        tooMany += std::to_string(i) + "," + std::to_string(-i) + "\r\n";
    const std::string mismatch = "ReadData Error: Type mismatch in line 1",
                      pastEnd = "ReadData Error: Input past end of file",
                      fewPoints = "ReadData Error: fewer than 2 data points in the cycle";
    const struct {
        const char* Name;
        std::string Text, Message;
    } cases[] = {
        {"4001 points", tooMany, "ReadData Error: more than 4000 data points"},
        {"one number", "0.5\r\n", pastEnd},
        {"odd count", "0.1,1\r\n0.2", pastEnd},
        {"title and one point", "E/V,I/A\r\n0.1,1\r\n", fewPoints},
        {"word in line 3", "0.1,1\r\n0.2,2\r\n0.3,abc\r\n",
         "ReadData Error: Type mismatch in line 3"},
        {"binary bytes", std::string("\177ELF\2\1\0\0,\377\376", 11),
         std::string("ReadData Error: ") + kNotTextExport},
        {"one tab-separated point", "0.1\t1\r\n", fewPoints},
        {"empty field", "0.1,,1\r\n", mismatch},
        {"overlong field", std::string(100000, '7') + ",1", mismatch},
        {"missing file", "", "ReadData Error: File not found"},  // no file is written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::Bench b;
        EarlierCurve(b.wb);
        b.wb.Input.SetChecked("overlap", true);
        const CurveStore before = b.wb.Curves;
        const std::string path = c.Text.empty() ? test::TempPath("no-such-file.csv")
                                                : test::WriteTempFile("junk.csv", c.Text);
        EXPECT_FALSE(Import(b, path));
        EXPECT_EQ(b.host.Messages, std::vector<std::string>{c.Message});
        ExpectSameStore(before, b.wb.Curves);
        EXPECT_TRUE(b.wb.Result.Lines.empty());
    }
}

// An endless stream of one character: /dev/zero without a separator, as a reader sees it.
struct EndlessBuf : std::streambuf {
    char c = '7';
    int_type underflow() override { return setg(&c, &c, &c + 1), traits_type::to_int_type(c); }
};

TEST(ReadData, ImportIsBoundedAndReadsOnlyRegularFiles) {
    EndlessBuf buf;  // a field without end stops at its 257th character, or never
    std::istream endless(&buf);
    EXPECT_EQ(test::ErrorOf([&] { ParseDataFile(endless); }), "Type mismatch in line 1");
    const std::string fifo = test::TempPath("fifo.csv");
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo, test::TempPath("")}) {
        test::Bench b;
        EarlierCurve(b.wb);
        const CurveStore before = b.wb.Curves;
        EXPECT_FALSE(Import(b, path));
        EXPECT_EQ(b.host.Messages.back(), "ReadData Error: Path/File access error") << path;
        ExpectSameStore(before, b.wb.Curves);
    }
}

TEST(ReadData, WithoutAStepTheSheetIsLeftAlone) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"0.2,1e-6\r\n", 1}, {"0.2,1e-6\r\n0.2,2e-6\r\n0.1,3e-6\r\n", 3}};
    for (const auto& [text, points] : cases) {
        test::Bench b;
        b.wb.Input.SetText("Estep", "0.002");
        ASSERT_TRUE(Import(b, test::WriteTempFile("nostep.csv", text))) << text;
        EXPECT_EQ(b.wb.Curves.NoOfData, points);
        EXPECT_EQ(b.wb.Input.TextOf("Estart") + " " + b.wb.Input.TextOf("Estep"), "0.3 0.002");
        EXPECT_EQ(b.wb.Result.Lines.back(), "E step = " + std::string(5, ' ') + " 0 ");
    }
}

TEST(ReadData, CancelledChoiceDoesNothing) {
    test::Bench b;
    EarlierCurve(b.wb);
    const CurveStore before = b.wb.Curves;
    mnuImport(b.wb);  // the dialog answers "cancelled"
    EXPECT_TRUE(b.host.Messages.empty());
    ExpectSameStore(before, b.wb.Curves);
}

TEST(ReadData, OverlapOffReplacesCurveOneOnAddsACurveOverTheFilesAxis) {
    const std::string path = test::WriteTempFile("two.csv", "0.5,7\r\n0.6,8\r\n");
    for (bool overlap : {false, true}) {
        test::Bench b;
        EarlierCurve(b.wb);
        b.wb.Input.SetChecked("overlap", overlap);
        ASSERT_TRUE(Import(b, path));
        const CurveStore& s = b.wb.Curves;
        EXPECT_EQ(s.NoOfCurves, overlap ? 2 : 1);
        EXPECT_EQ(s.CurveNo, s.NoOfCurves);
        EXPECT_EQ(s.Y(1, s.CurveNo), 7.0);
        EXPECT_EQ(s.X(1), 0.5);  // the shared axis is the file's now
        EXPECT_EQ(s.NoOfData, 2);
        // The older curve keeps its values under overlap; without it, only its tail stays.
        EXPECT_EQ(s.Y(overlap ? 1 : 3, 1), overlap ? 1e-6 : 3e-6);
    }
}

TEST(ImportCommand, PlotsShowsTheResultWindowAndEnablesTheMenusOnlyOnSuccess) {
    for (bool ok : {true, false}) {
        test::Bench b;
        b.host.FileAnswers.push_back(ok ? kWave : test::WriteTempFile("bad.csv", "x"));
        mnuImport(b.wb);
        EXPECT_EQ(b.wb.Menus.Display, ok);
        EXPECT_EQ(b.wb.Menus.Analysis, ok);
        EXPECT_EQ(b.wb.Result.Shown, ok);
        EXPECT_EQ(b.canvas.Ops.empty(), !ok);  // drawn over the file's range, or not at all
        if (ok) {
            EXPECT_EQ(std::make_pair(b.wb.Plot.Xmin, b.wb.Plot.Xmax), std::make_pair(-0.3, 0.3));
        }
        EXPECT_EQ(b.host.Messages.empty(), ok);
    }
}

TEST(ReadData, ExportedCurveImportsBackIntoTheSameValues) {
    test::Bench b, c;
    ASSERT_TRUE(Import(b, kWave));
    mnu1000X(b.wb);  // the export writes the scaled potentials
    const std::string path = test::TempPath("roundtrip.csv");
    b.host.FileAnswers.push_back(path);
    const CurveStore& s = b.wb.Curves;
    mnuExport(b.wb);
    ASSERT_TRUE(Import(c, path));
    ASSERT_EQ(c.wb.Curves.NoOfData, 201);
    EXPECT_EQ(c.wb.Curves.X(1), 300.0);
    for (int i = 1; i <= 201; ++i) {
        EXPECT_RELABS_NEAR(c.wb.Curves.X(i), s.X(i), 1e-14, 1e-15) << i;
        EXPECT_EQ(c.wb.Curves.Y(i, 1), s.Y(i, 1)) << i;
    }
}

}  // namespace
}  // namespace zemra

namespace zemra {
namespace {

const std::string kInstruments = std::string(ZEMRA_TEST_DATA) + "/instruments/";

// An instrument's cycle lands on the sheet's own staircase: a simulation over the sheet as the
// import left it has the same potentials, point for point.
TEST(ImportMeasured, CycleOnTheSheetsStaircaseWithTheReport) {
    test::Bench b;
    b.wb.Input.SetChecked("overlap", true);
    ASSERT_TRUE(Import(b, kInstruments + "chi_cv.txt"));
    const InputRecord& in = b.wb.Input;
    EXPECT_EQ(in.TextOf("Estart") + " " + in.TextOf("Eend") + " " + in.TextOf("Estep") + " " +
                  in.TextOf("V") + " " +
                  kScanModes[static_cast<size_t>(in.SelectedOf("ComboScan"))],
              "0.2 -0.3 0.025 0.1 cycle");
    const CurveStore& s = b.wb.Curves;
    ASSERT_EQ(s.NoOfData, 42);  // 21 potentials down, the same 21 back
    // Reduction positive: the file's -10 µA at -0.1 V on the way down.
    EXPECT_REL_NEAR(s.Y(13, 1), 1e-5, 1e-4);
    const std::string zone(14, ' ');
    EXPECT_EQ(b.wb.Result.Lines,
              std::vector<std::string>({"Format: CH Instruments text export",
                                        "Points read = " + zone + " 41 ",
                                        "Cycle taken = " + zone + "1 of 1 (by potential reversals)",
                                        "Current sign turned: reduction current positive",
                                        "Number of data point = " + zone.substr(9) + " 42 ",
                                        "E step = " + zone.substr(9) + " 0.025 ",
                                        "Scan rate (V/s) = " + zone.substr(4) + " 0.1 "}));
    const std::vector<double> measured(s.X.Data() + 1, s.X.Data() + 43);
    mnuSimulate(b.wb);
    EXPECT_EQ(s.NoOfData, 42);
    EXPECT_EQ(std::vector<double>(s.X.Data() + 1, s.X.Data() + 43), measured);
}

// A simulated voltammogram written as an instrument writes it (anodic current positive) is
// fitted back to its formal potential right after the import.
TEST(ImportMeasured, FitsRightAfterTheImport) {
    test::Bench sim, fit;
    for (Workbench* wb : {&sim.wb, &fit.wb}) {
        ActivateSheet(*wb);  // as a user brings the sheet to the front to type
        wb->Input.SetChecked("CheckDigital", false);
    }
    sim.wb.Input.SetListIndex("ComboScan", 1);
    sim.wb.Input.SetText("Eze", 1, "-0.05");
    mnuSimulate(sim.wb);
    std::string chi =
        "Cyclic Voltammetry\nInit E (V) = 0.3\nSegment = 2\n\nPotential/V, Current/A\n\n";
    for (int i = 1; i <= sim.wb.Curves.NoOfData; ++i)
        chi +=
            GeneralNumber(sim.wb.Curves.X(i)) + ", " + GeneralNumber(-sim.wb.Curves.Y(i, 1)) + "\n";
    fit.wb.Input.SetChecked("CheckFitted", 11, true);
    ASSERT_TRUE(Import(fit, test::WriteTempFile("fit.txt", chi)));
    mnuAutoFit_Click(fit.wb);
    EXPECT_NEAR(Val(fit.wb.Input.CaptionOf("CheckFitted", 11)), -0.05, 1e-3);
}

TEST(ImportMeasured, RefusedCycleOrFileChangesNothing) {
    const struct {
        int Cycle;
        std::string File, Message;
    } cases[] = {
        {5, kInstruments + "gamry_cv.DTA", "cycle 5 not in the file: it has 3"},
        {3, kInstruments + "gamry_cv.DTA", "fewer than 2 data points in the cycle"},
        {0,
         test::WriteTempFile("cut.mpt",
                             "EC-Lab ASCII FILE\nNb header lines : 3\nEwe/V\tI/mA\n0,1\t1\n0,2\n"),
         "truncated row in line 5"},
    };
    for (const auto& c : cases) {
        test::Bench b;
        EarlierCurve(b.wb);
        const CurveStore before = b.wb.Curves;
        b.wb.Import.Cycle = c.Cycle;
        EXPECT_FALSE(Import(b, c.File));
        EXPECT_EQ(b.host.Messages, std::vector<std::string>{"ReadData Error: " + c.Message});
        ExpectSameStore(before, b.wb.Curves);
        EXPECT_EQ(b.wb.Input.TextOf("Estart") + b.wb.Input.TextOf("Eend"), "0.3-0.3");
        EXPECT_TRUE(b.wb.Result.Lines.empty());
    }
}

}  // namespace
}  // namespace zemra
