// Normalising a line-oriented ASCII data file into fixed-length records.
//
// Catalogue files from archives such as VizieR usually have the trailing blanks of each line
// stripped, so their lines differ in length and a record length cannot be given. The
// normaliser pads every line with spaces to one length (the longest line's, or a length
// asked for) and ends every line with the same end-of-line bytes, so that every record is
// line length + end-of-line bytes long.
//
// Input: lines ended by LF or CR LF (a CR directly before the LF belongs to the end of line),
// the last line may lack its end; a gzip-compressed file is decompressed on the fly. The
// output uses the end of line of the first line (LF when no line has an end) on every line.
// The file is read twice (once to measure, once to write) through fixed buffers, so memory
// stays small whatever the file's size; a large plain file is measured by two threads, and
// the writing overlaps the scanning. The output is written whole or not at all, but not
// flushed to disk before it is renamed into place: like a copy, it can be made again.
#pragma once

#include <cstdint>
#include <string>

struct NormalizeReport {
    std::int64_t m_nLinesRead = 0;
    std::int64_t m_nLinesPadded = 0;  // lines shorter than the line length
    int m_nLineLength = 0;            // bytes of every line without its end of line
    int m_nShortestLine = 0;          // the shortest input line, without its end of line
    int m_nEolBytes = 0;              // 1 for LF, 2 for CR LF
    bool m_bCompressedInput = false;

    // The record length of the output: line length and end-of-line bytes.
    int RecordLength() const { return m_nLineLength + m_nEolBytes; }
};

class CDataNormalizer {
public:
    // A line length of 0 pads to the longest line; otherwise every line is padded to
    // lineLength bytes and a longer line is an error.
    explicit CDataNormalizer(int lineLength = 0) : m_nLineLength(lineLength) {}

    // Measures input without writing anything: line count, longest line, end of line. With a
    // line length set, fails on the first longer line. The report's line length is the one
    // the output would have.
    [[nodiscard]] bool Measure(const std::string& input, NormalizeReport& report);

    // Measures input, then writes the padded lines to output through a temporary file.
    // On failure Error() says why and output is untouched.
    [[nodiscard]] bool Normalize(const std::string& input, const std::string& output,
                                 NormalizeReport& report);

    const std::string& Error() const { return m_strError; }

    // The longest line the normaliser accepts.
    static constexpr int kMaxLineLength = 1 << 30;

private:
    bool Write(const std::string& input, const std::string& output, NormalizeReport& report);
    bool Fail(std::string message);

    int m_nLineLength;
    std::string m_strError;
};

// A short account of a normalisation for the person who asked for it.
std::string DescribeNormalization(const std::string& input, const std::string& output,
                                  const NormalizeReport& report);
