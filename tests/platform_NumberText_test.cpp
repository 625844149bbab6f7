#include "platform/NumberText.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(Val, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1e-3", 0.001}, {"0.5s", 0.5},      {"", 0},       {"abc", 0},       {" 12 ", 12},
        {"1e", 1},       {"-0.005", -0.005}, {"-.5", -0.5}, {"+2.5E+2", 250}, {"3.", 3},
        {"1d2", 100},    {"12abc34", 12},    {".", 0},      {"-", 0},         {"5e-x", 5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.value) << "'" << c.text << "'";
}

TEST(StrictNumber, AcceptsOnlyAWholeNumber) {
    EXPECT_DOUBLE_EQ(*StrictNumber("-0.005"), -0.005);
    EXPECT_DOUBLE_EQ(*StrictNumber(" 12 "), 12);
    EXPECT_DOUBLE_EQ(*StrictNumber("1e-3"), 0.001);
    for (const char* junk : {"", "abc", "1e", "0.5s", " ", "1 2", "--1", "1e999", "0x10"})
        EXPECT_FALSE(StrictNumber(junk).has_value()) << "'" << junk << "'";
}

TEST(FormatPattern, RoundsTheMantissaAndWritesTheExponent) {
    const char* const patterns[] = {"0.###e-#", "#.###e-#", "0.##e-0", "0.#E-0"};
    const struct {
        double value;
        const char* text[4];  // in each pattern above; nullptr: not checked
    } cases[] = {{0.00099996, {"1e-3", "1e-3", "1e-3", "1E-3"}},  // rounded up into the next decade
                 {9.9996, {"1e1", "1e1", "1e1", "1E1"}},
                 {9.996, {"9.996e0", "9.996e0", "1e1", "1E1"}},
                 {0, {"0e0", nullptr, "0e0", "0E0"}},
                 {-0.0015, {"-1.5e-3", "-1.5e-3", "-1.5e-3", "-1.5E-3"}},
                 {-300, {"-3e2", "-3e2", "-3e2", "-3E2"}},
                 {-2.5e-7, {"-2.5e-7", "-2.5e-7", "-2.5e-7", "-2.5E-7"}},
                 {1000, {"1e3", "1e3", "1e3", "1E3"}},
                 {0.0005, {"5e-4", "5e-4", "5e-4", "5E-4"}},
                 {1.23456, {"1.235e0", "1.235e0", "1.23e0", "1.2E0"}},
                 {12345, {"1.235e4", "1.235e4", "1.23e4", "1.2E4"}},
                 {0.50267, {"5.027e-1", "5.027e-1", "5.03e-1", "5E-1"}},
                 {1.0000254, {"1e0", "1e0", "1e0", "1E0"}},
                 {0.00153, {"1.53e-3", "1.53e-3", "1.53e-3", "1.5E-3"}}};
    for (const auto& c : cases)
        for (int p = 0; p < 4; ++p) {
            if (!c.text[p]) continue;
            EXPECT_EQ(FormatPattern(c.value, patterns[p]), c.text[p]) << c.value;
        }
}

TEST(GeneralNumber, FifteenDigitsAndTheExponentForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0"},         {0.5, "0.5"},        {-0.5, "-0.5"},
                 {1e-4, "0.0001"}, {1.5e-5, "1.5E-05"}, {-2e-7, "-2E-07"},
                 {1e15, "1E+15"},  {0.1 + 0.2, "0.3"},  {121, "121"},
                 {-0.3, "-0.3"},   {2.5e20, "2.5E+20"}};
    for (const auto& c : cases) EXPECT_EQ(GeneralNumber(c.value), c.text) << c.value;
    EXPECT_EQ(GeneralNumber(123456789012345), "123456789012345");
}

TEST(PrintedNumber, BlankForThePlusSignAndAfter) {
    EXPECT_EQ(PrintedNumber(0.2), " 0.2 ");
    EXPECT_EQ(PrintedNumber(-0.2), "-0.2 ");
    EXPECT_EQ(PrintedNumber(17), " 17 ");
    EXPECT_EQ(PrintedNumber(0), " 0 ");
}

}  // namespace
}  // namespace zemra
