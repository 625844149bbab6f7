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

}  // namespace
}  // namespace zemra
