// Peak finding: locates the peaks of every stored curve by a nine-point shape test on the
// magnitude of the curve, lists them in the result window and adds the cyclic-voltammetry
// diagnostics (peak current ratio, peak separation) and the peak area.
#pragma once

#include "model/ParameterModel.h"
#include "state/Workbench.h"

namespace zemra {

inline constexpr int kMaxPeaks = 20;

// PeakE(k, c), PeakI(k, c): potential (V) and signed current of peak k = 1..20 of curve c.
struct PeakTables {
    Array2<kMaxPeaks + 1, 6> PeakE;
    Array2<kMaxPeaks + 1, 6> PeakI;
    int NoOfPeaks = 0;  // peaks found in the curve searched last (also those beyond 20)
};

// Searches points first..last of every curve c = 1..NoOfCurves: one range for a single sweep,
// the forward sweep and the rest for cycles (PointsPerSweep points per sweep). A point is a peak
// when the magnitude rises over the four points before it and falls over the four after it, and
// exceeds 2 % of the last plot's Y range. Prints a "Curve" block per curve.
void FindPeak(Workbench& wb, int first, int last, PeakTables& peaks);

}  // namespace zemra
