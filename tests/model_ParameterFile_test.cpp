#include "commands/FileCommands.h"
#include "model/Collection.h"
#include "model/ParameterFile.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(ParameterFile, MechanismOneByteForByte) {
    test::Bench b;
    CollectParameters(b.wb.Model, b.wb.Input);
    b.wb.Curves.NoOfData = 121;
    const std::string expected =
        "Technique :\r\n 1 \r\nMechisim :\r\n 1 \r\nElectorde\r\n 1 \r\n"
        "E start :\r\n 0.3 \r\nE end :\r\n-0.3 \r\nE Step :\r\n 0.005 \r\n"
        "t pulse :\r\n 0.05 \r\nt drop :\r\n 0.5 \r\nArea Of Electrode :\r\n 1 \r\n"
        "E pulse :\r\n-0.05 \r\nNoise (%) :\r\n 0 \r\nNo. OF DATA :\r\n 121 \r\n"
        "NUMBER OF SPECIES :\r\n 2 \r\n"
        "Species \r\n 1 \r\nD :\r\n 1E-05 \r\nC :\r\n 0.001 \r\nks :\r\n 10000 \r\n"
        "Alpha :\r\n 0.5 \r\nn :\r\n 1 \r\nE' :\r\n 0.1 \r\nConductivity :\r\n 100 \r\n"
        "Species \r\n 2 \r\nD :\r\n 1E-05 \r\nC :\r\n 0 \r\nks :\r\n 10000 \r\n"
        "Alpha :\r\n 0.5 \r\nn :\r\n 1 \r\nE' :\r\n-0.1 \r\nConductivity :\r\n 200 \r\n";
    const std::string text = ParameterFileText(b.wb.Model, b.wb.Curves.NoOfData);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(test::CrLfLines(text).size(), 58u);
}

TEST(ParameterFile, UnsetFieldsAreEmptyLines) {
    test::Bench b;  // started up, never collected
    const auto lines = test::CrLfLines(ParameterFileText(b.wb.Model, b.wb.Curves.NoOfData));
    ASSERT_EQ(lines.size(), 26u);  // no species blocks: the species count was never set
    EXPECT_EQ(lines[1], "");       // Technique
    EXPECT_EQ(lines[5], " 1 ");    // Electrode := 1 at start-up
    EXPECT_EQ(lines[7], "");       // E start
    EXPECT_EQ(lines[23], "");      // No. OF DATA
}

TEST(ParameterFile, FourthSpeciesCarriesTheNeverSetReactionEntries) {
    test::Bench b;
    b.wb.Input.Select("mech", 17);
    CollectParameters(b.wb.Model, b.wb.Input);
    const auto lines = test::CrLfLines(ParameterFileText(b.wb.Model, b.wb.Curves.NoOfData));
    ASSERT_EQ(lines.size(), 2u * (13 + 4 * 8));
    EXPECT_EQ(lines[3], " 17 ");
    const size_t species4 = 26 + 3 * 16;
    EXPECT_EQ(lines[species4 + 1], " 4 ");
    EXPECT_EQ(lines[species4 + 7], "");   // ks(4)
    EXPECT_EQ(lines[species4 + 9], "");   // Alpha(4)
    EXPECT_EQ(lines[species4 + 11], "");  // n(4)
    EXPECT_EQ(lines[species4 + 13], "");  // E'(4)
    EXPECT_EQ(lines[species4 + 15], " 400 ");
}

TEST(WriteParameterFile, WritesTheChosenFileAndReportsAFailure) {
    test::Bench b;
    CollectParameters(b.wb.Model, b.wb.Input);
    const std::string path = test::TempPath("sheet.par");
    b.host.FileAnswers.push_back(path);
    mnuSave(b.wb);
    EXPECT_EQ(b.host.FilterRequests.back(), "parameter (*.par)|*.par|all|*.*");
    EXPECT_EQ(test::ReadFile(path), ParameterFileText(b.wb.Model, b.wb.Curves.NoOfData));
    EXPECT_TRUE(b.host.Messages.empty());

    b.host.FileAnswers.push_back("/nonexistent-dir/x.par");
    mnuSave(b.wb);
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0].rfind("Save Error: ", 0), 0u);

    mnuSave(b.wb);  // cancelled: nothing
    EXPECT_EQ(b.host.Messages.size(), 1u);
}

}  // namespace
}  // namespace zemra
