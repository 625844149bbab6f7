#include "platform/PlotView.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

const std::string kMinus = "\xE2\x88\x92", kMicro = "\xC2\xB5", kOhm = "\xCE\xA9";

TEST(PlotView, SiTextWithFourSignificantDigits) {
    const struct {
        double value;
        std::string unit, text;
    } cases[] = {
        {1.2344e-5, "A", "12.34 " + kMicro + "A"},
        {-6.5651e-5, "A", kMinus + "65.65 " + kMicro + "A"},
        {0, "A", "0 A"},
        {999.96e-6, "A", "1.000 mA"},  // rounding up to 1000 moves on a prefix
        {2500, kOhm, "2.500 k" + kOhm},
        {0.5, "M", "500.0 mM"},
        {1e-18, "A", "0.001 fA"},  // below the smallest prefix
    };
    for (const auto& c : cases) EXPECT_EQ(SiText(c.value, c.unit), c.text) << c.value;
}

TEST(PlotView, CursorTextNamesTheQuantityOfTheYTitle) {
    EXPECT_EQ(CursorText({-0.12346, 1.2344e-5}, "I /A"),
              "E = " + kMinus + "0.1235 V   I = 12.34 " + kMicro + "A");
    EXPECT_EQ(CursorText({0.05, 2500}, "R /Ohm"), "E = 0.0500 V   R = 2.500 k" + kOhm);
    EXPECT_EQ(CursorText({0.05, 2e-3}, "Cond /1/Ohm"), "E = 0.0500 V   Cond = 2.000 mS");
    EXPECT_EQ(CursorText({0.1, 3e-3}, ""), "E = 0.1000 V   Y = 3.000 m");
}

// A reversed X system as the plot sets it (left 0.36, right -0.36), zoomed and panned: the
// mapping goes through the view, and window and user points map back and forth.
TEST(PlotView, ZoomAndPanMapWindowPointsThroughTheView) {
    const UserSystem s{0.36, 1e-4, -0.36, -2e-4};
    PlotView v;
    UserPoint u = v.UserAt(s, {0.25, 0.5});
    EXPECT_REL_NEAR(u.X, 0.18, 1e-12);
    EXPECT_REL_NEAR(u.Y, -0.5e-4, 1e-12);

    v.ZoomToBand({1, 1}, {0.5, 0.5});
    EXPECT_TRUE(v.Zoomed());
    u = v.UserAt(s, {0, 0});  // the band's corner: the middle of the picture
    EXPECT_NEAR(u.X, 0, 1e-15);
    EXPECT_REL_NEAR(u.Y, -0.5e-4, 1e-12);

    const Fraction at{0.2, 0.7};
    const UserPoint before = v.UserAt(s, at);
    v.ZoomAt(at, 2);
    const UserPoint after = v.UserAt(s, at);
    EXPECT_REL_NEAR(after.X, before.X, 1e-12);
    EXPECT_REL_NEAR(after.Y, before.Y, 1e-12);
    const Fraction back = v.WindowAt(s, after);
    EXPECT_NEAR(back.X, at.X, 1e-12);
    EXPECT_NEAR(back.Y, at.Y, 1e-12);

    v.Pan(-100, -100);  // far beyond the picture: stops at its bottom-right corner
    EXPECT_DOUBLE_EQ(v.Right(), 1);
    EXPECT_DOUBLE_EQ(v.Bottom(), 1);
    v.ZoomAt(at, 0.01);  // zoomed out beyond the whole picture: the whole picture
    EXPECT_FALSE(v.Zoomed());
    v.ZoomToBand({0.5, 0.5}, {0.505, 0.9});  // a click, not a band
    EXPECT_FALSE(v.Zoomed());
}

TEST(PlotView, LastSystemAndYTitleOfAPicture) {
    RecordingCanvas picture;
    EXPECT_FALSE(LastSystem(picture));
    picture.Scale(-0.36, 1e-4, 0.36, -2e-4);
    picture.Text("I /A");
    picture.Scale(0.36, 1e-4, -0.36, -2e-4);
    picture.Text("E /V");
    picture.Scale(0, 1, 0, 2);  // degenerate: not a system
    ASSERT_TRUE(LastSystem(picture));
    EXPECT_EQ(LastSystem(picture)->X1, 0.36);
    EXPECT_EQ(YTitleOf(picture), "I /A");
}

TEST(PlotView, NiceTicksAtOneTwoOrFiveTimesAPowerOfTen) {
    const std::vector<double> e = NiceTicks(0.3, -0.3, 6);
    ASSERT_EQ(e.size(), 7u);
    for (size_t k = 0; k < e.size(); ++k) EXPECT_NEAR(e[k], -0.3 + 0.1 * k, 1e-12);
    const std::vector<double> i = NiceTicks(0, 7e-5, 4);
    ASSERT_EQ(i.size(), 4u);
    EXPECT_REL_NEAR(i[3], 6e-5, 1e-12);
    EXPECT_TRUE(NiceTicks(1, 1, 4).empty());
}

}  // namespace
}  // namespace zemra
