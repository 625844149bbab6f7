// Shared helpers of the test suite: tolerance checks with a relative and an absolute part, and a
// fresh workbench with a headless host and a recording canvas.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/Commands.h"
#include "platform/RuntimeError.h"
#include "state/Workbench.h"

namespace zemra::test {

// |actual - expected| <= abs + rel * |expected|.
inline ::testing::AssertionResult IsNear(double actual, double expected, double rel,
                                         double abs = 0.0) {
    const double err = std::fabs(actual - expected);
    const double tol = abs + rel * std::fabs(expected);
    if (err <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "actual " << actual << " vs expected " << expected << ": error " << err << " exceeds "
           << tol << " (rel " << rel << ", abs " << abs << ")";
}

#define EXPECT_REL_NEAR(actual, expected, rel) \
    EXPECT_TRUE(::zemra::test::IsNear((actual), (expected), (rel)))
#define EXPECT_RELABS_NEAR(actual, expected, rel, abs) \
    EXPECT_TRUE(::zemra::test::IsNear((actual), (expected), (rel), (abs)))

// A workbench as the program has it right after start-up.
struct Bench {
    HeadlessHost host;
    RecordingCanvas canvas;
    Workbench wb{host, canvas};
    explicit Bench(bool startUp = true) {
        if (startUp) StartUp(wb);
    }
};

// One simulation from the parameter model as it stands, with its output step, as the fit
// commands run it: the messages go to the host.
void Simulate(Workbench& wb);

// A path for a scratch file under the test's temporary directory.
std::string TempPath(const std::string& name);

// Curves 1..ys.size() over the shared axis x (points 1..x.size()), curve 1 current.
void SetCurves(Workbench& wb, const std::vector<double>& x,
               const std::vector<std::vector<double>>& ys);

// The bytes of a file ("" when it cannot be read); a scratch file `name` written with `text`.
std::string ReadFile(const std::string& path);
std::string WriteTempFile(const std::string& name, const std::string& text);
// `text` with the first `from` in it replaced by `to` (a damaged copy of a good file).
std::string ReplacedOnce(std::string text, const std::string& from, const std::string& to);

// The lines of a text in which every line ends in CR LF (anything else fails the test).
std::vector<std::string> CrLfLines(const std::string& text);

}  // namespace zemra::test

namespace zemra::test {

// The description of the RuntimeError that call() raises, or "" when it raises none.
template <class Call>
std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.Description();
    }
    return "";
}

}  // namespace zemra::test
