#include <fstream>
#include <sstream>

#include "platform/NumberText.h"
#include "tests/TestSupport.h"
#include "ui/Cli.h"

namespace zemra {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Cli(const std::vector<std::string>& tokens) {
    std::ostringstream out, err;
    const int status = RunCli(tokens, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(Cli, SavesTheSheetAsTyped) {
    const std::string path = test::TempPath("cli.par");
    const CliRun r = Cli({"Estart=0.2", "mech=4", "SheetOK", "Save=" + path});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 2u * (13 + 4 * 8));
    EXPECT_EQ(lines[7], " 0.2 ");  // the fourth value line
    EXPECT_EQ(lines[3], " 4 ");
}

TEST(Cli, RefusesWhatTheDesktopMakesImpossible) {
    const std::vector<std::vector<std::string>> refused = {
        {"mech=3"},                    // never offered
        {"CheckDigital=0", "mech=7"},  // analytical road: 1, 4, 9 only
        {"optElectrode=7"},            // thin film needs the analytical road
        {"CheckDigital=0", "Ru=5"},    // resistance disabled without digital simulation
        {"optElectrode=2", "ARE=2"},   // computed area is read-only
        {"Cinit(1)=1"},                // a label
        {"ComboScan=triple"},          // not an entry
        {"CheckGrid=yes"},             // check boxes take 0 or 1
        {"optTech=6"},                 // no such entry
        {"NoSuchThing"},               // unknown token
        {"Simulate=x"},                // not a command yet, or not one that takes a file
        {"D(9)=1"},                    // no such row
    };
    for (const auto& tokens : refused) {
        const CliRun r = Cli(tokens);
        EXPECT_EQ(r.status, 2) << tokens.back();
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(Cli, AcceptsRowControlsListsAndHiddenFields) {
    const std::string path = test::TempPath("rows.par");
    const CliRun r =
        Cli({"D(2)=2e-5", "Cond(0)=150", "CheckFitted(5)=1", "NEL(1)=2", "ComboScan=cycle",
             "radius=0.5", "linestyle1(0)=1", "SheetOK", "Save=" + path});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = FileLines(path);
    ASSERT_GE(lines.size(), 42u);
    EXPECT_EQ(lines[27], " 1 ");           // species 1
    EXPECT_EQ(lines[37], " 2 ");           // n of reaction 1
    EXPECT_EQ(lines[41], " 150 ");         // conductivity of species 1
    EXPECT_EQ(lines[29 + 16], " 2E-05 ");  // D of species 2
}

TEST(Cli, InputErrorIsAMessageAndExitStatusOne) {
    const CliRun r = Cli({"Estep=abc", "SheetOK"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message: Input Error: E step (V) is not a number\n");
}

TEST(Cli, SheetTypingSeesTheCollectedTemperature) {
    // Typing into the sheet first brings it to the front, which collects the parameters, so
    // the pre-equilibration uses the true F/RT: E start = E° gives equal halves, and E start
    // 59 mV positive of E° gives about 10 % reduced form at 25 °C.
    const std::string path = test::TempPath("halves.par");
    CliRun r = Cli({"C(1)=2e-3", "Estart=0.1", "Experimental", "SheetOK", "Save=" + path});
    EXPECT_EQ(r.status, 0) << r.err;
    auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_EQ(lines[31], " 0.001 ");
    EXPECT_EQ(lines[47], " 0.001 ");

    r = Cli({"Estart=0.159", "SheetOK", "Save=" + path});
    lines = FileLines(path);
    const double b = Val(lines[47]), a = Val(lines[31]);
    EXPECT_NEAR(b / a, std::exp(-0.059 * 96484.6 / 8.31441 / 298.14), 2e-3);
}

TEST(Cli, ImportedCurveIsTransformedAndDrawnAsSvg) {
    const std::string svg = test::TempPath("import.svg");
    const std::string data = std::string(ZEMRA_TEST_DATA) + "/wave201.csv";
    const CliRun r =
        Cli({"Import=" + data, "NextCurve", "1000X", "MinusY", "Clear", "Plot", "PlotSvg=" + svg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Curve Number is  1 "), std::string::npos);
    std::ifstream f(svg);
    const std::string doc((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_NE(doc.find("<svg"), std::string::npos);
    EXPECT_NE(doc.find(">E /V</text>"), std::string::npos);
    EXPECT_NE(doc.find(">-1E-5</text>"), std::string::npos);  // the mirrored wave
    EXPECT_NE(doc.find(">-300 </text>"), std::string::npos);  // the axis in mV
    EXPECT_NE(doc.find("<path"), std::string::npos);
}

TEST(Cli, FailedImportIsAnErrorMessage) {
    const CliRun r = Cli({"Import=" + test::TempPath("missing.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message: ReadData Error: File not found\n");
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

TEST(Cli, SimulatedCurveIsDrawnWithFrameAndLabels) {
    const std::string svg = test::TempPath("simulate.svg");
    const CliRun r = Cli({"CheckDigital=0", "Simulate", "PlotSvg=" + svg});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string doc = ReadFile(svg);
    EXPECT_NE(doc.find("fill=\"none\" stroke="), std::string::npos);  // the frame
    for (const char* label : {">I /A</text>", ">E /V</text>", "> 0.3 </text>", ">-0.3 </text>"})
        EXPECT_NE(doc.find(label), std::string::npos) << label;
    EXPECT_NE(doc.find("<path d=\"M"), std::string::npos);  // the curve
}

TEST(Cli, OverlongImportLeavesTheEarlierCurveForTheExport) {
    std::string big;
    for (int i = 1; i <= 4001; ++i) big += std::to_string(i) + ",1\r\n";
    const std::string bigPath = test::TempPath("big.csv"), out = test::TempPath("kept.csv");
    std::ofstream(bigPath, std::ios::binary) << big;
    const std::string wave = std::string(ZEMRA_TEST_DATA) + "/wave201.csv";
    const CliRun r = Cli({"Import=" + wave, "Import=" + bigPath, "Export=" + out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message: ReadData Error: more than 4000 data points\n");
    EXPECT_EQ(ReadFile(out), ReadFile(wave));  // the fixture is written in the export's layout
}

TEST(Cli, FitAndSeparationCommandsPrintTheFitReport) {
    CliRun r = Cli({"CheckDigital=0", "Simulate", "AutoFit"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Least square =  0 \n", 0), 0u);
    EXPECT_NE(r.out.find("\nConvergence flag =          -1 \n"), std::string::npos);
    for (const char* command : {"ManualFit", "ManualSeparate", "AutoSeparate"}) {
        r = Cli({"mech=4", "Eze(2)=-0.15", "Simulate", command});
        EXPECT_EQ(r.status, 0) << command << ": " << r.err;
        const bool reports = std::string(command).rfind("Auto", 0) == 0;
        EXPECT_EQ(r.out.find("Convergence flag = ") != std::string::npos, reports) << command;
    }
}

}  // namespace
}  // namespace zemra
