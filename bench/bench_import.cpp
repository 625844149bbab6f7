// Speed of the data-file import on files it must refuse: a 50 MB file without a single
// separator ends at its first overlong field, not after reading the whole file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "curves/DataFile.h"
#include "platform/RuntimeError.h"

namespace {

using namespace zemra;

void BM_ImportFileWithoutSeparators(benchmark::State& state) {
    const std::string path = "bench-import-50mb.csv";
    std::ofstream(path, std::ios::binary) << std::string(50 << 20, '7');
    for (auto _ : state) {
        try {
            ReadDataFile(path);
        } catch (const RuntimeError& e) {
            benchmark::DoNotOptimize(e.Description());
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ImportFileWithoutSeparators)->Unit(benchmark::kMicrosecond);

}  // namespace
