// Speed of the refined closed-form road: a planar cyclic voltammogram of 4000 points from the
// convolution integral equation (2000 points per sweep, 0.3 mV steps, one time step per point),
// and the whole-history square wave of 1000 points.
#include <benchmark/benchmark.h>

#include <cmath>

#include "simulation/RefinedClosedForm.h"

namespace zemra {
namespace {

// A fast couple at 0 V, 1 mM, D = 1e-5 cm2/s, 25 C; 0.3 V to -0.3 V and back.
void Staircase(Array1<kRows>& X, int perSweep) {
    const double step = 0.6 / (perSweep - 1);
    for (int i = 1; i <= perSweep; ++i) X(i) = 0.3 - (i - 1) * step;
    for (int i = 1; i <= perSweep; ++i) X(perSweep + i) = X(perSweep - i + 1);
}

Couple FastCouple() {
    Couple c;
    c.ks = 1e4;
    c.Alpha = 0.5;
    c.n = 1;
    c.Cox = 1e-3;
    c.Dox = c.Dred = std::sqrt(1e-5);
    return c;
}

const ElectrodeTerms kTerms{96484.6 / 8.31441 / 298.15, 1e-3, 0.01, 100};

void BM_ConvolutionSweep4000(benchmark::State& state) {
    Array1<kRows> X;
    Staircase(X, 2000);
    for (auto _ : state) {
        auto I = ConvolutionSweep(kTerms, FastCouple(), X, 4000, 0.1);
        benchmark::DoNotOptimize(I.data());
    }
}
BENCHMARK(BM_ConvolutionSweep4000)->Unit(benchmark::kMillisecond);

void BM_SquareWave1000(benchmark::State& state) {
    Array1<kRows> X;
    for (int i = 1; i <= 1000; ++i) X(i) = 0.3 - (i - 1) * 0.0006;
    const PulseProgram p{0.3, 0.025, 0.05, 0};
    for (auto _ : state) {
        auto I = SquareWaveSuperposed(kTerms, FastCouple(), false, p, X, 1000);
        benchmark::DoNotOptimize(I.data());
    }
}
BENCHMARK(BM_SquareWave1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemra
