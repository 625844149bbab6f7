// The curve store: up to five curves of equal length over one shared potential axis.
#pragma once

#include <array>

#include "model/ParameterModel.h"

namespace zemra {

inline constexpr int kMaxCurves = 5;

struct CurveStore {
    Array1<kRows> X;     // potential of point i (V), i = 1..NoOfData; shared by every curve
    Array2<kRows, 6> Y;  // Y(i, c): point i of curve c, curves in columns 1..5
    Whole NoOfData;      // points in every curve; unset until the first simulation or import
    int FirstPoint = 0;  // range that the plot draws and the export writes
    int LastPoint = 0;
    int NoOfCurves = 0;  // curves held; the plot draws 1..NoOfCurves
    int CurveNo = 0;     // the current curve
    int NewCurve = 0;    // column of the next simulated or imported curve
    int NoOfSpeciesPlus1 = 0;
    std::array<int, 6> LineStyle{};  // per curve 1..5: 1 dots, 2 squares, 3 line
    // Per curve 1..5: the slot holds imported (measured) data rather than the last simulation,
    // so re-deriving the shown quantity from the simulation's results must not overwrite it.
    std::array<bool, 6> Measured{};
};

// Chooses the slot of the next curve: slot 2 while fitting (the measured curve stays in 1), the
// next free slot while the overlap box is checked, otherwise slot 1 alone.
void NewCurveSlot(CurveStore& store, bool fitting, bool overlapChecked);

}  // namespace zemra
