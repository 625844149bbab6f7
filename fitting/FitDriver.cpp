#include "fitting/FitDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fitting/FitStatistics.h"
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

// The driver's working data of one fit: the engine's problem and progress, the parameters (x as
// fitted, xinit as gathered for the report) and the workspace, which lives as long as the fit.
struct FitRun {
    FitProblem problem;
    FitProgress progress;
    FitVector x{}, xinit{};
    int iterations = 0;
    std::unique_ptr<MarquardtWorkspace> workspace = std::make_unique<MarquardtWorkspace>();
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
    auto take = [&](FitParam param, int row) {
        const int slot = FitSlot(param, row);
        p[static_cast<size_t>(slot)] = *FitSlotEntry(m, slot);
    };
    for (int r = 1; r <= species; ++r) take(FitParam::C, r);
    for (int r = 1; r <= charges; ++r)
        for (FitParam param : kChargeTransferFitParams) take(param, r);
    for (int r = 1; r <= homogeneous; ++r)
        for (FitParam param : kHomogeneousFitParams) take(param, r);
    return p;
}

// Start values and bounds of the fitted parameters. The start value is pulled into its box for
// the fit; xinit keeps it as gathered for the report.
void SetStartValues(Workbench& wb, FitRun& run) {
    const SlotValues values = GatherSlotValues(wb.Model);
    FitProblem& p = run.problem;
    for (int i = 1; i <= p.N; ++i) {
        const int s = wb.Fit.FitIndex[static_cast<size_t>(i)];
        run.x[i] = values[static_cast<size_t>(s)];
        p.XMin[i] = Val(wb.Input.TextOf("TextCmin", s));
        p.XMax[i] = Val(wb.Input.TextOf("TextCmax", s));
    }
    for (int i = 1; i <= p.N; ++i) {
        p.Active[i] = 1;
        run.xinit[i] = run.x[i];
        run.x[i] = MaxOf(p.XMin[i], MinOf(run.x[i], p.XMax[i]));
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

void PrintReport(Workbench& wb, const FitRun& run, double seconds) {
    ResultWindow& r = wb.Result;
    const FitProgress& g = run.progress;
    r.Print(PrintLine("No.").Zone().Text("Initial value").Zone().Zone().Text("Fitted value"));
    for (int i = 1; i <= run.problem.N; ++i)
        r.Print(PrintLine().Num(i).Zone().Num(run.xinit[i]).Zone().Num(run.x[i]));
    r.Print("");
    PrintLabelled(r, "Least square = ", g.S);
    PrintLabelled(r, "Standard deviation^2 = ", run.problem.VarY);
    PrintLabelled(r, "Convergence flag = ", static_cast<int>(g.Flag));
    PrintLabelled(r, "No. of iteration = ", run.iterations);
    PrintLabelled(r, "No. of obj. fun. = ", static_cast<double>(g.NObjFun));
    PrintLabelled(r, "No. of MARQUARDS = ", g.NMarq);
    PrintLabelled(r, "Computation time (s) =", seconds);
}

// Standard errors, intervals and correlations after the report. A simulation that fails in the
// 2N evaluations of the Jacobian ends only this part: the fit itself stands.
void PrintStatistics(Workbench& wb, FitRun& run) {
    try {
        const FitStatistics st =
            ComputeFitStatistics(run.problem, run.x, run.progress.S, *run.workspace);
        PrintFitStatistics(wb.Result, run.problem.N, st);
    } catch (const RuntimeError& e) {
        wb.Result.Print("No standard errors: " + e.Description());
    }
}

// The fitted values into the captions of their check boxes, as "0.###e-#".
void WriteCaptions(Workbench& wb, const FitRun& run) {
    for (int i = 1; i <= run.problem.N; ++i)
        wb.Input.SetCaption("CheckFitted", wb.Fit.FitIndex[static_cast<size_t>(i)],
                            FormatPattern(run.x[i], "0.###e-#"));
}

// The whole fit; a run-time error leaves through the caller's handler.
void Fit(Workbench& wb, const PointVector& ydata, Clock::time_point start) {
    FitState& fit = wb.Fit;
    FitRun run;
    FitProblem& p = run.problem;
    p.M = wb.Curves.NoOfData;  // the data's length; the simulations may rewrite NoOfData
    p.Y = &ydata;
    fit.NObjFun = 0;
    SelectFittedSlots(wb);
    p.N = fit.NFit;
    SetStartValues(wb, run);
    p.VarY = DataVariance(ydata, p.M);
    p.FitStep0 = Sqrt(p.VarY);
    // The model is built once per fit; an evaluation is the simulation and the copy of its curve.
    p.Model = [&wb](const FitVector& xTrial, int m, PointVector& f) {
        FitModelCurve(wb, xTrial, m, f);
    };
    do {
        MarquardtIterate(p, run.x, run.progress, *run.workspace);
        fit.NObjFun = run.progress.NObjFun;
        ++run.iterations;
        wb.Result.Print(PrintLine("Least square = ").Num(run.progress.S));
        if (run.iterations >= kMaxFitIterations) break;
    } while (run.progress.Flag == FitFlag::GoOn);

    const double seconds = ElapsedSeconds(start);
    PrintReport(wb, run, seconds);
    PrintStatistics(wb, run);
    WriteCaptions(wb, run);
}

}  // namespace

Real* FitSlotEntry(ParameterModel& m, int slot) {
    // The model's table of each fitted quantity, in the order of FitParam.
    static constexpr RealTable ParameterModel::*kTables[] = {
        &ParameterModel::C,       &ParameterModel::ks, &ParameterModel::Alpha,
        &ParameterModel::Eformal, &ParameterModel::kf, &ParameterModel::kb};
    const std::optional<FitSlotKey> key = FitSlotParam(slot);
    if (!key) return nullptr;
    return &(m.*kTables[static_cast<size_t>(key->Param)])[static_cast<size_t>(key->Row)];
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
