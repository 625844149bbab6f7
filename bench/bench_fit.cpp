// Speed of a whole Auto Fit: E0'(1), ks(1) and C(1) fitted to a 1000-point digital cyclic
// voltammogram that the program made itself with known values (E0' = 0.1 V, ks = 0.01 cm/s,
// 1 mM of A) and 2 % noise, from start values 30 mV, a factor of ten and 20 % off. Every model
// evaluation is a whole digital simulation. The counters give the iterations, the model
// evaluations (the objective evaluations the engine counts, plus the Jacobian's two per fitted
// parameter in every iteration, none of which here ends at its first evaluation) and the fitted
// values as the report prints them.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/Commands.h"
#include "commands/FitCommands.h"
#include "commands/SheetLayout.h"
#include "fitting/FitDriver.h"
#include "platform/NumberText.h"

namespace zemra {
namespace {

// The number after the label of a report line, "" when the report has no such line.
double ReportValue(const Workbench& wb, const std::string& label) {
    for (const auto& line : wb.Result.Lines)
        if (line.rfind(label, 0) == 0) return Val(line.substr(label.size()));
    return 0;
}

// The fitted value of the report's parameter line i.
double FittedValue(const Workbench& wb, int i) {
    const std::string start = PrintedNumber(i);
    for (const auto& line : wb.Result.Lines)
        if (line.rfind(start, 0) == 0 && line.size() > 28) return Val(line.substr(28));
    return 0;
}

void BM_AutoFitDigitalCv1000(benchmark::State& state) {
    HeadlessHost host;
    RecordingCanvas canvas;
    Workbench wb(host, canvas);
    StartUp(wb);
    ActivateSheet(wb);
    InputRecord& in = wb.Input;
    // 0.3 V to -0.3 V and back in 499 steps each way: 500 points per sweep, 1000 in all.
    in.SetListIndex("ComboScan", 1);
    in.SetText("Estep", "0.0012024048");
    in.SetText("Noise", "2");
    in.SetText("ks", 1, "0.01");
    mnuSimulate(wb);
    if (wb.Curves.NoOfData != 1000) {
        state.SkipWithError("the data curve does not have 1000 points");
        return;
    }
    in.SetText("Eze", 1, "0.07");
    in.SetText("ks", 1, "0.001");
    in.SetText("C", 1, "8e-4");
    in.SetChecked("CheckFitted", 5, true);
    in.SetChecked("CheckFitted", 11, true);

    // The sheet keeps the start values, so every run fits the same problem.
    for (auto _ : state) {
        mnuAutoFit_Click(wb);
        benchmark::DoNotOptimize(wb.Model.Eformal[1].Value);
    }
    if (!host.Messages.empty()) {
        state.SkipWithError(host.Messages.front().c_str());
        return;
    }
    const double iterations = ReportValue(wb, "No. of iteration = ");
    state.counters["iterations"] = iterations;
    state.counters["objective_evaluations"] = static_cast<double>(wb.Fit.NObjFun);
    state.counters["model_evaluations"] =
        static_cast<double>(wb.Fit.NObjFun) + 2.0 * wb.Fit.NFit * iterations;
    state.counters["flag"] = ReportValue(wb, "Convergence flag = ");
    state.counters["C_A"] = FittedValue(wb, 1);
    state.counters["ks"] = FittedValue(wb, 2);
    state.counters["E0"] = FittedValue(wb, 3);
    state.counters["report_seconds"] = ReportValue(wb, "Computation time (s) =");
}

BENCHMARK(BM_AutoFitDigitalCv1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemra
