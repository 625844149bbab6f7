// The fit slots: every quantity of the sheet that can be fitted has a "fitted" check box and two
// bounds per row, numbered 1..19 as the slots of the fit.
#pragma once

#include <array>
#include <optional>

namespace zemra {

inline constexpr int kFitSlots = 19;

// The fitted quantities: concentrations of species rows 1..4, then the charge-transfer quantities
// and the homogeneous rate constants of rows 1..3.
enum class FitParam { C, ks, Alpha, Eformal, kf, kb };

inline constexpr std::array<FitParam, 3> kChargeTransferFitParams = {FitParam::ks, FitParam::Alpha,
                                                                     FitParam::Eformal};
inline constexpr std::array<FitParam, 2> kHomogeneousFitParams = {FitParam::kf, FitParam::kb};

struct FitSlotKey {
    FitParam Param;
    int Row;
};

// The slot of a quantity's row: C rows 1..4 are slots 1..4, ks 5..7, alpha 8..10, E° 11..13,
// kf 14..16, kb 17..19.
int FitSlot(FitParam param, int row);
// The quantity and row of slot 1..19; nothing for any other number.
std::optional<FitSlotKey> FitSlotParam(int slot);

}  // namespace zemra
