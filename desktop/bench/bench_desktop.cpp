// Speed of the plot window, painted offscreen as the window paints itself: a whole Simulate of a
// 4000-point digital cyclic voltammogram through to the painted picture (one frame is 16 ms), and
// the repaint of five 4000-point curves (a resize or an expose).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "commands/Commands.h"
#include "desktop/PlotPainter.h"

namespace zemra {
namespace {

const QSize kWindow(800, 600);

struct Desk {
    HeadlessHost host;
    PictureCanvas picture;
    Workbench wb{host, picture};
    // The start-up sheet as a cyclic scan of 2 x 2000 points from 0.3 V to -0.3 V and back.
    Desk() {
        StartUp(wb);
        wb.Input.SetListIndex("ComboScan", 1);
        wb.Input.SetText("Estep", "0.00030015");
    }
};

QImage Paint(const PictureCanvas& picture) {
    return RenderPicture(picture, kWindow, 1, PlotColours::Screen(Qt::white, Qt::black));
}

void BM_SimulateToPaintedPlot(benchmark::State& state) {
    Desk d;
    for (auto _ : state) {
        mnuSimulate(d.wb);
        benchmark::DoNotOptimize(Paint(d.picture));
    }
    if (d.wb.Curves.NoOfData != 4000 || !d.host.Messages.empty())
        state.SkipWithError("not a 4000-point voltammogram");
}
BENCHMARK(BM_SimulateToPaintedPlot)->Unit(benchmark::kMillisecond);

void BM_RepaintFiveCurves(benchmark::State& state) {
    Desk d;
    d.wb.Input.SetChecked("overlap", true);
    for (const char* c : {"1e-3", "2e-3", "3e-3", "4e-3", "5e-3"}) {
        d.wb.Input.SetText("C", 1, c);
        mnuSimulate(d.wb);
    }
    if (d.wb.Curves.NoOfCurves != 5 || d.wb.Curves.NoOfData != 4000)
        state.SkipWithError("not five 4000-point curves");
    for (auto _ : state) benchmark::DoNotOptimize(Paint(d.picture));
}
BENCHMARK(BM_RepaintFiveCurves)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemra

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
