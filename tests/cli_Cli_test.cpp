#include "cli/Cli.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "platform/NumberText.h"
#include "tests/TestSupport.h"

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

const std::string kWave = std::string(ZEMRA_TEST_DATA) + "/wave201.csv";

// zemra-cli run as a process, as from a shell; the tokens hold no single quote.
CliRun Process(const std::vector<std::string>& tokens) {
    std::string command = ZEMRA_CLI_PATH;
    for (const std::string& t : tokens) command += " '" + t + "'";
    const std::string out = test::TempPath("cli.out"), err = test::TempPath("cli.err");
    const int status = std::system((command + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFile(out), test::ReadFile(err)};
}

TEST(Cli, SavesTheSheetAsTyped) {
    const std::string path = test::TempPath("cli.par");
    const struct {
        std::vector<std::string> Tokens;
        const char *Mechanism, *Estart;
    } cases[] = {{{"Estart=0.2", "mech=4", "SheetOK", "Save=" + path}, " 4 ", " 0.2 "},
                 {{"mech=13", "Experimental", "SheetOK", "Save=" + path}, " 13 ", " 0.3 "}};
    for (const auto& c : cases) {
        const CliRun r = Cli(c.Tokens);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const auto lines = test::CrLfLines(test::ReadFile(path));
        ASSERT_EQ(lines.size(), 2u * (13 + 4 * 8));  // four species blocks
        EXPECT_EQ(lines[3], c.Mechanism);
        EXPECT_EQ(lines[7], c.Estart);  // the fourth value line
    }
}

TEST(Cli, TheSheetsOkBringsTheSheetToTheFrontFirst) {
    // Mechanism 5 (C = A ahead of the couple): the sheet's layout step pre-equilibrates C with
    // A at Keq = 10 / 0.01, so species C starts at 1e-3 / 1001, not at the 0 typed.
    const std::string path = test::TempPath("ok.par");
    const CliRun r = Cli({"mech=5", "SheetOK", "Save=" + path});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = test::CrLfLines(test::ReadFile(path));
    ASSERT_EQ(lines.size(), 2u * (13 + 3 * 8));
    EXPECT_REL_NEAR(Val(lines[26 + 2 * 16 + 5]), 1e-3 / 1001, 1e-3);  // C of species 3
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
        {"Simulate=x"},                // a command that takes no file
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
    const auto lines = test::CrLfLines(test::ReadFile(path));
    ASSERT_GE(lines.size(), 46u);
    EXPECT_EQ(lines[27], " 1 ");           // species 1
    EXPECT_EQ(lines[37], " 2 ");           // n of reaction 1
    EXPECT_EQ(lines[41], " 150 ");         // conductivity of species 1
    EXPECT_EQ(lines[29 + 16], " 2E-05 ");  // D of species 2
}

TEST(Cli, MessagesGoToStandardErrorWithExitStatusOne) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"Estep=abc", "SheetOK"}, "Input Error: E step (V) is not a number"},
        {{"Import=" + test::TempPath("missing.csv")}, "ReadData Error: File not found"}};
    for (const auto& [tokens, message] : cases) {
        const CliRun r = Cli(tokens);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "message: " + std::string(message) + "\n");
    }
}

TEST(Cli, SheetTypingSeesTheCollectedTemperature) {
    // Typing into the sheet first brings it to the front, which collects the parameters, so
    // the pre-equilibration uses the true F/RT: E start = E° gives equal halves, and E start
    // 59 mV positive of E° gives about 10 % reduced form at 25 °C.
    const std::string path = test::TempPath("halves.par");
    CliRun r = Cli({"C(1)=2e-3", "Estart=0.1", "Experimental", "SheetOK", "Save=" + path});
    EXPECT_EQ(r.status, 0) << r.err;
    auto lines = test::CrLfLines(test::ReadFile(path));
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_EQ(lines[31], " 0.001 ");
    EXPECT_EQ(lines[47], " 0.001 ");

    r = Cli({"Estart=0.159", "SheetOK", "Save=" + path});
    lines = test::CrLfLines(test::ReadFile(path));
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_NEAR(Val(lines[47]) / Val(lines[31]), std::exp(-0.059 * 96484.6 / 8.31441 / 298.14),
                2e-3);
}

TEST(Cli, PlotSvgDrawsTheFrameTheLabelsAndTheCurve) {
    const std::string svg = test::TempPath("plot.svg");
    const std::pair<std::vector<std::string>, std::vector<const char*>> runs[] = {
        {{"CheckDigital=0", "Simulate", "PlotSvg=" + svg},
         {">I /A</text>", "> 0.3 </text>", ">-0.3 </text>"}},
        // The wave mirrored, on an axis in mV.
        {{"Import=" + kWave, "NextCurve", "1000X", "MinusY", "Clear", "Plot", "PlotSvg=" + svg},
         {">-1E-5</text>", ">-300 </text>"}}};
    for (const auto& [tokens, labels] : runs) {
        const CliRun r = Cli(tokens);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::string doc = test::ReadFile(svg);
        // The picture, its frame, the curve and the X title; then the run's own labels.
        for (const char* part : {"<svg", "fill=\"none\" stroke=", "<path d=\"M", ">E /V</text>"})
            EXPECT_NE(doc.find(part), std::string::npos) << part;
        for (const char* label : labels) EXPECT_NE(doc.find(label), std::string::npos) << label;
    }
}

TEST(Cli, OverlongImportLeavesTheEarlierCurveForTheExport) {
    std::string big;
    for (int i = 1; i <= 4001; ++i) big += std::to_string(i) + ",1\r\n";
    const std::string out = test::TempPath("kept.csv");
    const CliRun r = Cli({"--keep-going", "Import=" + kWave,
                          "Import=" + test::WriteTempFile("big.csv", big), "Export=" + out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message: ReadData Error: more than 4000 data points\n");
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(kWave));  // the fixture is in the export layout
}

TEST(Cli, FitAndSeparationCommandsRunAndTheAutomaticOnesPrintTheFitReport) {
    for (const std::string command : {"ManualFit", "AutoFit", "ManualSeparate", "AutoSeparate"}) {
        const CliRun r = Cli({"mech=4", "Eze(2)=-0.15", "Simulate", command});
        EXPECT_EQ(r.status, 0) << command << ": " << r.err;
        const bool reports = command.rfind("Auto", 0) == 0;
        EXPECT_EQ(r.out.find("\nConvergence flag = ") != std::string::npos, reports) << command;
    }
}

TEST(CliProcess, AnErrorEndsTheRunAndNoFileIsDestroyed) {
    const std::string res = test::TempPath("res.csv"), missing = "Import=" + test::TempPath("no");
    const std::string notFound = "message: ReadData Error: File not found\n",
                      noData = "message: Error: No data!\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{missing, "Semi", "Export=" + res}, notFound},
        // Run on: the export of the empty store is refused, not written.
        {{"--keep-going", missing, "Semi", "Export=" + res}, notFound + noData + noData},
        {{"Export=" + res, "Save=" + res}, noData},
        {{"Import=/dev/zero", "Export=" + res},
         "message: ReadData Error: Path/File access error\n"}};
    for (const auto& [tokens, err] : cases) {
        test::WriteTempFile("res.csv", "old\r\n");
        const CliRun r = Process(tokens);
        EXPECT_EQ(std::make_pair(r.status, r.err), std::make_pair(1, err));
        EXPECT_EQ(test::ReadFile(res), "old\r\n");
    }
}

TEST(CliProcess, RefusalsAreOneLineAndAHint) {
    const std::string longToken(200, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {longToken, "unknown token '" + longToken.substr(0, 80) + "...'"},
        {"CheckGrid=yes", "CheckGrid=yes: CheckGrid takes 0 or 1"}};
    for (const auto& [token, line] : cases) {
        const CliRun r = Process({token});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "zemra-cli: " + line + "\nzemra-cli --help lists the commands\n");
    }
}

}  // namespace
}  // namespace zemra
