// The symbol language: tokens to words, and the machine that runs the words.
#include "core/symbols/SymbolLanguage.h"

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/compile/FieldReading.h"
#include "core/symbols/SymbolTables.h"

namespace {

// Opcodes, in the order of g_apszSymbolKeywords.
constexpr int kMoveBy = kOpcodeBase + 0;  // MR
constexpr int kMoveTo = kOpcodeBase + 1;  // MA
constexpr int kDrawBy = kOpcodeBase + 2;  // DR
constexpr int kDrawTo = kOpcodeBase + 3;  // DA
constexpr int kCircle = kOpcodeBase + 4;  // CIR

bool IsSeparator(char c) {
    return c == ',' || c == ';';
}

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// The word of one token, or nothing for a word that is dropped.
std::optional<SymbolInstruction> CompileToken(std::string_view token) {
    std::size_t start = 0;
    while (start < token.size() && IsCSpace(token[start]))
        ++start;
    const std::string_view rest = token.substr(start);

    // A letter starts a keyword: the whole rest of the token must be one, in any case.
    if (!rest.empty() && IsAsciiLetter(rest[0])) {
        for (int k = 0; g_apszSymbolKeywords[k][0] != '\0'; ++k) {
            if (EqualIgnoringCase(rest, g_apszSymbolKeywords[k])) {
                return static_cast<SymbolInstruction>(kOpcodeBase + k);
            }
        }
        return std::nullopt;
    }

    // Anything else is a number in symbol units, stored in hundredths (low 16 bits).
    const int hundredths = RoundHalfAway(ReadDecimal(rest) * 100.0);
    return static_cast<SymbolInstruction>(static_cast<unsigned>(hundredths) & 0xFFFFu);
}

}  // namespace

void ParseSymbolInstructions(const std::string& text, SymbolProgram& program) {
    program.clear();
    std::string_view rest(text.c_str());  // up to the first NUL byte
    while (!rest.empty()) {
        // Tokens are the runs between separators; empty runs give no token.
        std::size_t begin = 0;
        while (begin < rest.size() && IsSeparator(rest[begin]))
            ++begin;
        if (begin == rest.size())
            break;
        std::size_t end = begin;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        if (const auto word = CompileToken(rest.substr(begin, end - begin))) {
            program.push_back(*word);
        }
        rest.remove_prefix(end);
    }
}

void RunSymbolProgram(const SymbolProgram& program, ISymbolSurface& surface) {
    std::vector<std::int16_t> stack;
    double x = 0.0;
    double y = 0.0;
    std::optional<double> radius;  // none until a CIR finds an operand

    const auto pop = [&stack]() {
        const double value = stack.back() / 100.0;
        stack.pop_back();
        return value;
    };
    // MR and DR add the operands to the point, MA and DA set it: Y from the top, then X.
    const auto changePoint = [&](bool relative) {
        if (!stack.empty())
            y = relative ? y + pop() : pop();
        if (!stack.empty())
            x = relative ? x + pop() : pop();
    };

    for (const SymbolInstruction instruction : program) {
        const auto word = static_cast<std::int16_t>(instruction);
        if (word < kOpcodeBase) {
            stack.push_back(word);
            continue;
        }
        switch (word) {
            case kMoveBy:
            case kMoveTo:
                changePoint(word == kMoveBy);
                surface.MoveTo(x, y);
                break;
            case kDrawBy:
            case kDrawTo:
                changePoint(word == kDrawBy);
                surface.LineTo(x, y);
                break;
            case kCircle:
                if (!stack.empty())
                    radius = pop();
                if (radius)
                    surface.Circle(x, y, *radius);
                break;
            default:  // above CIR: no meaning
                break;
        }
    }
}
