// Cost of one number reading of a field text, next to the C library's strtod_l / strtol_l.
// The texts are the kinds a catalogue record holds: right ascension and declination parts,
// magnitudes with blanks, sizes and position angles.
#include <benchmark/benchmark.h>
#include <locale.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/compile/FieldReading.h"

namespace {

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> s_texts = {
        "12",    " 30", "15.50", "-05", "30", " 7.2",  " 1.46", "    ",  "12.34", "  0.5",
        "123.4", " 45", "-1.46", "23",  "59", "59.99", "8.2 ",  "11.05", "+62",   "0.125"};
    return s_texts;
}

void BM_ReadDecimal(benchmark::State& state) {
    const auto& texts = Texts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadDecimal(std::string_view(texts[i])));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ReadDecimal);

void BM_ReadInteger(benchmark::State& state) {
    const auto& texts = Texts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadInteger(std::string_view(texts[i])));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ReadInteger);

// The C library on NUL-terminated copies, as a field text would need one.
void BM_StrtodCLocale(benchmark::State& state) {
    const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const auto& texts = Texts();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string copy(texts[i]);
        benchmark::DoNotOptimize(strtod_l(copy.c_str(), nullptr, c));
        i = (i + 1) % texts.size();
    }
    freelocale(c);
}
BENCHMARK(BM_StrtodCLocale);

}  // namespace

BENCHMARK_MAIN();
