// Parses arbitrary bytes as a symbol instruction text and runs the program: neither may
// crash, the program has at most one word a token, and every drawing request is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/symbols/SymbolLanguage.h"

namespace {

class CCheckingSurface : public ISymbolSurface {
public:
    void MoveTo(double x, double y) override { Check(x), Check(y); }
    void LineTo(double x, double y) override { Check(x), Check(y); }
    void Circle(double cx, double cy, double radius) override {
        Check(cx), Check(cy), Check(radius);
    }

private:
    static void Check(double value) {
        if (!std::isfinite(value))
            std::abort();
    }
};

// Maximal runs without "," or ";" before the first NUL byte.
std::size_t CountTokens(const std::string& text) {
    std::size_t count = 0;
    bool inToken = false;
    for (const char c : text) {
        if (c == '\0')
            break;
        const bool separator = c == ',' || c == ';';
        if (!separator && !inToken)
            ++count;
        inToken = !separator;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SymbolProgram program(3, 7);
    ParseSymbolInstructions(text, program);
    if (program.size() > CountTokens(text))
        std::abort();
    CCheckingSurface surface;
    RunSymbolProgram(program, surface);
    return 0;
}
