#include "curves/CurveStore.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(NewCurveSlot, OverlapAccumulatesFiveCurvesThenStartsOver) {
    CurveStore s;
    for (int k = 1; k <= 5; ++k) {
        NewCurveSlot(s, false, true);
        EXPECT_EQ(s.NoOfCurves, k);
        EXPECT_EQ(s.CurveNo, k);
        EXPECT_EQ(s.NewCurve, k);
    }
    NewCurveSlot(s, false, true);
    EXPECT_EQ(s.NoOfCurves, 1);
    EXPECT_EQ(s.NewCurve, 1);
}

TEST(NewCurveSlot, WithoutOverlapEveryCurveReplacesCurveOne) {
    CurveStore s;
    s.NoOfCurves = s.CurveNo = s.NewCurve = 3;
    NewCurveSlot(s, false, false);
    EXPECT_EQ(s.NoOfCurves, 1);
    EXPECT_EQ(s.CurveNo, 1);
    EXPECT_EQ(s.NewCurve, 1);
}

TEST(NewCurveSlot, FittingAlwaysUsesSlotTwo) {
    for (bool overlap : {false, true}) {
        CurveStore s;
        s.NoOfCurves = 4;
        NewCurveSlot(s, true, overlap);
        EXPECT_EQ(s.NoOfCurves, 2);
        EXPECT_EQ(s.CurveNo, 2);
        EXPECT_EQ(s.NewCurve, 2);
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
