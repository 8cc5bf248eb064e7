#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/import/DataNormalizer.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"

namespace {

struct Normalized {
    bool ok = false;
    std::string output;
    NormalizeReport report;
    std::string error;
};

Normalized NormalizeFile(const CTempDir& dir, const std::string& input, int length = 0) {
    Normalized result;
    CDataNormalizer normalizer(length);
    const std::string out = dir.Path("out.dat");
    result.ok = normalizer.Normalize(input, out, result.report);
    result.error = normalizer.Error();
    if (std::filesystem::exists(out))
        result.output = CTempDir::Read(out);
    return result;
}

}  // namespace

// Lines padded with blanks to the longest line or to the given length, every line ended as the
// first one is (LF or CR LF), the last one too.
TEST(DataNormalizer, PadsEveryLineAndEndsItAsTheFirstLineEnds) {
    struct Case {
        const char* name;
        std::string input;
        int length;
        std::string output;
        std::vector<std::int64_t> figures;  // lines read and padded, length, shortest, end
    };
    const Case cases[] = {
        {"LF lines", "abc\nabcdef\n\nab\n", 0, "abc   \nabcdef\n      \nab    \n", {4, 3, 6, 0, 1}},
        {"mixed ends", "a b\r\nabcd\nx", 0, "a b \r\nabcd\r\nx   \r\n", {3, 2, 4, 1, 2}},
        {"a CR without LF is content", "ab\rc\nd", 0, "ab\rc\nd   \n", {2, 1, 4, 1, 1}},
        {"one unended line", "xyz", 0, "xyz\n", {1, 0, 3, 3, 1}},
        {"given length", "ab\ncd\n", 4, "ab  \ncd  \n", {2, 2, 4, 2, 1}},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = NormalizeFile(dir, dir.Write("in.dat", c.input), c.length);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(c.figures,
                  (std::vector<std::int64_t>{r.report.m_nLinesRead, r.report.m_nLinesPadded,
                                             r.report.m_nLineLength, r.report.m_nShortestLine,
                                             r.report.m_nEolBytes}));
        EXPECT_FALSE(r.report.m_bCompressedInput);
    }
}

TEST(DataNormalizer, CrLfSplitAcrossReadBuffers) {
    // The reader works in 1 MiB pieces: put the CR as the last byte of the first piece.
    CTempDir dir;
    const std::string first((1u << 20) - 1, 'x');
    const auto r = NormalizeFile(dir, dir.Write("in.dat", first + "\r\nshort\r\n"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.report.m_nEolBytes, 2);
    EXPECT_TRUE(r.output == first + "\r\nshort" + std::string(first.size() - 5, ' ') + "\r\n");
}

// Refusals name the problem, keep the previous output and leave no temporary file.
TEST(DataNormalizer, RefusedInputsWriteNothing) {
    CTempDir dir;
    const std::string cut = dir.WriteGzip("cut.gz", std::string(5000, 'a') + "\n");
    const std::string gz = CTempDir::Read(cut);
    dir.Write("cut.gz", gz.substr(0, gz.size() / 2));
    const std::string empty = dir.Write("empty.dat", "");
    const std::string longLine = dir.Write("long.dat", "abc\nabc\nabcd\nabcdefg\n");
    const std::string missing = dir.Path("missing.dat");
    const std::pair<std::string, std::string> cases[] = {
        {cut, "is not a readable gzip file"},
        {empty, "File \"" + empty + "\" contains no lines."},
        {missing, "cannot open"},
        {longLine,
         "Line 3 of \"" + longLine + "\" is 4 bytes long, longer than the line length of 3 bytes."},
    };
    dir.Write("out.dat", "previous");
    for (const auto& [input, error] : cases) {
        const auto r = NormalizeFile(dir, input, input == longLine ? 3 : 0);
        EXPECT_FALSE(r.ok) << input;
        EXPECT_NE(r.error.find(error), std::string::npos) << r.error;
        EXPECT_EQ(r.output, "previous");
        EXPECT_EQ(FolderEntries(dir.Root()),
                  (std::set<std::string>{"cut.gz", "empty.dat", "long.dat", "out.dat"}));
    }
}

// Large files are measured in two halves at once: the figures and the output must be those of
// reading the file straight through.
TEST(DataNormalizer, LargeFileMeasuredInHalvesGivesTheSameResult) {
    CTempDir dir;
    std::string bytes;
    std::vector<std::string> lines;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(1, 120);
    while (bytes.size() < (std::size_t{9} << 20)) {
        std::string line(static_cast<std::size_t>(length(random)), 'a');
        line.back() = static_cast<char>('a' + lines.size() % 26);
        if (lines.size() % 1000 == 999)
            line.insert(0, "x\r");  // a CR inside a line is content
        bytes += line + "\r\n";
        lines.push_back(line);
    }
    // From the middle on: the longest line, an empty line (the shortest) and a last line
    // without its end.
    for (const std::string& line : {std::string(300, 'L'), std::string(), std::string("end")}) {
        bytes += line + (line == "end" ? "" : "\r\n");
        lines.push_back(line);
    }
    const std::string input = dir.Write("large.dat", bytes);

    const auto r = NormalizeFile(dir, input);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.report.m_nLinesRead, static_cast<std::int64_t>(lines.size()));
    EXPECT_EQ(r.report.m_nLineLength, 300);
    EXPECT_EQ(r.report.m_nShortestLine, 0);
    EXPECT_EQ(r.report.m_nEolBytes, 2);
    EXPECT_EQ(r.report.m_nLinesPadded, static_cast<std::int64_t>(lines.size()) - 1);
    std::string expected;
    for (const std::string& line : lines)
        expected += line + std::string(300 - line.size(), ' ') + "\r\n";
    EXPECT_TRUE(r.output == expected);

    // A line too long for the given length is named by its number in the whole file, in
    // either half.
    for (const int limit : {120, 1}) {
        std::size_t lineNumber = 1;
        while (static_cast<int>(lines[lineNumber - 1].size()) <= limit)
            ++lineNumber;
        const auto refused = NormalizeFile(dir, input, limit);
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.error.find("Line " + std::to_string(lineNumber) + " of"),
                  std::string::npos)
            << refused.error;
    }
}

// Every system call of writing the output failing in turn, the writes part way through a file
// larger than the write buffers: the normalisation fails saying why and leaves the previous
// output as it was, with no temporary file.
TEST(DataNormalizer, FailedWriteKeepsThePreviousOutput) {
    CTempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{6} << 20); ++i)
        bytes += std::string(static_cast<std::size_t>(10 + i % 50), 'z') + "\n";
    const std::string input = dir.Write("in.dat", bytes);
    int calls = 0;
    {
        CFaultInjection counting;
        ASSERT_TRUE(NormalizeFile(dir, input).ok);
        calls = CFaultInjection::Calls();
    }
    dir.Write("out.dat", "previous");
    for (int n = 1; n <= calls; ++n) {
        CFaultInjection faults(n, ENOSPC);
        const auto r = NormalizeFile(dir, input);
        EXPECT_FALSE(r.ok) << "failing call " << n;
        EXPECT_NE(r.error.find("No space left on device"), std::string::npos) << r.error;
        EXPECT_EQ(r.output, "previous");
        EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"in.dat", "out.dat"}));
    }
}

TEST(DataNormalizer, GzipInputIsDecompressedIncludingConcatenatedMembers) {
    CTempDir dir;
    const std::string plain = "Cr110   2108\nNGC2099   67 05\r\nx";
    dir.WriteGzip("in.dat.gz", plain, true);
    const auto r = NormalizeFile(dir, dir.Path("in.dat.gz"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.report.m_bCompressedInput);
    EXPECT_EQ(r.output, "Cr110   2108   \nNGC2099   67 05\nx              \n");
    EXPECT_EQ(r.report.m_nLinesRead, 3);
}

TEST(DataNormalizer, DescriptionNamesTheFigures) {
    const NormalizeReport report{
        .m_nLinesRead = 15, .m_nLinesPadded = 12, .m_nLineLength = 103, .m_nEolBytes = 2};
    EXPECT_EQ(DescribeNormalization("a.dat", "b.dat", report),
              "Normalized \"a.dat\"\ninto \"b.dat\":\n15 lines read, record length 105 bytes "
              "(103 + CR LF), 12 lines padded.");
}
