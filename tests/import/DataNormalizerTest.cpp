#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "import/DataNormalizer.h"
#include "support/TempDir.h"

namespace {

// Writes bytes gzip-compressed (members concatenated when split is set).
void WriteGzip(const std::string& path, const std::string& bytes, bool split = false) {
    const std::size_t half = split ? bytes.size() / 2 : bytes.size();
    const std::string parts[2] = {bytes.substr(0, half), bytes.substr(half)};
    for (int i = 0; i < 2; ++i) {
        gzFile gz = gzopen(path.c_str(), i == 0 ? "wb" : "ab");
        ASSERT_NE(gz, nullptr);
        if (!parts[i].empty()) {
            ASSERT_EQ(gzwrite(gz, parts[i].data(), static_cast<unsigned>(parts[i].size())),
                      static_cast<int>(parts[i].size()));
        }
        gzclose(gz);
    }
}

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

TEST(DataNormalizer, PadsLineFeedLinesToTheLongestAndCountsThem) {
    CTempDir dir;
    const auto r = NormalizeFile(dir, dir.Write("in.dat", "abc\nabcdef\n\nab\n"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.output, "abc   \nabcdef\n      \nab    \n");
    EXPECT_EQ(r.report.m_nLinesRead, 4);
    EXPECT_EQ(r.report.m_nLinesPadded, 3);
    EXPECT_EQ(r.report.m_nLineLength, 6);
    EXPECT_EQ(r.report.m_nShortestLine, 0);
    EXPECT_EQ(r.report.RecordLength(), 7);
    EXPECT_FALSE(r.report.m_bCompressedInput);
}

TEST(DataNormalizer, KeepsCrLfOfTheFirstLineOnEveryLineAndEndsTheLastLine) {
    CTempDir dir;
    // Mixed ends and a last line without its end: every line gets CR LF.
    const auto r = NormalizeFile(dir, dir.Write("in.dat", "a b\r\nabcd\nx"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.output, "a b \r\nabcd\r\nx   \r\n");
    EXPECT_EQ(r.report.m_nEolBytes, 2);
    EXPECT_EQ(r.report.RecordLength(), 6);
    EXPECT_EQ(r.report.m_nLinesRead, 3);
    EXPECT_EQ(r.report.m_nLinesPadded, 2);
}

TEST(DataNormalizer, LastLineWithoutEndAndCrInsideALine) {
    CTempDir dir;
    // A CR that is not followed by LF is content; a file of one unended line gets LF.
    const auto r = NormalizeFile(dir, dir.Write("in.dat", "ab\rc\nd"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.output, "ab\rc\nd   \n");
    EXPECT_EQ(r.report.m_nEolBytes, 1);

    const auto single = NormalizeFile(dir, dir.Write("one.dat", "xyz"));
    ASSERT_TRUE(single.ok) << single.error;
    EXPECT_EQ(single.output, "xyz\n");
    EXPECT_EQ(single.report.m_nLinesPadded, 0);
}

TEST(DataNormalizer, CrLfSplitAcrossReadBuffers) {
    CTempDir dir;
    // The reader works in 1 MiB pieces: put the CR as the last byte of the first piece.
    const std::size_t piece = 1u << 20;
    std::string first(piece - 1, 'x');
    const std::string input = first + "\r\nshort\r\n";
    const auto r = NormalizeFile(dir, dir.Write("in.dat", input));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.report.m_nLineLength, static_cast<int>(piece - 1));
    EXPECT_EQ(r.report.m_nEolBytes, 2);
    EXPECT_EQ(r.output.size(), 2 * (piece + 1));
    EXPECT_EQ(r.output.substr(piece - 1, 2), "\r\n");
    EXPECT_EQ(r.output.substr(piece + 1, 5), "short");
    EXPECT_EQ(r.output.substr(r.output.size() - 4), "  \r\n");
}

TEST(DataNormalizer, GivenLengthPadsAndRefusesLongerLinesWritingNothing) {
    CTempDir dir;
    const auto padded = NormalizeFile(dir, dir.Write("in.dat", "ab\ncd\n"), 4);
    ASSERT_TRUE(padded.ok) << padded.error;
    EXPECT_EQ(padded.output, "ab  \ncd  \n");
    EXPECT_EQ(padded.report.m_nLinesPadded, 2);

    dir.Write("out.dat", "previous");
    CDataNormalizer normalizer(3);
    NormalizeReport report;
    const std::string input = dir.Write("long.dat", "abc\nabc\nabcd\nabcdefg\n");
    EXPECT_FALSE(normalizer.Normalize(input, dir.Path("out.dat"), report));
    EXPECT_EQ(normalizer.Error(), "Line 3 of \"" + input +
                                      "\" is 4 bytes long, longer than the line length of 3 "
                                      "bytes.");
    EXPECT_EQ(CTempDir::Read(dir.Path("out.dat")), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()),
                            std::filesystem::directory_iterator()),
              3);  // no temporary file left behind
}

TEST(DataNormalizer, GzipInputIsDecompressedIncludingConcatenatedMembers) {
    CTempDir dir;
    const std::string plain = "Cr110   2108\nNGC2099   67 05\r\nx";
    WriteGzip(dir.Path("in.dat.gz"), plain, true);
    const auto r = NormalizeFile(dir, dir.Path("in.dat.gz"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.report.m_bCompressedInput);
    EXPECT_EQ(r.output, "Cr110   2108   \nNGC2099   67 05\nx              \n");
    EXPECT_EQ(r.report.m_nLinesRead, 3);
}

TEST(DataNormalizer, DamagedInputsAreRefused) {
    CTempDir dir;
    WriteGzip(dir.Path("full.gz"), std::string(5000, 'a') + "\n");
    const std::string gz = CTempDir::Read(dir.Path("full.gz"));
    const auto cut = NormalizeFile(dir, dir.Write("cut.gz", gz.substr(0, gz.size() / 2)));
    EXPECT_FALSE(cut.ok);
    EXPECT_NE(cut.error.find("is not a readable gzip file"), std::string::npos) << cut.error;
    EXPECT_TRUE(cut.output.empty());

    const auto empty = NormalizeFile(dir, dir.Write("empty.dat", ""));
    EXPECT_FALSE(empty.ok);
    EXPECT_NE(empty.error.find("contains no lines"), std::string::npos);

    const auto missing = NormalizeFile(dir, dir.Path("missing.dat"));
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("cannot open"), std::string::npos);
}

TEST(DataNormalizer, DescriptionNamesTheFigures) {
    NormalizeReport report;
    report.m_nLinesRead = 15;
    report.m_nLinesPadded = 12;
    report.m_nLineLength = 103;
    report.m_nEolBytes = 2;
    EXPECT_EQ(DescribeNormalization("a.dat", "b.dat", report),
              "Normalized \"a.dat\"\ninto \"b.dat\":\n15 lines read, record length 105 bytes "
              "(103 + CR LF), 12 lines padded.");
}
