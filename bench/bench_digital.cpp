// Speed of the digital simulation for the cases users run most: a cyclic voltammogram of the
// simple charge transfer and of the four-species catalytic mechanism at 4000 points, DC and
// square-wave voltammograms at 1000 points; and of the refined road on the same cycles at a
// planar electrode and at a microdisc (two-dimensional grid).
#include <benchmark/benchmark.h>

#include "simulation/DigitalSimulation.h"
#include "simulation/RefinedDigital.h"

namespace zemra {
namespace {

struct Case {
    ParameterModel m;
    Array1<kRows> X;
    Results res;
    int noOfData = 0;
};

// The start-up sheet's experiment (25 C, 1 mM of A, D = 1e-5 cm2/s, fast couples at 0.1, -0.1
// and -0.2 V, kf 10, kb 0.01) with the given mechanism, technique and electrode (a microdisc of
// radius 10 um), and a staircase of `pointsPerSweep` points from 0.3 V towards -0.3 V at 10 mV/s,
// reversed when `cyclic`.
void Prepare(Case& c, int mechanism, int technique, int electrode, int pointsPerSweep,
             bool cyclic) {
    ParameterModel& m = c.m;
    const MechanismInfo& info = kMechanisms[mechanism - 1];
    m.Mechanism = mechanism;
    m.NSpecies = info.NSpecies;
    m.NCharge = info.NCharge;
    m.NHomo = info.NHomo;
    m.Technique = technique;
    m.Electrode = electrode;
    m.Temperature = 298.14;
    m.FRT = kFaraday / kGasConstant / 298.14;
    m.Radius = 1e-3;
    m.Area = electrode == 4 ? kPi * 1e-6 : 1.0;
    m.Estart = 0.3;
    m.Estep = 0.6 / (pointsPerSweep - 1);
    m.tdrop = m.Estep / 0.01;  // 10 mV/s
    m.tpulse = 0.05;
    m.Epulse = -0.05;
    for (int s = 1; s <= 4; ++s) {
        m.D[s] = 1e-5;
        m.C[s] = 0;
    }
    m.C[1] = 1e-3;
    if (mechanism == 16) m.C[3] = 1e-3;
    const double e0[] = {0, 0.1, -0.1, -0.2};
    for (int k = 1; k <= 3; ++k) {
        m.ks[k] = 1e4;
        m.Alpha[k] = 0.5;
        m.n[k] = 1;
        m.Eformal[k] = e0[k];
        m.kf[k] = 10;
        m.kb[k] = 0.01;
    }
    const int n = pointsPerSweep;
    for (int i = 1; i <= n; ++i) c.X(i) = m.Estart - (i - 1) * m.Estep;
    if (cyclic)
        for (int i = 1; i <= n; ++i) c.X(n + i) = c.X(n - i + 1);
    c.noOfData = cyclic ? 2 * n : n;
    c.res.PointsPerSweep = n;
    c.res.TotalColumn = info.NCharge + 1;
}

using Engine = DigitalOutcome (*)(const ParameterModel&, double, const Array1<kRows>&, int,
                                  Results&);

// Times one engine on a prepared case, Ru = 0.
void Time(benchmark::State& state, Engine engine, Case& c) {
    DigitalOutcome outcome;
    for (auto _ : state) {
        outcome = engine(c.m, 0, c.X, c.noOfData, c.res);
        benchmark::DoNotOptimize(c.res.Icomp(c.noOfData, 1));
    }
    if (!outcome.Error.empty()) state.SkipWithError(outcome.Error.c_str());
    state.SetItemsProcessed(state.iterations() * c.noOfData);
}

void Run(benchmark::State& state, int mechanism, int technique, int pointsPerSweep, bool cyclic) {
    Case c;
    Prepare(c, mechanism, technique, 1, pointsPerSweep, cyclic);
    Time(state, DigitalSimulation, c);
    state.counters["boxes"] = BoxCount(GridLambdaFor(c.m), c.noOfData);
}

void BM_Mechanism1Cyclic4000(benchmark::State& s) {
    Run(s, 1, 1, 2000, true);
}
void BM_Mechanism16Cyclic4000(benchmark::State& s) {
    Run(s, 16, 1, 2000, true);
}
void BM_DcVoltammetry1000(benchmark::State& s) {
    Run(s, 1, 2, 1000, false);
}
void BM_SquareWave1000(benchmark::State& s) {
    Run(s, 1, 5, 1000, false);
}

BENCHMARK(BM_Mechanism1Cyclic4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mechanism16Cyclic4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DcVoltammetry1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareWave1000)->Unit(benchmark::kMillisecond);

void RunRefined(benchmark::State& state, int mechanism, int electrode) {
    Case c;
    Prepare(c, mechanism, 1, electrode, 2000, true);
    Time(state, RefinedDigitalSimulation, c);
}

void BM_RefinedMechanism1Cyclic4000(benchmark::State& s) {
    RunRefined(s, 1, 1);
}
void BM_RefinedMechanism16Cyclic4000(benchmark::State& s) {
    RunRefined(s, 16, 1);
}
void BM_RefinedMicrodiscCyclic4000(benchmark::State& s) {
    RunRefined(s, 1, 4);
}

BENCHMARK(BM_RefinedMechanism1Cyclic4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefinedMechanism16Cyclic4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefinedMicrodiscCyclic4000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemra
