#include "analysis/HalfWave.h"

#include <algorithm>
#include <cmath>

#include "platform/ResultWindow.h"

namespace zemra {
namespace {

constexpr double kBandLow = 0.95;  // band around half the wave height
constexpr double kBandHigh = 1.05;

}  // namespace

double ArrayMax(const Array1<kRows>& a, int noOfData) {
    double top = a(1);
    for (int i = 2; i <= noOfData; ++i)
        if (a(i) > top) top = a(i);
    return top;
}

double ArrayMin(const Array1<kRows>& a, int noOfData) {
    double bottom = a(1);
    for (int i = 2; i <= noOfData; ++i)
        if (a(i) < bottom) bottom = a(i);
    return bottom;
}

void FindHalfwaveE(Workbench& wb) {
    const CurveStore& store = wb.Curves;
    const int points = std::clamp(static_cast<int>(store.NoOfData), 0, kMaxPoints);
    Array1<kRows> a;
    for (int c = 1; c <= store.NoOfCurves; ++c) {
        for (int i = 1; i <= points; ++i) a(i) = std::fabs(store.Y(i, c));
        const double top = ArrayMax(a, points);
        const double bottom = ArrayMin(a, points);
        const double id = top - bottom;
        const double half = id / 2;
        const double low = kBandLow * half, high = kBandHigh * half;

        PrintLine line("Peak ");
        line.Num(c).Text(": ").Zone().Text("E1/2 = ");
        int found = 0;
        for (int i = 1; i <= points && found == 0; ++i) {
            const double rise = a(i) - bottom;
            if (low <= rise && rise <= high) found = i;
        }
        // A curve with no point in the band says so, rather than repeating an earlier value.
        if (found > 0)
            line.Num(store.X(found));
        else
            line.Text("not found");
        wb.Result.Print(line.Zone().Text("Id = ").Num(id));
    }
}

}  // namespace zemra
