#include <fstream>
#include <sstream>

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

}  // namespace
}  // namespace zemra
