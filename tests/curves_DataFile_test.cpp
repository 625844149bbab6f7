#include <fstream>
#include <sstream>

#include "curves/CurveCommands.h"
#include "curves/DataFile.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

TEST(DataLine, NumberCommaBlanksToTheNextZoneNumber) {
    EXPECT_EQ(DataLine(0.3, 1.5e-5), " 0.3 ,         1.5E-05 \r\n");
    EXPECT_EQ(DataLine(-0.25, -2), "-0.25 ,       -2 \r\n");
    // An X that fills its zone exactly pushes Y a whole zone on.
    EXPECT_EQ(DataLine(-1.234567891, 0), "-1.234567891 ," + std::string(14, ' ') + " 0 \r\n");
}

struct Store {
    Array1<kRows> X;
    Array2<kRows, 6> Y;
    Store() {
        for (int i = 1; i <= 4; ++i) {
            X(i) = 0.1 * i;
            Y(i, 2) = -1e-6 * i;
            Y(i, 1) = 99;
        }
    }
};

TEST(WriteData, WritesTheRangeOfTheCurrentCurve) {
    Store s;
    HeadlessHost host;
    const std::string path = test::TempPath("range.csv");
    host.FileAnswers.push_back(path);
    WriteData(2, 3, s.X, s.Y, 2, host);
    EXPECT_EQ(ReadAll(path), DataLine(0.2, -2e-6) + DataLine(0.3, -3e-6));
    EXPECT_EQ(host.FilterRequests.back(), "csv|*.csv|all|*.*");
    EXPECT_TRUE(host.Messages.empty());
}

TEST(WriteData, NothingStoredYetGivesAnEmptyFileAndCancelNone) {
    Store s;
    HeadlessHost host;
    WriteData(1, 4, s.X, s.Y, 2, host);  // cancelled: no file, no message
    EXPECT_TRUE(host.Messages.empty());
    const std::string path = test::TempPath("empty.csv");
    host.FileAnswers.push_back(path);
    WriteData(0, 0, s.X, s.Y, 0, host);
    EXPECT_EQ(ReadAll(path), "");
}

TEST(WriteData, UnwritableFileIsReported) {
    Store s;
    HeadlessHost host;
    for (const char* path : {"/nonexistent-dir/x.csv", ""}) {
        host.Messages.clear();
        host.FileAnswers.push_back(path);
        WriteData(1, 4, s.X, s.Y, 2, host);
        ASSERT_EQ(host.Messages.size(), 1u) << path;
        EXPECT_EQ(host.Messages[0], "WriteData Error: No such file or directory");
    }
}

const std::string kWave = std::string(ZEMRA_TEST_DATA) + "/wave201.csv";

std::string WriteTemp(const std::string& name, const std::string& text) {
    const std::string path = test::TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Imports `path` through the command as a user would, answering the file dialog with it.
bool Import(test::Bench& b, const std::string& path) {
    b.host.FileAnswers.push_back(path);
    return ReadData(b.wb);
}

// A store holding one curve of three points, to see that failures leave it alone.
void EarlierCurve(Workbench& wb) {
    CurveStore& s = wb.Curves;
    for (int i = 1; i <= 3; ++i) {
        s.X(i) = 0.1 * i;
        s.Y(i, 1) = 1e-6 * i;
    }
    s.NoOfData = 3;
    s.FirstPoint = 1;
    s.LastPoint = 3;
    s.NoOfCurves = s.CurveNo = s.NewCurve = 1;
}

void ExpectEarlierCurve(const Workbench& wb) {
    const CurveStore& s = wb.Curves;
    EXPECT_EQ(s.NoOfData, 3);
    EXPECT_EQ(s.LastPoint, 3);
    EXPECT_EQ(s.NoOfCurves, 1);
    EXPECT_EQ(s.NewCurve, 1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(s.X(i), 0.1 * i);
        EXPECT_EQ(s.Y(i, 1), 1e-6 * i);
    }
    EXPECT_EQ(s.X(4), 0.0);
    EXPECT_EQ(s.Y(1, 2), 0.0);
}

TEST(ReadData, FileOf201LinesFillsTheStoreAndTheSheet) {
    test::Bench b;
    ASSERT_TRUE(Import(b, kWave));
    const CurveStore& s = b.wb.Curves;
    EXPECT_EQ(s.NoOfData, 201);
    EXPECT_EQ(s.FirstPoint, 1);
    EXPECT_EQ(s.LastPoint, 201);
    EXPECT_EQ(s.X(1), 0.3);
    EXPECT_EQ(s.X(201), -0.3);
    EXPECT_EQ(s.Y(1, 1), 8.49521e-11);
    EXPECT_EQ(s.Y(201, 1), 9.99992e-6);
    // "Number of data point = " is 23 characters: the count starts in the zone at column 29.
    ASSERT_EQ(b.wb.Result.Lines.size(), 2u);
    EXPECT_EQ(b.wb.Result.Lines[0], "Number of data point = " + std::string(5, ' ') + " 201 ");
    EXPECT_EQ(b.wb.Result.Lines[1], "E step = " + std::string(5, ' ') + " 0.003 ");
    EXPECT_EQ(b.wb.Input.TextOf("Estart"), "0.3");
    EXPECT_EQ(b.wb.Input.TextOf("Estep"), "0.003");
    EXPECT_EQ(b.host.FilterRequests, std::vector<std::string>{"csv|*.csv|all|*.*"});
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
    ASSERT_TRUE(Import(b, WriteTemp("empty.csv", "")));
    EXPECT_EQ(b.wb.Curves.NoOfData, 0);
    EXPECT_EQ(b.wb.Curves.LastPoint, 0);
    EXPECT_TRUE(b.host.Messages.empty());
}

struct Junk {
    const char* Name;
    std::string Text;
    std::string Message;
};

TEST(ReadData, FailuresLeaveTheStoreExactlyAsItWas) {
    std::string tooMany;
    for (int i = 1; i <= 4001; ++i)
        tooMany += std::to_string(i) + "," + std::to_string(-i) + "\r\n";
    const Junk cases[] = {
        {"4001 points", tooMany, "ReadData Error: more than 4000 data points"},
        {"one number", "0.5\r\n", "ReadData Error: Input past end of file"},
        {"odd count", "0.1,1\r\n0.2", "ReadData Error: Input past end of file"},
        {"text header", "E/V,I/A\r\n0.1,1\r\n", "ReadData Error: Type mismatch in line 1"},
        {"word in line 3", "0.1,1\r\n0.2,2\r\n0.3,abc\r\n",
         "ReadData Error: Type mismatch in line 3"},
        {"binary bytes",
         std::string("\x7f"
                     "ELF\x02\x01\x00\x00,\xff\xfe",
                     11),
         "ReadData Error: Type mismatch in line 1"},
        {"semicolons, decimal commas", "0,1;1,5\r\n0,2;2,5\r\n",
         "ReadData Error: Type mismatch in line 1"},
        {"tabs, decimal commas", "0,1\t1,5\r\n0,2\t2,5\r\n",
         "ReadData Error: Type mismatch in line 1"},
        {"tab-separated columns", "0.1\t1\r\n", "ReadData Error: Type mismatch in line 1"},
        {"empty field", "0.1,,1\r\n", "ReadData Error: Type mismatch in line 1"},
        {"overlong field", std::string(100000, '7') + ",1",
         "ReadData Error: Type mismatch in line 1"},
    };
    for (const auto& c : cases) {
        test::Bench b;
        EarlierCurve(b.wb);
        b.wb.Input.SetChecked("overlap", true);
        EXPECT_FALSE(Import(b, WriteTemp("junk.csv", c.Text))) << c.Name;
        EXPECT_EQ(b.host.Messages, std::vector<std::string>{c.Message}) << c.Name;
        ExpectEarlierCurve(b.wb);
        EXPECT_TRUE(b.wb.Result.Lines.empty()) << c.Name;
    }
}

TEST(ReadData, MissingFileAndCancelledChoice) {
    test::Bench b;
    EarlierCurve(b.wb);
    EXPECT_FALSE(Import(b, test::TempPath("no-such-file.csv")));
    EXPECT_EQ(b.host.Messages, std::vector<std::string>{"ReadData Error: File not found"});
    ExpectEarlierCurve(b.wb);

    test::Bench c;
    EarlierCurve(c.wb);
    EXPECT_FALSE(ReadData(c.wb));  // the dialog answers "cancelled"
    EXPECT_TRUE(c.host.Messages.empty());
    ExpectEarlierCurve(c.wb);
}

TEST(ReadData, OverlapOffReplacesCurveOneOnAddsACurveOverTheFilesAxis) {
    const std::string path = WriteTemp("two.csv", "0.5,7\r\n0.6,8\r\n");
    {
        test::Bench b;
        EarlierCurve(b.wb);
        ASSERT_TRUE(Import(b, path));
        EXPECT_EQ(b.wb.Curves.NoOfCurves, 1);
        EXPECT_EQ(b.wb.Curves.Y(1, 1), 7.0);
        EXPECT_EQ(b.wb.Curves.Y(3, 1), 3e-6);  // the older curve's tail stays beyond NoOfData
    }
    {
        test::Bench b;
        EarlierCurve(b.wb);
        b.wb.Input.SetChecked("overlap", true);
        ASSERT_TRUE(Import(b, path));
        EXPECT_EQ(b.wb.Curves.NoOfCurves, 2);
        EXPECT_EQ(b.wb.Curves.CurveNo, 2);
        EXPECT_EQ(b.wb.Curves.Y(1, 2), 7.0);
        EXPECT_EQ(b.wb.Curves.Y(1, 1), 1e-6);
        EXPECT_EQ(b.wb.Curves.X(1), 0.5);  // the shared axis is the file's now
        EXPECT_EQ(b.wb.Curves.NoOfData, 2);
    }
}

TEST(ImportCommand, PlotsShowsTheResultWindowAndEnablesTheMenus) {
    test::Bench b;
    b.host.FileAnswers.push_back(kWave);
    mnuImport(b.wb);
    EXPECT_TRUE(b.wb.Menus.Display);
    EXPECT_TRUE(b.wb.Menus.Analysis);
    EXPECT_TRUE(b.wb.Result.Shown);
    EXPECT_FALSE(b.canvas.OfKind(CanvasOp::LineTo).empty());
    EXPECT_EQ(b.wb.Plot.Xmin, -0.3);
    EXPECT_EQ(b.wb.Plot.Xmax, 0.3);
    EXPECT_TRUE(b.host.Messages.empty());
}

TEST(ImportCommand, FailureChangesNeitherMenusNorPlot) {
    test::Bench b;
    b.host.FileAnswers.push_back(WriteTemp("bad.csv", "x"));
    mnuImport(b.wb);
    EXPECT_FALSE(b.wb.Menus.Display);
    EXPECT_FALSE(b.wb.Result.Shown);
    EXPECT_TRUE(b.canvas.Ops.empty());
}

TEST(ReadData, ExportedCurveImportsBackIntoTheSameValues) {
    test::Bench b;
    ASSERT_TRUE(Import(b, kWave));
    mnu1000X(b.wb);  // the export writes the scaled potentials
    const std::string path = test::TempPath("roundtrip.csv");
    b.host.FileAnswers.push_back(path);
    const CurveStore& s = b.wb.Curves;
    WriteData(s.FirstPoint, s.LastPoint, s.X, s.Y, s.CurveNo, b.host);
    test::Bench c;
    ASSERT_TRUE(Import(c, path));
    ASSERT_EQ(c.wb.Curves.NoOfData, 201);
    for (int i = 1; i <= 201; ++i) {
        EXPECT_RELABS_NEAR(c.wb.Curves.X(i), s.X(i), 1e-14, 1e-15) << i;
        EXPECT_EQ(c.wb.Curves.Y(i, 1), s.Y(i, 1)) << i;
    }
    EXPECT_EQ(c.wb.Curves.X(1), 300.0);
}

}  // namespace
}  // namespace zemra
