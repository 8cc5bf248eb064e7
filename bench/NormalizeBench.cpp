// Throughput of the data file normaliser on a generated file of lines of varying length
// (the whole-file case against cp is bench/run-normalize-bench.sh).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "core/import/DataNormalizer.h"

namespace {

std::string MakeInput(std::size_t megabytes) {
    const std::string path = "/tmp/catforge-normalize-bench-" + std::to_string(::getpid()) + ".dat";
    std::mt19937 random(1);
    std::uniform_int_distribution<int> length(40, 140);
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    while (written < megabytes << 20) {
        const std::string line(static_cast<std::size_t>(length(random)), 'x');
        out << line << '\n';
        written += line.size() + 1;
    }
    return path;
}

void BM_Normalize(benchmark::State& state) {
    const std::string input = MakeInput(static_cast<std::size_t>(state.range(0)));
    const std::string output = input + ".out";
    std::int64_t bytes = 0;
    for (auto _ : state) {
        CDataNormalizer normalizer;
        NormalizeReport report;
        if (!normalizer.Normalize(input, output, report)) {
            state.SkipWithError(normalizer.Error().c_str());
            break;
        }
        bytes += static_cast<std::int64_t>(state.range(0)) << 20;
    }
    state.SetBytesProcessed(bytes);
    std::remove(input.c_str());
    std::remove(output.c_str());
}
BENCHMARK(BM_Normalize)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
