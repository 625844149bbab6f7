// Cycles of a measured voltammogram and their resampling onto the sheet's potential program: a
// forward sweep from E start to the vertex E end on an even step, and for a cycle the reverse
// sweep back, the vertex listed twice, exactly as the simulation builds its staircase. Pure
// functions over arrays; nothing here touches the curve store.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zemra {

// Points Begin..End (inclusive) of a curve that run one way; Direction +1 or -1 (0 for a
// curve whose potential never moves).
struct Sweep {
    size_t Begin = 0, End = 0;
    int Direction = 0;
};

// The sweeps between the potential reversals. A reversal counts once the potential has come
// back from its extreme by more than the noise band (three median steps or 1 % of the range),
// so that the jitter of a measured potential is no reversal; a vertex ends one sweep and
// begins the next.
std::vector<Sweep> FindSweeps(const std::vector<double>& E);

// The median of the non-zero potential steps |E(k+1) - E(k)|; 0 when there is none.
double MedianStep(const std::vector<double>& E);

// The cycles of a curve as point ranges [first, last], in file order. The file's marker (one
// value per point) is used when it agrees with the reversals: at least two groups of equal
// values and no more groups than sweeps, or one group over at most three sweeps. Otherwise, or
// without a marker, the sweeps are paired from the first.
struct Cycles {
    std::vector<std::pair<size_t, size_t>> Ranges;
    bool FromMarker = false;
};
Cycles FindCycles(const std::vector<double>& E, const std::vector<int>& marker);

// A curve on the sheet's potential program. ScanMode is the index of the sheet's scan mode
// ("single" 0, "cycle" 1, "2 cycles" 2) or -1 when the points follow no mode of the sheet.
struct Resampled {
    double Estart = 0, Eend = 0, Estep = 0;
    int ScanMode = -1;
    std::vector<double> X, Y;
};

// True when the points hold a whole cycle: a single sweep on its own, or a forward and a
// reverse sweep that share at least 90 % of their potential range.
bool IsCompleteCycle(const std::vector<double>& E);

// One cycle (or one sweep) resampled by linear interpolation within each sweep onto an even
// step: the median step rounded to three significant digits, widened until the program fits in
// maxPoints. A cycle that starts between its vertices is turned to start at its first vertex.
// E start is the end of the shorter of the two sweeps, E end the last step inside the vertex.
// Raises RuntimeError for fewer than two points or a span of less than one step.
Resampled ResampleCycle(const std::vector<double>& E, const std::vector<double>& I, int maxPoints);

// Every sweep of the curve resampled onto one lattice of potentials from its first point, in
// file order, each vertex listed twice; E end is the first vertex.
Resampled ResampleAll(const std::vector<double>& E, const std::vector<double>& I, int maxPoints);

// The scan rate (V/s) that a time column gives: the potential travelled over the time taken,
// over the points given; 0 without times.
double ScanRateFromTime(const std::vector<double>& E, const std::vector<double>& T);

// x rounded to three significant digits, upwards when `up` (so a step is never narrowed).
double ThreeDigits(double x, bool up = false);

}  // namespace zemra
