#include "DataNormalizer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DataSource.h"
#include "model/AtomicFile.h"

namespace {

constexpr std::size_t kReadBufferSize = 1u << 20;
constexpr std::size_t kWriteBufferSize = 1u << 20;

// Collects output bytes and hands them to the file in large pieces.
class COutputBuffer {
public:
    explicit COutputBuffer(CAtomicFile& file) : m_file(file), m_buffer(kWriteBufferSize) {}

    bool Append(const char* data, std::size_t size) {
        if (size > m_buffer.size() - m_nUsed) {
            if (!Flush())
                return false;
            if (size >= m_buffer.size())
                return m_file.Write(data, size);
        }
        std::memcpy(m_buffer.data() + m_nUsed, data, size);
        m_nUsed += size;
        return true;
    }

    bool AppendSpaces(std::int64_t count) {
        while (count > 0) {
            if (m_nUsed == m_buffer.size() && !Flush())
                return false;
            const std::size_t room = m_buffer.size() - m_nUsed;
            const std::size_t n =
                count < static_cast<std::int64_t>(room) ? static_cast<std::size_t>(count) : room;
            std::memset(m_buffer.data() + m_nUsed, ' ', n);
            m_nUsed += n;
            count -= static_cast<std::int64_t>(n);
        }
        return true;
    }

    bool Flush() {
        if (m_nUsed == 0)
            return true;
        const bool written = m_file.Write(m_buffer.data(), m_nUsed);
        m_nUsed = 0;
        return written;
    }

private:
    CAtomicFile& m_file;
    std::vector<char> m_buffer;
    std::size_t m_nUsed = 0;
};

// One pass over the lines of a source. With an output, each line is written padded to
// lineLength (a longer line fails); without one, lines are only measured.
struct LineScan {
    std::int64_t lines = 0;
    std::int64_t padded = 0;
    std::int64_t longest = 0;
    std::int64_t shortest = INT64_MAX;
    std::int64_t overLongLine = 0;  // 1-based number of the first line longer than the limit
    std::int64_t overLongLength = 0;
    int firstEolBytes = 0;  // end of the first line: 1 LF, 2 CR LF, 0 none seen
};

}  // namespace

bool CDataNormalizer::Fail(std::string message) {
    m_strError = std::move(message);
    return false;
}

namespace {

// Scans source. limit: longest line allowed (0 none); the scan stops at the first longer
// line and records it. out/eol: where and how to write lines padded to limit. Returns false
// on a read or write error (writeFailed tells which; source or file say why).
bool ScanLines(CDataSource& source, std::int64_t limit, COutputBuffer* out, const std::string& eol,
               LineScan& scan, bool& writeFailed) {
    std::unique_ptr<char[]> buffer(new char[kReadBufferSize]);
    std::int64_t lineLength = 0;  // content bytes of the current line so far
    bool pendingCr = false;       // the current line's last byte seen was a CR, held back
    writeFailed = false;

    auto endLine = [&](bool crLfEnd, bool hasEnd) {
        ++scan.lines;
        if (scan.lines == 1 && hasEnd)
            scan.firstEolBytes = crLfEnd ? 2 : 1;
        scan.longest = std::max(scan.longest, lineLength);
        scan.shortest = std::min(scan.shortest, lineLength);
        if (limit > 0 && lineLength > limit && scan.overLongLine == 0) {
            scan.overLongLine = scan.lines;
            scan.overLongLength = lineLength;
        }
        if (out != nullptr && scan.overLongLine == 0) {
            if (lineLength < limit)
                ++scan.padded;
            if (!out->AppendSpaces(limit - lineLength) || !out->Append(eol.data(), eol.size())) {
                writeFailed = true;
            }
        }
        lineLength = 0;
        pendingCr = false;
    };

    for (;;) {
        const long got = source.Read(buffer.get(), kReadBufferSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const char* p = buffer.get();
        const char* const end = p + got;
        while (p < end) {
            const char* newline =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* segmentEnd = newline != nullptr ? newline : end;
            if (segmentEnd > p) {
                // Content bytes: a CR held back from before was content after all.
                if (pendingCr) {
                    ++lineLength;
                    if (out != nullptr && !out->Append("\r", 1))
                        writeFailed = true;
                    pendingCr = false;
                }
                std::size_t n = static_cast<std::size_t>(segmentEnd - p);
                if (segmentEnd[-1] == '\r') {
                    --n;
                    pendingCr = true;
                }
                lineLength += static_cast<std::int64_t>(n);
                if (out != nullptr && !out->Append(p, n))
                    writeFailed = true;
            }
            if (newline == nullptr)
                break;
            endLine(pendingCr, true);
            if (writeFailed)
                return false;
            if (scan.overLongLine != 0)
                return true;  // no need to read further
            p = newline + 1;
        }
        if (writeFailed)
            return false;
    }
    // A last line without its end (a CR alone at the very end counts as its end).
    if (lineLength > 0 || pendingCr)
        endLine(false, false);
    return !writeFailed;
}

std::string TooLongMessage(const std::string& input, const LineScan& scan, std::int64_t limit) {
    return "Line " + std::to_string(scan.overLongLine) + " of \"" + input + "\" is " +
           std::to_string(scan.overLongLength) + " bytes long, longer than the line length of " +
           std::to_string(limit) + " bytes.";
}

}  // namespace

bool CDataNormalizer::Measure(const std::string& input, NormalizeReport& report) {
    m_strError.clear();
    report = NormalizeReport{};
    if (m_nLineLength < 0 || m_nLineLength > kMaxLineLength) {
        return Fail("The line length must be between 1 and " + std::to_string(kMaxLineLength) +
                    " bytes.");
    }
    CDataSource source;
    if (!source.Open(input))
        return Fail(source.Error());
    LineScan scan;
    bool writeFailed = false;
    if (!ScanLines(source, m_nLineLength, nullptr, "", scan, writeFailed)) {
        return Fail(source.Error());
    }
    if (scan.overLongLine != 0)
        return Fail(TooLongMessage(input, scan, m_nLineLength));
    if (scan.lines == 0)
        return Fail("File \"" + input + "\" contains no lines.");
    if (scan.longest > kMaxLineLength) {
        return Fail("Line lengths of more than " + std::to_string(kMaxLineLength) +
                    " bytes are not supported (\"" + input + "\").");
    }
    report.m_nLinesRead = scan.lines;
    report.m_nLineLength = m_nLineLength > 0 ? m_nLineLength : static_cast<int>(scan.longest);
    report.m_nShortestLine = static_cast<int>(scan.shortest);
    report.m_nEolBytes = scan.firstEolBytes == 2 ? 2 : 1;
    report.m_bCompressedInput = source.IsCompressed();
    return true;
}

bool CDataNormalizer::Normalize(const std::string& input, const std::string& output,
                                NormalizeReport& report) {
    if (!Measure(input, report))
        return false;
    return Write(input, output, report);
}

bool CDataNormalizer::Write(const std::string& input, const std::string& output,
                            NormalizeReport& report) {
    CDataSource source;
    if (!source.Open(input))
        return Fail(source.Error());
    CAtomicFile file;
    if (!file.Open(output))
        return Fail(file.Error());
    COutputBuffer out(file);
    const std::string eol = report.m_nEolBytes == 2 ? "\r\n" : "\n";
    LineScan scan;
    bool writeFailed = false;
    const bool scanned = ScanLines(source, report.m_nLineLength, &out, eol, scan, writeFailed);
    if (writeFailed)
        return Fail(file.Error());
    if (!scanned)
        return Fail(source.Error());
    if (scan.overLongLine != 0 || scan.lines != report.m_nLinesRead) {
        return Fail("File \"" + input + "\" changed while it was being normalized.");
    }
    if (!out.Flush() || !file.Commit())
        return Fail(file.Error());
    report.m_nLinesPadded = scan.padded;
    return true;
}

std::string DescribeNormalization(const std::string& input, const std::string& output,
                                  const NormalizeReport& report) {
    const std::string eolName = report.m_nEolBytes == 2 ? "CR LF" : "LF";
    return "Normalized \"" + input + "\"\ninto \"" + output + "\":\n" +
           std::to_string(report.m_nLinesRead) + " lines read, record length " +
           std::to_string(report.RecordLength()) + " bytes (" +
           std::to_string(report.m_nLineLength) + " + " + eolName + "), " +
           std::to_string(report.m_nLinesPadded) + " lines padded.";
}
