// The symbol language: the words a text compiles to, and what the machine draws from them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/symbols/SymbolLanguage.h"

namespace {

constexpr SymbolInstruction MR = 10000, MA = 10001, DR = 10002, DA = 10003, CIR = 10004;

// The signed value of an operand, as its 16-bit word.
SymbolInstruction Operand(int hundredths) {
    return static_cast<SymbolInstruction>(hundredths & 0xFFFF);
}

SymbolProgram Parse(const std::string& text) {
    SymbolProgram program = {1, 2, 3};  // emptied first
    ParseSymbolInstructions(text, program);
    return program;
}

// Records the drawing requests as text, e.g. " M(1,2) L(3,4) C(0,0,16)".
class CRecordingSurface : public ISymbolSurface {
public:
    std::ostringstream log;
    void MoveTo(double x, double y) override { log << " M(" << x << ',' << y << ')'; }
    void LineTo(double x, double y) override { log << " L(" << x << ',' << y << ')'; }
    void Circle(double cx, double cy, double radius) override {
        log << " C(" << cx << ',' << cy << ',' << radius << ')';
    }
};

std::string Draw(const SymbolProgram& program) {
    CRecordingSurface surface;
    RunSymbolProgram(program, surface);
    const std::string log = surface.log.str();
    return log.empty() ? log : log.substr(1);
}

std::string Draw(const std::string& text) {
    return Draw(Parse(text));
}

}  // namespace

TEST(SymbolParse, TokensSeparatorsAndKeywords) {
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse(";;,").empty());
    EXPECT_EQ(Parse("10,0,MR"), (SymbolProgram{1000, 0, MR}));
    EXPECT_EQ(Parse(",,16;;CIR,"), (SymbolProgram{1600, CIR}));
    EXPECT_EQ(Parse("16,CIR; "), (SymbolProgram{1600, CIR, 0}));  // blank token: operand 0
    EXPECT_EQ(Parse("10 20"), (SymbolProgram{1000}));             // one token, one number
    EXPECT_EQ(Parse(std::string("16,CIR\0,MR", 10)), (SymbolProgram{1600, CIR}));
    EXPECT_EQ(Parse("mr,Mr,MR,ma,dR,Da,cir,CiR"),
              (SymbolProgram{MR, MR, MR, MA, DR, DA, CIR, CIR}));
    EXPECT_TRUE(Parse("MR ").empty());  // trailing blank before the separator
    EXPECT_TRUE(Parse("CIRCLE,M R,MRX,X").empty());
    EXPECT_EQ(Parse(" MR"), (SymbolProgram{MR}));
    EXPECT_EQ(Parse("16,CIR,\r\nDA"), (SymbolProgram{1600, CIR, DA}));  // new line starts it
    EXPECT_EQ(Parse("16\nCIR"), (SymbolProgram{1600}));  // a line break is no separator
}

TEST(SymbolParse, NumbersInHundredthsRoundedHalfAwayKeepingTheLow16Bits) {
    EXPECT_EQ(Parse("1e1"), (SymbolProgram{1000}));
    EXPECT_EQ(Parse("-MR"), (SymbolProgram{0}));
    EXPECT_EQ(Parse(".5"), (SymbolProgram{50}));
    EXPECT_EQ(Parse("0.125,-0.125"), (SymbolProgram{13, Operand(-13)}));
    EXPECT_EQ(Parse("  -2.5xyz,+3"), (SymbolProgram{Operand(-250), 300}));
    EXPECT_EQ(Parse("#,(1)"), (SymbolProgram{0, 0}));
    EXPECT_EQ(Parse("-327.68,99.99"), (SymbolProgram{Operand(-32768), 9999}));
    // 100.00 .. 100.04 (and 99.995) are the keywords' own words.
    EXPECT_EQ(Parse("100,99.995,100.02,100.04"), (SymbolProgram{MR, MR, DR, CIR}));
    EXPECT_EQ(Parse("100.05,327.67"), (SymbolProgram{10005, 32767}));
    EXPECT_EQ(Parse("327.68,655.36,655.37"), (SymbolProgram{Operand(-32768), 0, 1}));
    EXPECT_EQ(Parse("-inf,1e30"), (SymbolProgram{0, 0}));  // out of int: low bits of INT_MIN
}

TEST(SymbolMachine, MovesLinesAndCirclesAndSkipsWordsAboveCircle) {
    EXPECT_EQ(Draw("-8,0,MA;8,0,DA;0,-8,MA;0,8,DA"), "M(-8,0) L(8,0) M(0,-8) L(0,8)");
    EXPECT_EQ(Draw("16,CIR"), "C(0,0,16)");
    EXPECT_EQ(Draw("5,MR"), "M(0,5)");                // one operand: Y only
    EXPECT_EQ(Draw("1,2,3,MR,MR"), "M(2,3) M(2,4)");  // 1 stays for the next one
    EXPECT_EQ(Draw("MR,DR,MA,DA"), "M(0,0) L(0,0) M(0,0) L(0,0)");
    EXPECT_EQ(Draw("1,1,MA,2,3,DR,4,DA"), "M(1,1) L(3,4) L(3,4)");
    EXPECT_EQ(Draw("-1.5,2,MR,-0.5,-0.25,DR"), "M(-1.5,2) L(-2,1.75)");
    EXPECT_EQ(Draw("CIR"), "");  // no radius yet: nothing drawn
    EXPECT_EQ(Draw("CIR,4,CIR,2,2,MA,CIR"), "C(0,0,4) M(2,2) C(2,2,4)");
    EXPECT_EQ(Draw("3,4,MR,1,CIR,5,5,DA"), "M(3,4) C(3,4,1) L(5,5)");
    EXPECT_EQ(Draw("-2,CIR"), "C(0,0,-2)");  // no check on the sign
    // 0xFFFF and 0x8000 are the operands -1 and -32768.
    EXPECT_EQ(Draw(SymbolProgram{100, 10005, 32767, 200, MA, 0xFFFF, 0x8000, DR}),
              "M(1,2) L(0.99,-325.68)");
}
