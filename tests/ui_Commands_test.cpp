#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "ui/Cli.h"
#include "ui/Commands.h"

namespace zemra {
namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(f, line);) lines.push_back(line);
    return lines;
}

TEST(Simulate, EnablesDisplayAndAnalysisAndRestoresTheCursor) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckDigital", false);
    EXPECT_FALSE(b.wb.Menus.Display);
    EXPECT_FALSE(b.wb.Menus.Analysis);
    mnuSimulate(b.wb);
    EXPECT_TRUE(b.wb.Menus.Display);
    EXPECT_TRUE(b.wb.Menus.Analysis);
    EXPECT_EQ(b.host.WaitCursorTurns, 2);
    EXPECT_FALSE(b.host.WaitCursor);
    EXPECT_EQ(b.wb.Curves.NoOfData, 121);
    EXPECT_GT(b.wb.Curves.Y(60, 1), 0.0);
}

TEST(Simulate, MenusEnabledAlsoAfterASimulationError) {
    test::Bench b;
    b.wb.Input.SetChecked("CheckDigital", false);
    b.wb.Input.SetText("Estep", "0");
    mnuSimulate(b.wb);
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_TRUE(b.wb.Menus.Display);
    EXPECT_FALSE(b.host.WaitCursor);
}

TEST(Simulate, RefusedDistanceIsReportedOnce) {
    test::Bench b;
    b.wb.Input.SetListIndex("ComboY", 1);  // resistance R
    b.wb.Input.SetText("TextDis", "0");
    mnuSimulate(b.wb);
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0], "Input Error: Dis (cm) must be a non-zero number");
}

TEST(Cli, SimulatesACycleAndExportsIt) {
    const std::string path = test::TempPath("cli-cycle.csv");
    std::ostringstream out, err;
    const int rc =
        RunCli({"CheckDigital=0", "ComboScan=cycle", "Simulate", "Export=" + path}, out, err);
    EXPECT_EQ(rc, 0) << err.str();
    const auto lines = Lines(path);
    ASSERT_EQ(lines.size(), 242u);
    EXPECT_EQ(lines[120].substr(0, 6), "-0.3 ,");
    EXPECT_EQ(lines[121].substr(0, 6), "-0.3 ,");
}

}  // namespace
}  // namespace zemra
