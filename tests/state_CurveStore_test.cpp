#include <tuple>

#include "state/CurveStore.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(NewCurveSlot, OverlapAccumulatesFiveCurvesOtherwiseCurveOneWhileFittingCurveTwo) {
    // Curves held before, fitting, overlap checked -> the slot, which is then also the number
    // of curves held and the current curve.
    const struct {
        int held;
        bool fitting, overlap;
        int slot;
    } cases[] = {{0, false, true, 1}, {1, false, true, 2},  {4, false, true, 5},
                 {5, false, true, 1}, {3, false, false, 1}, {0, false, false, 1},
                 {4, true, false, 2}, {4, true, true, 2},   {1, true, true, 2}};
    for (const auto& c : cases) {
        CurveStore s;
        s.NoOfCurves = s.CurveNo = s.NewCurve = c.held;
        NewCurveSlot(s, c.fitting, c.overlap);
        EXPECT_EQ(std::tie(s.NoOfCurves, s.CurveNo, s.NewCurve), std::tie(c.slot, c.slot, c.slot))
            << c.held << " held, fitting " << c.fitting << ", overlap " << c.overlap;
    }
}

TEST(CurveStore, StartsEmptyAndRejectsOutOfRangeIndices) {
    CurveStore s;
    EXPECT_EQ(s.NoOfCurves, 0);
    EXPECT_FALSE(s.NoOfData.IsSet);
    EXPECT_EQ(s.Y(4000, 5), 0.0);
    EXPECT_THROW(s.Y(4001, 1), RuntimeError);
    EXPECT_THROW(s.X(-1), RuntimeError);
}

}  // namespace
}  // namespace zemra
