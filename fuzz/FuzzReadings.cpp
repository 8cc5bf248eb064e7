// Compares the number readings with the C library (strtod_l / strtol_l on a "C" locale) on
// arbitrary bytes; any difference in value (bit for bit), in the bytes read, or in the integer
// reading aborts. The rounding helpers must never trap whatever the reading gives.
#include <locale.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/compile/FieldReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const locale_t s_c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string text(reinterpret_cast<const char*>(data), size);

    char* end = nullptr;
    const double expected = strtod_l(text.c_str(), &end, s_c);
    std::size_t consumed = 0;
    const double actual = ReadDecimalPrefix(text, consumed);
    if (std::bit_cast<std::uint64_t>(actual) != std::bit_cast<std::uint64_t>(expected) ||
        consumed != static_cast<std::size_t>(end - text.c_str())) {
        std::abort();
    }
    if (ReadInteger(text) != static_cast<int>(strtol_l(text.c_str(), nullptr, 10, s_c))) {
        std::abort();
    }
    // What the decoder does with a reading: round and truncate into 16 bits.
    static volatile int s_sink;
    s_sink = RoundHalfAway(actual * 100.0) ^ TruncateToInt(actual * 3600.0);
    // Field texts cut from the input as a record never reach outside it.
    if (size >= 2) {
        const FieldDefinition field{"", "", static_cast<int>(data[0]) - 8,
                                    static_cast<int>(data[1]) - 8};
        const std::string_view cut = FieldText(text.data(), size, field);
        if (!cut.empty() &&
            (cut.data() < text.data() || cut.data() + cut.size() > text.data() + size ||
             cut.find('\0') != std::string_view::npos)) {
            std::abort();
        }
        s_sink = IsBlank(cut) ? 1 : 0;
    }
    return 0;
}
