// Field texts and number readings. The readings are checked against the C library itself
// (strtod_l / strtol_l on a "C" locale object) over systematic and random texts, and once
// more while the process runs in a decimal-comma locale.
#include <gtest/gtest.h>
#include <locale.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/compile/FieldReading.h"
#include "support/TempDir.h"

using namespace std::string_view_literals;

namespace {

locale_t CLocale() {
    static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_locale;
}

// Compares the readings of text with the C library; returns an explanation on a mismatch.
::testing::AssertionResult SameAsCLibrary(const std::string& text) {
    char* end = nullptr;
    const double expected = strtod_l(text.c_str(), &end, CLocale());
    const auto expectedConsumed = static_cast<std::size_t>(end - text.c_str());
    const int expectedInt = static_cast<int>(strtol_l(text.c_str(), nullptr, 10, CLocale()));
    std::size_t consumed = 99;
    const double prefix = ReadDecimalPrefix(text, consumed);
    const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
    if (bits(prefix) == bits(expected) && consumed == expectedConsumed &&
        bits(ReadDecimal(text)) == bits(expected) && ReadInteger(text) == expectedInt)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << ::testing::PrintToString(text) << ": decimal " << prefix << " (" << consumed
           << " bytes), whole " << ReadDecimal(text) << ", integer " << ReadInteger(text)
           << "; C library " << expected << " (" << expectedConsumed << " bytes), integer "
           << expectedInt;
}

// The pieces of a list written "a|b|c": an empty piece is an empty text; NULs are kept.
std::vector<std::string> Split(std::string_view list) {
    std::vector<std::string> pieces;
    for (std::size_t at = 0;; at = list.find('|', at) + 1) {
        pieces.emplace_back(list.substr(at, list.find('|', at) - at));
        if (list.find('|', at) == std::string_view::npos)
            return pieces;
    }
}

// Exact decimal text of the point halfway between x and the next double up (glibc prints
// exact binary values when asked for enough digits).
std::string HalfwayText(double x) {
    const long double mid =
        (static_cast<long double>(x) + static_cast<long double>(std::nextafter(x, INFINITY))) / 2;
    std::vector<char> buffer(1200);
    std::snprintf(buffer.data(), buffer.size(), "%.800Le", mid);
    std::string text(buffer.data());
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    while (!mantissa.empty() && mantissa.back() == '0')
        mantissa.pop_back();
    return mantissa + text.substr(e);
}

// Texts that exercise every part of the grammar, alone and in combination.
std::vector<std::string> SystematicTexts() {
    const char* const leads[] = {"", " ", "\t\n\v\f\r ", "\x1C"};
    const char* const signs[] = {"", "+", "-", "+-", "--"};
    const std::vector<std::string> bodies = Split(
        "|0|00|7|12|12.7|8.|.5|.|..5|1.2.3|1e|1e+|1e-|1E5|1e+05|-1.5e2|1.e3|.e3|e3|1e+-3|0e9999|"
        "0.0e-9999|1e308|1.7976931348623157e308|1.7976931348623158e308|1.7976931348623159e308|"
        "1e309|1e-307|2.2250738585072011e-308|2.2250738585072014e-308|1e-320|"
        "4.9406564584124654e-324|2.4703282292062327e-324|2.4703282292062328e-324|1e-324|1e-400|"
        "1e99999999999999999999|1e-99999999999999999999|9007199254740993|9007199254740992.5|"
        "9007199254740993.0000000000000000001|0.1|0.30000000000000004|"
        "123456789012345678901234567890|2147483647|2147483648|-2147483649|4294967296|4294967297|"
        "9223372036854775807|9223372036854775808|18446744073709551616|99999999999999999999999|"
        "0x|0X|0x.|0x.8|0x1|0x1.8p3|0X1P-1074|0x1p-1075|0x1p-1076|0x1.0000000000001p0|"
        "0x1.00000000000008p0|0x1.00000000000018p0|0x1.fffffffffffffp1023|0x1p1024|0x1p|0x1p+|"
        "0xg|0x-1|0x 1|0xp1|0x1.8P-3x|0x00000000000000000000001p0|inf|INF|Inf|infinity|INFINITY|"
        "infinit|infinityx|in|i|nan|NAN|nAn|nan(|nan()|nan(123)|nan(0x7)|nan(abc_1)|nan(1 2)|"
        "nan(-1)|na|n|abc|12abc|1,5|1 5|1\0"
        "5|0x1\0"
        "p3|1e\0"
        "5"sv);
    const std::vector<std::string> tails = Split(
        "|x| 1|,5|e|e+|.|\0"
        "9|p2"sv);
    std::vector<std::string> texts;
    for (const char* lead : leads)
        for (const char* sign : signs)
            for (const std::string& body : bodies)
                for (const std::string& tail : tails)
                    texts.push_back(lead + (sign + body) + tail);
    // Long mantissas: many digits before and after the point, and many leading zeros.
    const std::string nines(400, '9');
    const std::string zeros(400, '0');
    const std::string half = HalfwayText(0.0);  // between 0 and the least subnormal
    for (const std::string& s : std::vector<std::string>{
             nines, "0." + zeros + "1", zeros + "1.5", "1." + zeros + "1", nines + "e-400",
             "0." + zeros + nines + "e100", "1" + zeros + "e-400",
             "4.94065645841246544176" + zeros + "1e-324", half,
             half.substr(0, half.find('e')) + "5e-324"}) {
        texts.push_back(s);
        texts.push_back("-" + s);
    }
    return texts;
}

}  // namespace

TEST(FieldReading, FieldTextCutsColumnsAndStopsAtNul) {
    const char record[] = "abcdefghij";
    EXPECT_EQ(FieldText(record, 10, {"", "", 5, 7}), "efg");
    EXPECT_EQ(FieldText(record, 10, {"", "", 1, 1}), "a");
    EXPECT_EQ(FieldText(record, 10, {"", "", 9, 14}), "ij");  // clipped to the record
    EXPECT_EQ(FieldText(record, 10, {"", "", 11, 12}), "");   // wholly outside
    EXPECT_EQ(FieldText(record, 10, {"", "", 0, 2}), "ab");   // start column below 1
    EXPECT_EQ(FieldText(record, 10, {"", "", 7, 5}), "");     // end before start
    const char withNul[] = {'1', '2', '\0', '4', '5'};
    EXPECT_EQ(FieldText(withNul, 5, {"", "", 1, 5}), "12");
    EXPECT_EQ(FieldText(withNul, 5, {"", "", 3, 5}), "");
    EXPECT_EQ(FieldText(withNul, 5, {"", "", 4, 5}), "45");
}

TEST(FieldReading, IsBlankAcceptsOnlyCWhiteSpace) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t \n\v\f\r"));
    EXPECT_FALSE(IsBlank("  7  "));
    EXPECT_FALSE(IsBlank("\xA0"));  // no-break space of Latin-1 is not white space in "C"
    EXPECT_FALSE(IsBlank(std::string_view("\0", 1)));
}

TEST(FieldReading, RoundingHalfAwayFromZero) {
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(2.4999), 2);
    EXPECT_EQ(RoundHalfAway(-0.4), 0);
    EXPECT_EQ(RoundHalfAway(0.125 * 100.0), 13);
    EXPECT_EQ(RoundHalfAway(-0.125 * 100.0), -13);
    EXPECT_EQ(RoundHalfAway(2147483646.6), 2147483647);
    EXPECT_EQ(RoundHalfAway(2147483647.5), INT_MIN);  // does not fit: integer indefinite
    EXPECT_EQ(RoundHalfAway(-2147483648.4), INT_MIN);
    EXPECT_EQ(RoundHalfAway(NAN), INT_MIN);
    EXPECT_EQ(TruncateToInt(-45.9), -45);
    EXPECT_EQ(TruncateToInt(1e300), INT_MIN);
}

TEST(FieldReadingDifferential, SystematicTextsMatchTheCLibrary) {
    const std::vector<std::string> texts = SystematicTexts();
    ASSERT_GT(texts.size(), 10000u);
    for (const std::string& text : texts)
        ASSERT_TRUE(SameAsCLibrary(text));
}

TEST(FieldReadingDifferential, HalfwayCasesMatchTheCLibrary) {
    std::mt19937_64 random(20261206);
    for (int i = 0; i < 3000; ++i) {
        double x = std::bit_cast<double>(random() & 0x7FEFFFFFFFFFFFFFull);
        if (i % 3 == 0)
            x = std::ldexp(static_cast<double>(random() >> 11), -1074);  // small
        const std::string half = HalfwayText(x);
        ASSERT_TRUE(SameAsCLibrary(half));
        // One unit more and less in the last printed digit falls on either side.
        const std::size_t e = half.find('e');
        ASSERT_TRUE(SameAsCLibrary(half.substr(0, e) + "1" + half.substr(e)));
        std::string down = half.substr(0, e);
        if (down.back() >= '1' && down.back() <= '9') {
            down.back() = static_cast<char>(down.back() - 1);
            ASSERT_TRUE(SameAsCLibrary(down + "9999" + half.substr(e)));
        }
    }
}

TEST(FieldReadingDifferential, RandomTextsMatchTheCLibrary) {
    std::mt19937_64 random(3);
    const std::string alphabet =
        "0123456789012345678901234567890123456789..++--eeEE xXpP"
        "aAfFiInNtTyY()_ \t\n\v\f\r,;";
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text.clear();
        const std::size_t length = random() % 24;
        const bool wellFormed = i % 4 == 0;
        if (wellFormed) {
            // A decimal with a random mantissa and exponent: checks the rounding.
            text = (random() & 1) ? "-" : "";
            const std::size_t digits = 1 + random() % 25;
            for (std::size_t d = 0; d < digits; ++d)
                text += static_cast<char>('0' + random() % 10);
            if (random() & 1)
                text.insert(1 + random() % digits, ".");
            if (random() & 1)  // without an exponent: up to 15 digits take the short way
                text += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
        } else {
            for (std::size_t k = 0; k < length; ++k) {
                text += (random() % 50 == 0) ? static_cast<char>(random() & 0xFF)
                                             : alphabet[random() % alphabet.size()];
            }
        }
        ASSERT_TRUE(SameAsCLibrary(text));
    }
}

// Qt sets LC_NUMERIC from the environment; a German user's process reads "1,5" as 1.5 in
// strtod. Our readings must not change. The test makes a locale of its own with localedef,
// the "C" locale with a decimal comma (localedef warns about the categories the source leaves
// out; -c writes it anyway).
TEST(FieldReadingDifferential, DecimalCommaLocaleChangesNothing) {
    CTempDir dir;
    const bool hadLocPath = std::getenv("LOCPATH") != nullptr;
    const std::string oldLocPath = hadLocPath ? std::getenv("LOCPATH") : "";
    const std::string source =
        dir.Write("comma.src",
                  "LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                  "thousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n");
    const std::string command = "localedef -c -i '" + source + "' -f ANSI_X3.4-1968 '" +
                                dir.Path("de_COMMA") + "' >/dev/null 2>&1";
    setenv("LOCPATH", dir.Root().c_str(), 1);
    const bool active =
        std::system(command.c_str()) != -1 && setlocale(LC_ALL, "de_COMMA") != nullptr;
    if (active) {
        // The locale is really in effect: the C library itself now reads a comma.
        EXPECT_EQ(std::strtod("1,5", nullptr), 1.5);
        EXPECT_EQ(ReadDecimal("1,5"), 1.0);
        EXPECT_EQ(ReadDecimal("1.5"), 1.5);
        EXPECT_EQ(ReadDecimal(" -12.25e1"), -122.5);
        const std::vector<std::string> texts = SystematicTexts();
        for (std::size_t i = 0; i < texts.size(); i += 7)
            EXPECT_TRUE(SameAsCLibrary(texts[i]));
    }
    setlocale(LC_ALL, "C");
    if (hadLocPath) {
        setenv("LOCPATH", oldLocPath.c_str(), 1);
    } else {
        unsetenv("LOCPATH");
    }
    if (!active)
        GTEST_SKIP() << "localedef could not make a decimal-comma locale";
}
