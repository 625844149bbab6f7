#include "simulation/SignalProcessing.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "model/Collection.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace zemra {

void AddChargingCurrent(const ParameterModel& m, const Array1<kRows>& X, int noOfData,
                        Results& res) {
    if (!(m.Cdl > 0)) return;
    const double Ic = Finite(m.Cdl * m.Area * m.ScanRate);  // capacitive current, A
    const int N = res.PointsPerSweep;
    const int T = res.TotalColumn;
    const double sign = res.ScanSign;
    for (int i = 1; i <= noOfData; ++i) {
        double& total = res.Icomp(i, T);
        if (m.ScanCycles != 0.5) {
            // Each sweep charges the double layer against its own direction of scan.
            double s = sign;
            if (i > N) s = -sign;
            if (i > 2 * N) s = sign;
            if (i > 3 * N) s = -sign;
            total -= s * Ic;
        } else if (m.Technique != 1) {
            total += (X(1) - X(i)) * Ic;
        } else {
            total -= sign * Ic;
        }
    }
}

double FindSignalRange(const Results& res, int noOfData, PlotSettings& plot) {
    plot.Ymax = 0;
    plot.Ymin = 0;
    for (int i = 1; i <= noOfData; ++i) {
        const double y = res.Icomp(i, res.TotalColumn);
        if (y > plot.Ymax) plot.Ymax = y;
        if (y < plot.Ymin) plot.Ymin = y;
    }
    return std::fabs(plot.Ymin) > std::fabs(plot.Ymax) ? plot.Ymin : plot.Ymax;
}

void AddNoise(const ParameterModel& m, int noOfData, double dominantExtreme, bool fitting,
              Results& res) {
    if (!(m.Noise > 0) || fitting) return;
    // Linear congruential generator on a real seed; two draws per point form a Box-Muller pair,
    // the first giving the radius sqrt(2 ln(M/s)), the second the angle.
    constexpr double M = 199017, kMultiplier = 24298, kIncrement = 99991;
    double s = 2.0 * noOfData;
    long long k = 2LL * noOfData;
    for (int i = 1; i <= noOfData; ++i) {
        double g = 0;
        for (;;) {
            s = s * kMultiplier + kIncrement;
            s = s + 1 - M * std::floor(s / M);
            --k;
            if (k % 2 == 0) break;
            g = Sqrt(2 * Log(M / s));
        }
        g *= std::cos(6.283185308 * s / M);
        // Noise (%) x g x Xm x 0.0025, multiplied in this order.
        res.Icomp(i, res.TotalColumn) += m.Noise * g * dominantExtreme * 0.0025;
    }
}

namespace {

// Resistance (g / kappa) or conductance (g * kappa) of the solution layer between the electrode
// and the counter plane, kappa = electrolyte conductivity plus the species' contributions at the
// surface. Computed whole before anything is stored. The distance to the counter plane must be a
// non-zero number: otherwise there is no defined quantity, and it is refused with a message.
std::string SolutionQuantity(Workbench& wb, bool resistance) {
    const Control& dis = wb.Input.Get("TextDis");
    const std::optional<double> d = StrictNumber(dis.Text);
    if (!d || *d == 0) return "Input Error: " + dis.Label + " must be a non-zero number";
    const ParameterModel& m = wb.Model;
    CurveStore& cs = wb.Curves;
    std::vector<double> out(kRows, 0.0);
    try {
        const double g = resistance ? Div(*d, m.Area) : Div(m.Area, *d);  // cell constant
        const double kappa0 = m.ElectrolyteC * m.ElectrolyteCond;
        for (int i = cs.FirstPoint; i <= cs.LastPoint; ++i) {
            double sum = 0;
            for (int s = 1; s <= m.NSpecies; ++s) sum += wb.Res.Csurf(i, s) * m.Cond[s];
            out[i] = resistance ? Div(g, kappa0 + sum) : Finite(g * (kappa0 + sum));
        }
    } catch (const RuntimeError& e) {
        // A zero area or a solution without conductivity has no finite resistance; the curve
        // is not replaced by infinities.
        return "Output Error: " + e.Description();
    }
    cs.NoOfCurves = cs.NewCurve;
    for (int i = cs.FirstPoint; i <= cs.LastPoint; ++i) cs.Y(i, cs.CurveNo) = out[i];
    return "";
}

}  // namespace

std::string ComputeOutputQuantity(Workbench& wb) {
    try {
        CollectParameters(wb.Model, wb.Input);
    } catch (const InputError& e) {
        return e.what();
    }
    return WriteOutputQuantity(wb);
}

std::string WriteOutputQuantity(Workbench& wb) {
    const std::optional<YQuantity> quantity = YQuantityOf(wb.Input.ListText("ComboY"));
    CurveStore& cs = wb.Curves;
    const bool speciesCurves = quantity == YQuantity::SurfaceConcentration;
    // An imported curve is the user's data, not a view of the last simulation: re-deriving the
    // shown quantity (the plot options' OK after an import) leaves it as it is.
    auto measured = [&](int c) {
        return c >= 1 && c <= kMaxCurves && cs.Measured[static_cast<size_t>(c)];
    };
    if (speciesCurves && !wb.Fit.Fitting) {
        for (int s = 1; s <= wb.Model.NSpecies; ++s)
            if (measured(s)) return "";
    } else if (measured(cs.CurveNo)) {
        return "";
    }
    if (quantity == YQuantity::Current || (speciesCurves && wb.Fit.Fitting)) {
        cs.NoOfCurves = cs.NewCurve;
        for (int i = cs.FirstPoint; i <= cs.LastPoint; ++i)
            cs.Y(i, cs.CurveNo) = wb.Res.Icomp(i, wb.Res.TotalColumn);
    } else if (quantity == YQuantity::Resistance) {
        return SolutionQuantity(wb, true);
    } else if (quantity == YQuantity::Conductance) {
        return SolutionQuantity(wb, false);
    } else if (speciesCurves) {
        const int species = wb.Model.NSpecies;
        cs.NoOfCurves = species;
        for (int s = 1; s <= species; ++s)
            for (int i = cs.FirstPoint; i <= cs.LastPoint; ++i) cs.Y(i, s) = wb.Res.Csurf(i, s);
    }
    return "";
}

}  // namespace zemra
