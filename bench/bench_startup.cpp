// Speed of a zemra-cli start and of Export: building the workbench and its start-up sheet, writing
// 4000 exported lines, and whole zemra-cli processes beside /bin/true (wall time from spawn to
// exit), so that the cost of one command-line run shows against the cost of any process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "commands/Commands.h"
#include "curves/DataFile.h"

extern char** environ;

namespace {

using namespace zemra;

void BM_WorkbenchStartUp(benchmark::State& state) {
    for (auto _ : state) {
        HeadlessHost host;
        RecordingCanvas canvas;
        Workbench wb(host, canvas);
        StartUp(wb);
        benchmark::DoNotOptimize(wb.Model.Estart.Value);
    }
}
BENCHMARK(BM_WorkbenchStartUp)->Unit(benchmark::kMicrosecond);

void BM_ExportText4000(benchmark::State& state) {
    Array1<kRows> X;
    Array2<kRows, 6> Y;
    for (int i = 1; i <= kMaxPoints; ++i) {
        X(i) = 0.5 - 0.00025 * (i - 1);
        Y(i, 1) = 1e-5 / (1 + i * 0.37);
    }
    for (auto _ : state) benchmark::DoNotOptimize(DataFileText(1, kMaxPoints, X, Y, 1));
}
BENCHMARK(BM_ExportText4000)->Unit(benchmark::kMicrosecond);

// Runs a program with arguments, its output to /dev/null, and waits for it.
void RunProcess(benchmark::State& state, const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t io;
    posix_spawn_file_actions_init(&io);
    posix_spawn_file_actions_addopen(&io, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&io, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, args[0], &io, nullptr, args.data(), environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&io);
}

void BM_ProcessTrue(benchmark::State& state) {
    RunProcess(state, {"/bin/true"});
}
BENCHMARK(BM_ProcessTrue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProcessCliOneToken(benchmark::State& state) {
    RunProcess(state, {ZEMRA_CLI_PATH, "About"});
}
BENCHMARK(BM_ProcessCliOneToken)->Unit(benchmark::kMillisecond)->UseRealTime();

// A digital cyclic voltammogram of 4000 points (2 x 2000 steps of 0.5 mV) exported.
void BM_ProcessCliCyclic4000Export(benchmark::State& state) {
    RunProcess(state, {ZEMRA_CLI_PATH, "Estart=0.5", "Eend=-0.4995", "Estep=0.0005",
                       "ComboScan=cycle", "Simulate", "Export=/tmp/zemra-bench-export.csv"});
}
BENCHMARK(BM_ProcessCliCyclic4000Export)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
