#include "fitting/FitDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "model/Collection.h"
#include "numerics/LinearAlgebra.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"
#include "simulation/SignalProcessing.h"
#include "simulation/SimulationDriver.h"

namespace zemra {
namespace {

using Clock = std::chrono::steady_clock;

// The slot values of one fit, indexed by slot 1..19 (element 0 unused).
using SlotValues = std::array<double, kFitSlots + 1>;

// The driver's working data of one fit, vectors indexed from 1.
struct FitProblem {
    int n = 0;  // NFit
    int m = 0;  // points of the data curve
    FitVector x{}, xinit{}, xmin{}, xmax{};
    ActiveFlags active{};
    PointVector f;
    double s = 0, varY = 0;
    int state = 0, flag = 0, nMarq = 0, iterations = 0;
};

// Seconds since `start` as the single-precision number the report prints: the float rounded to
// its seven significant decimal digits.
double ElapsedSeconds(Clock::time_point start) {
    const float seconds = std::chrono::duration<float>(Clock::now() - start).count();
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(seconds));
    return std::strtod(text, nullptr);
}

// The slots whose check box is checked and shown, in increasing order, into FitIndex.
void SelectFittedSlots(Workbench& wb) {
    FitState& fit = wb.Fit;
    fit.NFit = 0;
    for (int s = 1; s <= kFitSlots; ++s) {
        const Control& box = wb.Input.Get("CheckFitted", s);
        if (box.Checked && box.Shown) fit.FitIndex[static_cast<size_t>(++fit.NFit)] = s;
    }
}

// The value of every slot whose row the mechanism uses; slots of unused rows stay 0.
SlotValues GatherSlotValues(ParameterModel& m) {
    SlotValues p{};
    const int species = std::min<int>(m.NSpecies, 4);
    const int charges = std::min<int>(m.NCharge, 3);
    const int homogeneous = std::min<int>(m.NHomo, 3);
    auto take = [&](int slot) { p[static_cast<size_t>(slot)] = *FitSlotEntry(m, slot); };
    for (int r = 1; r <= species; ++r) take(r);
    for (int r = 1; r <= charges; ++r)
        for (int offset : {4, 7, 10}) take(r + offset);
    for (int r = 1; r <= homogeneous; ++r)
        for (int offset : {13, 16}) take(r + offset);
    return p;
}

// Start values and bounds of the fitted parameters. The start value is pulled into its box for
// the fit; xinit keeps it as gathered for the report.
void SetStartValues(Workbench& wb, FitProblem& p) {
    const SlotValues values = GatherSlotValues(wb.Model);
    for (int i = 1; i <= p.n; ++i) {
        const int s = wb.Fit.FitIndex[static_cast<size_t>(i)];
        p.x[i] = values[static_cast<size_t>(s)];
        p.xmin[i] = Val(wb.Input.TextOf("TextCmin", s));
        p.xmax[i] = Val(wb.Input.TextOf("TextCmax", s));
    }
    for (int i = 1; i <= p.n; ++i) {
        p.active[i] = 1;
        p.xinit[i] = p.x[i];
        p.x[i] = MaxOf(p.xmin[i], MinOf(p.x[i], p.xmax[i]));
    }
}

// Variance of the data about its mean, sum (y - mean)^2 / M; raises for an empty curve.
double DataVariance(const PointVector& y, int m) {
    double sum = 0;
    for (int k = 1; k <= m; ++k) sum += y(k);
    const double mean = Div(sum, m);
    double squares = 0;
    for (int k = 1; k <= m; ++k) squares += (y(k) - mean) * (y(k) - mean);
    return Div(squares, m);
}

// A report line whose label and number stand in separate print zones.
void PrintLabelled(ResultWindow& r, const char* label, double value) {
    r.Print(PrintLine(label).Zone().Num(value));
}

void PrintReport(Workbench& wb, const FitProblem& p, double seconds) {
    ResultWindow& r = wb.Result;
    r.Print(PrintLine("No.").Zone().Text("Initial value").Zone().Zone().Text("Fitted value"));
    for (int i = 1; i <= p.n; ++i)
        r.Print(PrintLine().Num(i).Zone().Num(p.xinit[i]).Zone().Num(p.x[i]));
    r.Print("");
    PrintLabelled(r, "Least square = ", p.s);
    PrintLabelled(r, "Standard deviation^2 = ", p.varY);
    PrintLabelled(r, "Convergence flag = ", p.flag);
    PrintLabelled(r, "No. of iteration = ", p.iterations);
    PrintLabelled(r, "No. of obj. fun. = ", static_cast<double>(wb.Fit.NObjFun));
    PrintLabelled(r, "No. of MARQUARDS = ", p.nMarq);
    PrintLabelled(r, "Computation time (s) =", seconds);
}

// The fitted values into the captions of their check boxes, as "0.###e-#".
void WriteCaptions(Workbench& wb, const FitProblem& p) {
    for (int i = 1; i <= p.n; ++i)
        wb.Input.SetCaption("CheckFitted", wb.Fit.FitIndex[static_cast<size_t>(i)],
                            FormatPattern(p.x[i], "0.###e-#"));
}

// The whole fit; a run-time error leaves through the caller's handler.
void Fit(Workbench& wb, const PointVector& ydata, Clock::time_point start) {
    FitState& fit = wb.Fit;
    FitProblem p;
    p.m = wb.Curves.NoOfData;  // the data's length; the simulations may rewrite NoOfData
    fit.NObjFun = 0;
    SelectFittedSlots(wb);
    p.n = fit.NFit;
    p.flag = p.n;
    SetStartValues(wb, p);
    p.varY = DataVariance(ydata, p.m);
    fit.FitStep0 = Sqrt(p.varY);

    // The model is built once per fit; an evaluation is the simulation and the copy of its curve.
    const FitModel model = [&wb](const FitVector& xTrial, int m, PointVector& f) {
        FitModelCurve(wb, xTrial, m, f);
    };
    do {
        MarquardtIterate(p.n, p.x, p.m, p.f, ydata, p.s, p.state, p.flag, p.nMarq, p.active, p.xmin,
                         p.xmax, p.varY, fit, model);
        ++p.iterations;
        wb.Result.Print(PrintLine("Least square = ").Num(p.s));
        if (p.iterations >= kMaxFitIterations) break;
    } while (p.flag > 0);

    const double seconds = ElapsedSeconds(start);
    PrintReport(wb, p, seconds);
    WriteCaptions(wb, p);
}

}  // namespace

Real* FitSlotEntry(ParameterModel& m, int slot) {
    if (slot >= 1 && slot <= 4) return &m.C[static_cast<size_t>(slot)];
    if (slot >= 5 && slot <= 7) return &m.ks[static_cast<size_t>(slot - 4)];
    if (slot >= 8 && slot <= 10) return &m.Alpha[static_cast<size_t>(slot - 7)];
    if (slot >= 11 && slot <= 13) return &m.Eformal[static_cast<size_t>(slot - 10)];
    if (slot >= 14 && slot <= 16) return &m.kf[static_cast<size_t>(slot - 13)];
    if (slot >= 17 && slot <= 19) return &m.kb[static_cast<size_t>(slot - 16)];
    return nullptr;
}

void UseCurrentCurveAsData(Workbench& wb) {
    if (wb.Plot.Overlap) return;
    CurveStore& cs = wb.Curves;
    for (int i = 1; i <= cs.NoOfData; ++i) cs.Y(i, 1) = cs.Y(i, cs.CurveNo);
    cs.Measured[1] = cs.Measured[static_cast<size_t>(cs.CurveNo)];
    cs.NoOfCurves = cs.NewCurve = cs.CurveNo = 1;
}

void FitModelCurve(Workbench& wb, const FitVector& xTrial, int m, PointVector& f) {
    for (int i = 1; i <= wb.Fit.NFit; ++i) {
        Real* entry = FitSlotEntry(wb.Model, wb.Fit.FitIndex[static_cast<size_t>(i)]);
        if (entry) *entry = xTrial[static_cast<size_t>(i)];
    }
    const SimulationOutcome outcome = SimulateCurve(wb);
    if (outcome.SingularMatrix) wb.Fit.SingularMatrix = true;
    // A model that cannot be evaluated ends the fit: comparing the data with a stale or partial
    // curve would only steer the fit astray, and one failure is reported once.
    if (!outcome.Refused.empty()) throw FitStopped(outcome.Refused);
    if (!outcome.Error.empty()) Raise(outcome.Error);
    if (!outcome.DigitalError.empty()) Raise(outcome.DigitalError);
    // The trial values must survive the output step, so the sheet is not collected again.
    const std::string refused = WriteOutputQuantity(wb);
    if (!refused.empty()) throw FitStopped(refused);
    const CurveStore& cs = wb.Curves;
    for (int k = 1; k <= m; ++k) f(k) = cs.Y(k, cs.CurveNo);
}

FitOutcome RunFit(Workbench& wb, const PointVector& ydata) {
    const Clock::time_point start = Clock::now();
    FitOutcome outcome;
    wb.Fit.SingularMatrix = false;
    try {
        Fit(wb, ydata, start);
        outcome.Reported = true;
    } catch (const FitStopped& e) {
        outcome.Message = e.what();
    } catch (const RuntimeError& e) {
        outcome.Message = kFitErrorPrefix + e.Description() + kTryAgainSuffix;
    }
    outcome.SingularMatrix = wb.Fit.SingularMatrix;
    return outcome;
}

}  // namespace zemra
