#include "tests/TestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "simulation/SignalProcessing.h"
#include "simulation/SimulationDriver.h"

namespace zemra::test {

void Simulate(Workbench& wb) {
    const SimulationOutcome outcome = SimulateCurve(wb);
    ShowMessages(wb, outcome.Messages());
    if (!outcome.Completed()) return;
    const std::string refused = ComputeOutputQuantity(wb);
    if (!refused.empty()) wb.Ui.MessageBox(refused);
}

std::string TempPath(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zemra-tests-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void SetCurves(Workbench& wb, const std::vector<double>& x,
               const std::vector<std::vector<double>>& ys) {
    CurveStore& s = wb.Curves;
    for (size_t i = 0; i < x.size(); ++i) {
        s.X(static_cast<int>(i + 1)) = x[i];
        for (size_t c = 0; c < ys.size(); ++c)
            s.Y(static_cast<int>(i + 1), static_cast<int>(c + 1)) = ys[c][i];
    }
    s.NoOfData = s.LastPoint = static_cast<int>(x.size());
    s.FirstPoint = s.CurveNo = 1;
    s.NoOfCurves = s.NewCurve = static_cast<int>(ys.size());
}

std::string ReplacedOnce(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line does not end in CR LF: " << text.substr(start, 40);
            break;
        }
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace zemra::test
