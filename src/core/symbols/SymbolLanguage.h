// The symbol drawing language: postfix instruction texts such as "16,CIR" or
// "-8,0,MA;8,0,DA", compiled into 16-bit words, and the machine that runs them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Read as signed 16 bits: below 10000 an operand in hundredths, 10000..10004 the opcodes of
// MR, MA, DR, DA, CIR; above 10004 skipped when run.
using SymbolInstruction = std::uint16_t;
using SymbolProgram = std::vector<SymbolInstruction>;

inline constexpr int kOpcodeBase = 10000;

// Empties program, then fills it with the words of text (read up to its first NUL byte).
void ParseSymbolInstructions(const std::string& text, SymbolProgram& program);

// Where a running program draws, in symbol units: origin at the object, X right, Y up.
class ISymbolSurface {
public:
    virtual ~ISymbolSurface() = default;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;  // from the pen; the pen ends at (x, y)
    virtual void Circle(double cx, double cy, double radius) = 0;
};

// Runs program through the symbol machine, sending its drawing requests to surface.
// A CIR before any radius was given draws nothing.
void RunSymbolProgram(const SymbolProgram& program, ISymbolSurface& surface);
