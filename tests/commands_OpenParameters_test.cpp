#include <string>
#include <vector>

#include "commands/FileCommands.h"
#include "commands/OpenParameters.h"
#include "commands/SheetLayout.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

std::string SaveTo(test::Bench& b, const std::string& name) {
    const std::string path = test::TempPath(name);
    b.host.FileAnswers = {path};
    mnuSave(b.wb);
    return test::ReadFile(path);
}

void OpenFrom(test::Bench& b, const std::string& path) {
    b.host.FileAnswers = {path};
    mnuOpen(b.wb);
}

TEST(OpenParameters, SaveOpenSaveIsByteIdenticalForEveryTechniqueMechanismAndGeometry) {
    // The first sheet holds concentrations that pre-equilibration and the homogeneous
    // equilibrium (K = 3) move; the second sheet, fresh, has K = 1 and would move them again if
    // it re-equilibrated what the file holds. Bringing the sheet to the front again and pressing
    // its OK must not move them either.
    for (int tech = 1; tech <= 5; ++tech)
        for (int mech = 1; mech <= 17; ++mech)
            for (int e = 1; e <= 8; ++e) {
                SCOPED_TRACE(::testing::Message()
                             << "tech " << tech << " mech " << mech << " e " << e);
                test::Bench a;
                InputRecord& in = a.wb.Input;
                in.SetChecked("CheckDigital", !MechanismOf(mech).ClosedForm);
                in.Select("optTech", tech);
                in.Select("mech", mech);
                in.Select("optElectrode", e);
                ActivateSheet(a.wb);
                for (const auto& [name, row, text] :
                     std::vector<std::tuple<const char*, int, const char*>>{
                         {"kf", 1, "3"},
                         {"C", 2, "2e-4"},
                         {"C", 3, "5e-4"},
                         {"C", 4, "1e-4"},
                         {"Estart", kNoRow, "0.15"},
                         {"radius", kNoRow, "0.0123"},
                         {"Eze", 2, "-0.05"},
                         {"D", 2, "7e-6"},
                         {"Noise", kNoRow, "1.5"}})
                    in.SetText(name, row, text);
                SheetOK(a.wb);
                const std::string first = SaveTo(a, "open-a.par");
                test::Bench b;
                OpenFrom(b, test::TempPath("open-a.par"));
                EXPECT_TRUE(b.host.Messages.empty());
                EXPECT_EQ(SaveTo(b, "open-b.par"), first);
                ActivateSheet(b.wb);
                SheetOK(b.wb);
                EXPECT_EQ(SaveTo(b, "open-c.par"), first);
                for (int s = 1; s <= a.wb.Model.NSpecies && s <= 4; ++s)
                    EXPECT_EQ(b.wb.Input.CaptionOf("Cinit", s), in.CaptionOf("Cinit", s));
            }
}

TEST(OpenParameters, RefusesWhatSaveDidNotWriteWithItsLineAndLeavesTheSheet) {
    test::Bench a;
    SheetOK(a.wb);
    const std::string good = SaveTo(a, "open-good.par");  // 13 items and 2 species, 58 lines
    auto replaced = [&](const std::string& from, const std::string& to) {
        return test::ReplacedOnce(good, from, to);
    };
    const struct {
        std::string text, message;
    } cases[] = {
        {"1,2\r\n3,4\r\n", "Open Error: line 1: \"Technique :\" expected, not a parameter file"},
        {good.substr(0, good.find("Alpha :")), "Open Error: line 35: \"Alpha :\" is missing"},
        {replaced(" 0.3 ", " 0.3V "), "Open Error: line 8: \"0.3V\" is not a number"},
        {replaced("E end :\r\n-0.3", "E end :\r\n Inf"),
         "Open Error: line 10: \"Inf\" is not a number"},
        {replaced("Mechisim :\r\n 1 ", "Mechisim :\r\n 18 "),
         "Open Error: line 4: Mechisim : must be a whole number from 1 to 17"},
        {good + "x\r\n", "Open Error: line 59: text after the last species"},
        {replaced("Species \r\n 2 ", "Species \r\n 1 "), "Open Error: line 44: species 2 expected"},
    };
    for (const auto& c : cases) {
        test::Bench b;
        b.wb.Input.SetText("Estart", "0.25");
        OpenFrom(b, test::WriteTempFile("open-bad.par", c.text));
        ASSERT_EQ(b.host.Messages.size(), 1u);
        EXPECT_EQ(b.host.Messages[0], c.message);
        EXPECT_EQ(b.wb.Input.TextOf("Estart"), "0.25");
        EXPECT_FALSE(b.wb.Model.Estart.IsSet);
    }
    test::Bench b;
    OpenFrom(b, test::TempPath("open-none.par"));
    EXPECT_EQ(b.host.Messages.at(0), "Open Error: File not found");
}

}  // namespace
}  // namespace zemra
