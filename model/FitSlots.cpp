#include "model/FitSlots.h"

namespace zemra {
namespace {

// Slot before row 1 of each quantity, in the order of FitParam; C has four rows, the rest three.
constexpr std::array<int, 6> kFirstSlotOffset = {0, 4, 7, 10, 13, 16};

int Rows(FitParam param) {
    return param == FitParam::C ? 4 : 3;
}

}  // namespace

int FitSlot(FitParam param, int row) {
    return kFirstSlotOffset[static_cast<size_t>(param)] + row;
}

std::optional<FitSlotKey> FitSlotParam(int slot) {
    for (int k = 0; k < 6; ++k) {
        const FitParam param = FitParam(k);
        const int row = slot - kFirstSlotOffset[static_cast<size_t>(k)];
        if (row >= 1 && row <= Rows(param)) return FitSlotKey{param, row};
    }
    return std::nullopt;
}

}  // namespace zemra
