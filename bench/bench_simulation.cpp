// Speed of the simulation road: the semi-derivative of a long curve, the whole Simulate command
// for the start-up sheet on both roads, and an analytical cyclic run of 4000 points.
#include <benchmark/benchmark.h>

#include <cmath>

#include "commands/Commands.h"
#include "numerics/Calculus.h"

namespace {

using namespace zemra;

void BM_SemiDifferentiate4000(benchmark::State& state) {
    Array1<kRows> X;
    Array2<kRows, 8> V;
    for (int i = 1; i <= kMaxPoints; ++i) X(i) = 0.3 - 0.00015 * (i - 1);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= kMaxPoints; ++i) V(i, 1) = 1 / (1 + std::exp(40 * X(i)));
        state.ResumeTiming();
        SemiDifferentiate(X, ColumnOf(V, 1), kMaxPoints);
        benchmark::DoNotOptimize(V(2000, 1));
    }
}
BENCHMARK(BM_SemiDifferentiate4000)->Unit(benchmark::kMillisecond);

struct Desk {
    HeadlessHost host;
    RecordingCanvas canvas;
    Workbench wb{host, canvas};
    explicit Desk(bool digital) {
        StartUp(wb);
        wb.Input.SetChecked("CheckDigital", digital);
    }
};

void BM_SimulateStartUpSheet(benchmark::State& state) {
    Desk d(state.range(0) != 0);
    for (auto _ : state) {
        mnuSimulate(d.wb);
        benchmark::DoNotOptimize(d.wb.Curves.Y(60, 1));
    }
    if (!d.host.Messages.empty()) state.SkipWithError(d.host.Messages.front().c_str());
}
BENCHMARK(BM_SimulateStartUpSheet)
    ->ArgName("digital")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_SimulateAnalyticalCycle4000(benchmark::State& state) {
    Desk d(false);
    d.wb.Input.SetListIndex("ComboScan", 1);  // cycle: 2 x 2000 points
    d.wb.Input.SetText("Estep", "0.0003");    // 0.6 V / 0.3 mV = 2000 steps + 1 per sweep
    d.wb.Input.SetText("Eend", "-0.2997");
    for (auto _ : state) {
        mnuSimulate(d.wb);
        benchmark::DoNotOptimize(d.wb.Curves.Y(1000, 1));
    }
    if (d.wb.Curves.NoOfData != 4000 || !d.host.Messages.empty())
        state.SkipWithError("the run did not give 4000 points");
}
BENCHMARK(BM_SimulateAnalyticalCycle4000)->Unit(benchmark::kMillisecond);

}  // namespace
