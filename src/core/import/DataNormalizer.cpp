#include "core/import/DataNormalizer.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "core/import/DataSource.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"

namespace {

constexpr std::size_t kReadBufferSize = 1u << 20;
constexpr std::size_t kWriteBufferSize = 1u << 20;
constexpr int kWriteBuffers = 4;
// A plain file at least this large is measured by two threads, one for each half.
constexpr std::int64_t kSplitMeasureSize = std::int64_t{8} << 20;

// Where the padded lines go: buffers filled by the scanning thread and written to the file by
// a second one, so that the kernel copies one buffer into the file while the next is filled.
class COutputPipe {
public:
    explicit COutputPipe(CAtomicFile& file) : m_file(file) {
        for (int i = 1; i < kWriteBuffers; ++i)
            m_free.push_back(std::make_unique<char[]>(kWriteBufferSize));
        m_current.data = std::make_unique<char[]>(kWriteBufferSize);
        m_writer = std::thread([this] { WriterLoop(); });
    }
    ~COutputPipe() { Stop(); }
    COutputPipe(const COutputPipe&) = delete;
    COutputPipe& operator=(const COutputPipe&) = delete;

    bool Append(const char* data, std::size_t size) {
        while (size > 0) {
            if (m_current.size == kWriteBufferSize && !HandOff())
                return false;
            const std::size_t n = std::min(size, kWriteBufferSize - m_current.size);
            std::memcpy(m_current.data.get() + m_current.size, data, n);
            m_current.size += n;
            data += n;
            size -= n;
        }
        return true;
    }

    bool AppendSpaces(std::int64_t count) {
        while (count > 0) {
            if (m_current.size == kWriteBufferSize && !HandOff())
                return false;
            const std::size_t room = kWriteBufferSize - m_current.size;
            const std::size_t n =
                count < static_cast<std::int64_t>(room) ? static_cast<std::size_t>(count) : room;
            std::memset(m_current.data.get() + m_current.size, ' ', n);
            m_current.size += n;
            count -= static_cast<std::int64_t>(n);
        }
        return true;
    }

    // Writes what is left and waits for the writer. False when any write failed (the file
    // says why).
    bool Finish() {
        if (m_current.data != nullptr && m_current.size > 0) {
            const std::lock_guard lock(m_mutex);
            m_full.push_back(std::move(m_current));
            m_changed.notify_all();
        }
        Stop();
        return !m_bFailed;
    }

private:
    struct Chunk {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
    };

    // Queues the full buffer and takes a free one, waiting for the writer when none is free.
    bool HandOff() {
        std::unique_lock lock(m_mutex);
        m_full.push_back(std::move(m_current));
        m_current = Chunk{};
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_free.empty() || m_bFailed; });
        if (m_bFailed)
            return false;
        m_current.data = std::move(m_free.back());
        m_free.pop_back();
        return true;
    }

    void WriterLoop() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return !m_full.empty() || m_bClosing; });
            if (m_full.empty())
                return;
            Chunk chunk = std::move(m_full.front());
            m_full.pop_front();
            const bool skip = m_bFailed;
            lock.unlock();
            const bool written = skip || m_file.Write(chunk.data.get(), chunk.size);
            lock.lock();
            if (!written)
                m_bFailed = true;
            m_free.push_back(std::move(chunk.data));
            m_changed.notify_all();
        }
    }

    void Stop() {
        if (!m_writer.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_bClosing = true;
            m_changed.notify_all();
        }
        m_writer.join();
    }

    CAtomicFile& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_full;  // waiting to be written, in file order
    std::vector<std::unique_ptr<char[]>> m_free;
    bool m_bClosing = false;
    bool m_bFailed = false;
    Chunk m_current;  // being filled
    std::thread m_writer;
};

// What a scan found out about the lines.
struct LineScan {
    std::int64_t lines = 0;
    std::int64_t padded = 0;
    std::int64_t longest = 0;
    std::int64_t shortest = INT64_MAX;
    std::int64_t overLongLine = 0;  // 1-based number of the first line longer than the limit
    std::int64_t overLongLength = 0;
    int firstEolBytes = 0;  // end of the first line: 1 LF, 2 CR LF, 0 none seen
};

// Cuts consecutive pieces of input into lines. limit: longest line allowed (0 none); the scan
// stops at the first longer line and records it. With an output, each line is written padded
// to limit and ended with eol.
class CLineScanner {
public:
    CLineScanner(std::int64_t limit, COutputPipe* out, std::string_view eol)
        : m_nLimit(limit), m_pOut(out), m_eol(eol) {}

    // Scans the next piece. False when the scan must stop: a write failed (the output says so)
    // or a line is longer than the limit.
    bool Feed(const char* p, const char* const end) {
        while (p < end) {
            const char* newline =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* segmentEnd = newline != nullptr ? newline : end;
            if (segmentEnd > p) {
                // Content bytes: a CR held back from before was content after all.
                if (m_bPendingCr) {
                    ++m_nLineLength;
                    if (m_pOut != nullptr && !m_pOut->Append("\r", 1))
                        return false;
                    m_bPendingCr = false;
                }
                std::size_t n = static_cast<std::size_t>(segmentEnd - p);
                if (segmentEnd[-1] == '\r') {
                    --n;
                    m_bPendingCr = true;
                }
                m_nLineLength += static_cast<std::int64_t>(n);
                if (m_pOut != nullptr && !m_pOut->Append(p, n))
                    return false;
            }
            if (newline == nullptr)
                break;
            if (!EndLine(m_bPendingCr, true))
                return false;
            p = newline + 1;
        }
        return true;
    }

    // Ends a last line that has no end of its own (a CR alone at the very end counts as its
    // end).
    bool Finish() {
        if (m_nLineLength > 0 || m_bPendingCr)
            return EndLine(false, false);
        return true;
    }

    const LineScan& Result() const { return m_scan; }

private:
    bool EndLine(bool crLfEnd, bool hasEnd) {
        ++m_scan.lines;
        if (m_scan.lines == 1 && hasEnd)
            m_scan.firstEolBytes = crLfEnd ? 2 : 1;
        m_scan.longest = std::max(m_scan.longest, m_nLineLength);
        m_scan.shortest = std::min(m_scan.shortest, m_nLineLength);
        if (m_nLimit > 0 && m_nLineLength > m_nLimit) {
            m_scan.overLongLine = m_scan.lines;
            m_scan.overLongLength = m_nLineLength;
            return false;
        }
        if (m_pOut != nullptr) {
            if (m_nLineLength < m_nLimit)
                ++m_scan.padded;
            if (!m_pOut->AppendSpaces(m_nLimit - m_nLineLength) ||
                !m_pOut->Append(m_eol.data(), m_eol.size())) {
                return false;
            }
        }
        m_nLineLength = 0;
        m_bPendingCr = false;
        return true;
    }

    const std::int64_t m_nLimit;
    COutputPipe* const m_pOut;
    const std::string_view m_eol;
    LineScan m_scan;
    std::int64_t m_nLineLength = 0;  // content bytes of the current line so far
    bool m_bPendingCr = false;       // the current line's last byte seen was a CR, held back
};

// Feeds scanner the pieces read(buffer, size) gives until it gives none or the scanner stops,
// then ends the last line. False when read fails (returns -1).
template <class Read>
bool FeedAll(CLineScanner& scanner, Read read) {
    std::unique_ptr<char[]> buffer(new char[kReadBufferSize]);
    for (;;) {
        const long got = read(buffer.get(), kReadBufferSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!scanner.Feed(buffer.get(), buffer.get() + got))
            return true;
    }
    scanner.Finish();
    return true;
}

// Feeds the whole of source to scanner. False on a read error (source.Error() says why).
bool ScanSource(CDataSource& source, CLineScanner& scanner) {
    return FeedAll(scanner,
                   [&](char* buffer, std::size_t size) { return source.Read(buffer, size); });
}

// Measures the bytes [from, to) of a plain file, which begin at the start of a line. (A file
// that got shorter meanwhile ends the range early; the writing pass notices the change.)
struct RangeScan {
    LineScan scan;
    bool readOk = true;
    std::string error;
};

void ScanRange(const CDataSource& source, std::int64_t from, std::int64_t to, std::int64_t limit,
               RangeScan& result) {
    CLineScanner scanner(limit, nullptr, {});
    std::int64_t at = from;
    result.readOk = FeedAll(scanner, [&](char* buffer, std::size_t size) -> long {
        const auto want =
            static_cast<std::size_t>(std::min(to - at, static_cast<std::int64_t>(size)));
        const long got = want == 0 ? 0 : source.ReadAt(buffer, want, at, result.error);
        at += std::max(got, 0L);
        return got;
    });
    result.scan = scanner.Result();
}

// Where the second half of a plain file of size bytes begins: just after the first LF at or
// after the middle. size when there is none, -1 on a read error.
std::int64_t FindSplit(const CDataSource& source, std::int64_t size, std::string& error) {
    char buffer[1 << 16];
    for (std::int64_t at = size / 2; at < size;) {
        const long got = source.ReadAt(buffer, sizeof buffer, at, error);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        if (const void* lf = std::memchr(buffer, '\n', static_cast<std::size_t>(got)))
            return at + (static_cast<const char*>(lf) - buffer) + 1;
        at += got;
    }
    return size;
}

// The scan of a whole file from the scans of its two halves, the first ending with a LF.
LineScan Join(const LineScan& first, const LineScan& second) {
    LineScan whole;
    whole.lines = first.lines + second.lines;
    whole.longest = std::max(first.longest, second.longest);
    whole.shortest = std::min(first.shortest, second.shortest);
    whole.firstEolBytes = first.lines > 0 ? first.firstEolBytes : second.firstEolBytes;
    if (first.overLongLine != 0) {
        whole.overLongLine = first.overLongLine;
        whole.overLongLength = first.overLongLength;
    } else if (second.overLongLine != 0) {
        whole.overLongLine = first.lines + second.overLongLine;
        whole.overLongLength = second.overLongLength;
    }
    return whole;
}

// Measures source. A large plain file is measured in two halves at once; anything else is
// read through once. False on a read error, with its message in error.
bool MeasureSource(CDataSource& source, std::int64_t limit, LineScan& scan, std::string& error) {
    const std::int64_t size = source.PlainSize();
    if (size >= kSplitMeasureSize) {
        const std::int64_t split = FindSplit(source, size, error);
        if (split < 0)
            return false;
        if (split < size) {
            RangeScan first;
            RangeScan second;
            std::thread secondThread([&] { ScanRange(source, split, size, limit, second); });
            ScanRange(source, 0, split, limit, first);
            secondThread.join();
            for (const RangeScan* half : {&first, &second}) {
                if (!half->readOk) {
                    error = half->error;
                    return false;
                }
            }
            scan = Join(first.scan, second.scan);
            return true;
        }
    }
    CLineScanner scanner(limit, nullptr, {});
    if (!ScanSource(source, scanner)) {
        error = source.Error();
        return false;
    }
    scan = scanner.Result();
    return true;
}

std::string TooLongMessage(const std::string& input, const LineScan& scan, std::int64_t limit) {
    return "Line " + std::to_string(scan.overLongLine) + " of \"" + input + "\" is " +
           std::to_string(scan.overLongLength) + " bytes long, longer than the line length of " +
           std::to_string(limit) + " bytes.";
}

}  // namespace

bool CDataNormalizer::Fail(std::string message) {
    m_strError = std::move(message);
    return false;
}

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
    std::string readError;
    if (!MeasureSource(source, m_nLineLength, scan, readError))
        return Fail(readError);
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
    if (SameFile(input, output)) {
        return Fail("\"" + output +
                    "\" is the file being normalized; the output needs another "
                    "name.");
    }
    return Write(input, output, report);
}

bool CDataNormalizer::Write(const std::string& input, const std::string& output,
                            NormalizeReport& report) {
    CDataSource source;
    if (!source.Open(input))
        return Fail(source.Error());
    CAtomicFile file;
    if (!file.Open(output, CAtomicFile::Durability::Unsynced))
        return Fail(file.Error());
    const std::string eol = report.m_nEolBytes == 2 ? "\r\n" : "\n";
    COutputPipe out(file);
    CLineScanner scanner(report.m_nLineLength, &out, eol);
    const bool scanned = ScanSource(source, scanner);
    if (!out.Finish())
        return Fail(file.Error());
    if (!scanned)
        return Fail(source.Error());
    const LineScan& scan = scanner.Result();
    if (scan.overLongLine != 0 || scan.lines != report.m_nLinesRead) {
        return Fail("File \"" + input + "\" changed while it was being normalized.");
    }
    if (!file.Commit())
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
