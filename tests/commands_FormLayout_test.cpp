#include <algorithm>

#include "commands/FormLayout.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Every control of every window is placed exactly once, and nothing is placed that the input
// record does not hold for that window.
TEST(FormLayout, EachControlOfEachFormPlacedOnce) {
    test::Bench b;
    const InputRecord& in = b.wb.Input;
    for (const FormDescription& form : FormDescriptions()) {
        auto placed = PlacedControls(form);
        for (const auto& [name, row] : placed) {
            const Control* c = in.Find(name, row);
            ASSERT_NE(c, nullptr) << form.Name << " " << name << "(" << row << ")";
            EXPECT_EQ(c->Form, form.Name) << name;
        }
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(std::adjacent_find(placed.begin(), placed.end()), placed.end()) << form.Name;
        EXPECT_TRUE(UnplacedControls(form, in).empty()) << form.Name;
    }
}

// A fit slot's box and bounds sit right after the quantity they fit, in the same row.
TEST(FormLayout, FitSlotsBesideTheirQuantities) {
    const std::pair<const char*, int> quantities[] = {{"Cinit", 0}, {"Eze", 10}, {"alph", 7},
                                                      {"ks", 4},    {"kf", 13},  {"kb", 16}};
    int tables = 0;
    for (const FormSection& s : FindForm("FormExpr")->Sections) {
        const auto& cols = s.Columns;
        tables += !cols.empty();
        for (size_t i = 0; i + 3 < cols.size(); ++i) {
            for (const auto& [name, offset] : quantities) {
                if (cols[i].Name != name) continue;
                EXPECT_EQ(cols[i + 1].Name, "CheckFitted") << name;
                EXPECT_EQ(cols[i + 2].Name, "TextCmin") << name;
                EXPECT_EQ(cols[i + 3].Name, "TextCmax") << name;
                for (int k = 1; k <= 3; ++k) EXPECT_EQ(cols[i + k].RowOffset, offset) << name;
            }
        }
    }
    EXPECT_EQ(tables, 3);
    EXPECT_EQ(FindForm("formOption")->OkCommand, "OptionOK");
}

}  // namespace
}  // namespace zemra
