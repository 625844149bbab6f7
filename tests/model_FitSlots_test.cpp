#include <gtest/gtest.h>

#include <set>

#include "model/FitSlots.h"

namespace zemra {

// Every quantity's rows map to distinct slots 1..19 and back.
TEST(FitSlots, QuantityRowsAndSlotsAreOneToOne) {
    const std::pair<FitParam, int> rows[] = {{FitParam::C, 4},     {FitParam::ks, 3},
                                             {FitParam::Alpha, 3}, {FitParam::Eformal, 3},
                                             {FitParam::kf, 3},    {FitParam::kb, 3}};
    std::set<int> slots;
    for (auto [param, n] : rows)
        for (int r = 1; r <= n; ++r) {
            const int slot = FitSlot(param, r);
            const auto key = FitSlotParam(slot);
            ASSERT_TRUE(key.has_value()) << slot;
            EXPECT_EQ(key->Param, param);
            EXPECT_EQ(key->Row, r);
            slots.insert(slot);
        }
    EXPECT_EQ(slots,
              (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    for (int bad : {0, -1, 20}) EXPECT_FALSE(FitSlotParam(bad).has_value()) << bad;
    // The sheet's first E° slot is the one the fit report and the parameter file call 11.
    EXPECT_EQ(FitSlot(FitParam::Eformal, 1), 11);
}

}  // namespace zemra
