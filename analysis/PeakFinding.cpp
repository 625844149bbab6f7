#include "analysis/PeakFinding.h"

#include <algorithm>
#include <cmath>

#include "platform/ResultWindow.h"

namespace zemra {
namespace {

constexpr double kThresholdFraction = 0.02;  // of the plotted Y range
constexpr double kSwitchingTerm = 0.485;     // weight of the current at the switching point
constexpr double kRatioOffset = 0.08;

// The nine-point test at i on the magnitudes a(j) = |Y(j, c)|.
bool IsPeak(const Array2<kRows, 6>& y, int c, int i, double threshold) {
    auto a = [&](int j) { return std::fabs(y(j, c)); };
    return a(i - 2) > a(i - 4) && a(i + 2) > a(i + 4) && a(i - 1) > a(i - 2) &&
           a(i + 1) > a(i + 2) && a(i) >= a(i - 1) && a(i) >= a(i + 1) && a(i) > threshold;
}

void SearchRange(const CurveStore& store, int c, int from, int to, double threshold,
                 PeakTables& peaks) {
    // The test reads four points on either side of i.
    from = std::max(from, 4);
    to = std::min(to, kMaxPoints - 4);
    for (int i = from; i <= to; ++i) {
        if (!IsPeak(store.Y, c, i, threshold)) continue;
        ++peaks.NoOfPeaks;
        if (peaks.NoOfPeaks > kMaxPeaks) continue;  // the tables hold the first 20
        peaks.PeakI(peaks.NoOfPeaks, c) = store.Y(i, c);
        peaks.PeakE(peaks.NoOfPeaks, c) = store.X(i);
    }
}

void PrintPeaks(ResultWindow& out, const PeakTables& peaks, int c) {
    const int listed = std::min(peaks.NoOfPeaks, kMaxPeaks);
    for (int k = 1; k <= listed; ++k) {
        out.Print(PrintLine("Peak ")
                      .Num(k)
                      .Text(":")
                      .Zone()
                      .Text("Ep = ")
                      .Num(peaks.PeakE(k, c))
                      .Zone()
                      .Text("Ip = ")
                      .Num(peaks.PeakI(k, c)));
    }
    // More peaks than the tables hold: list the first 20 and say so.
    if (peaks.NoOfPeaks > kMaxPeaks) out.Print("More than 20 peaks; the rest are not listed");
}

// Area under the curve times the potential step: the sum of magnitudes for a single sweep, the
// forward sum minus the reverse sum for cycles (the switching point in both).
double PeakArea(const CurveStore& store, int c, int first, int last, int npts, bool single,
                double estep) {
    double area = 0;
    if (single) {
        for (int i = first; i <= last; ++i) area += std::fabs(store.Y(i, c));
    } else {
        for (int i = first; i <= npts; ++i) area += store.Y(i, c);
        for (int i = npts; i <= last; ++i) area -= store.Y(i, c);
    }
    return area * estep;
}

}  // namespace

void FindPeak(Workbench& wb, int first, int last, PeakTables& peaks) {
    const CurveStore& store = wb.Curves;
    const bool single = wb.Model.ScanCycles == 0.5;
    // The switching point is kept at or before the last searched point, so that a scan
    // structure left from a longer earlier simulation (an imported curve) reads no point beyond
    // the data. Before any simulation it is 0: the second range then starts at point 4.
    const int npts = std::max(0, std::min(wb.Res.PointsPerSweep, last));
    const double threshold = kThresholdFraction * std::fabs(wb.Plot.Ymax - wb.Plot.Ymin);

    for (int c = 1; c <= store.NoOfCurves; ++c) {
        wb.Result.Print(PrintLine("Curve ").Num(c).Text(":"));
        for (int k = 1; k <= kMaxPeaks; ++k) {
            peaks.PeakE(k, c) = 0;
            peaks.PeakI(k, c) = 0;
        }
        peaks.NoOfPeaks = 0;

        if (single) {
            SearchRange(store, c, first + 4, last - 4, threshold, peaks);
        } else {
            SearchRange(store, c, first + 4, npts - 4, threshold, peaks);
            SearchRange(store, c, npts + 4, last - 4, threshold, peaks);
        }
        PrintPeaks(wb.Result, peaks, c);

        if (wb.Model.Technique == 1 && peaks.NoOfPeaks == 2 && wb.Model.ScanCycles == 1) {
            const double ip1 = peaks.PeakI(1, c);
            const double ratio = std::fabs(peaks.PeakI(2, c) / ip1) +
                                 kSwitchingTerm * std::fabs(store.Y(npts, c) / ip1) + kRatioOffset;
            wb.Result.Print(PrintLine("I pc/I pa = ").Num(ratio));
            wb.Result.Print(PrintLine("Ep2 - Ep1 = ").Num(peaks.PeakE(2, c) - peaks.PeakE(1, c)));
        }

        const double area = PeakArea(store, c, first, last, npts, single, wb.Model.Estep);
        wb.Result.Print(PrintLine("Peak Area = ").Zone().Num(area));
    }
}

}  // namespace zemra
