#include <cmath>
#include <limits>

#include "platform/RuntimeError.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Description();
    }
    return "";
}

TEST(CheckedArithmetic, RaisesTheClassicDescriptions) {
    EXPECT_EQ(ErrorOf([] { Div(1, 0); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { Div(1e300, 1e-300); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { Exp(710); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { Log(0); }), "Invalid procedure call or argument");
    EXPECT_EQ(ErrorOf([] { Log(-1); }), "Invalid procedure call or argument");
    EXPECT_EQ(ErrorOf([] { Sqrt(-1e-300); }), "Invalid procedure call or argument");
    EXPECT_EQ(ErrorOf([] { Pow(-8, 1.0 / 3.0); }), "Invalid procedure call or argument");
    EXPECT_EQ(ErrorOf([] { Pow(0, -1); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { Finite(std::numeric_limits<double>::quiet_NaN()); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { RoundToInt16(32767.6); }), "Overflow");
}

TEST(CheckedArithmetic, PassesOrdinaryValuesAndRoundsHalvesToEven) {
    EXPECT_DOUBLE_EQ(Div(1, 4), 0.25);
    EXPECT_DOUBLE_EQ(Exp(0), 1);
    EXPECT_DOUBLE_EQ(Log(std::exp(2.0)), 2);
    EXPECT_DOUBLE_EQ(Pow(-8, 3), -512);
    EXPECT_DOUBLE_EQ(Pow(0, 0.5), 0);
    EXPECT_EQ(Exp(-800), 0.0);  // underflow to zero is not an error
    // Rounding to whole numbers takes halves to the even neighbour.
    EXPECT_EQ(RoundToInt16(120.5), 120);
    EXPECT_EQ(RoundToInt16(121.5), 122);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt32(1e6 + 0.5), 1000000);
}

}  // namespace
}  // namespace zemra
