#include "core/compile/SortedEntries.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <utility>

#include "core/browse/RawFile.h"
#include "core/compile/CatalogObject.h"
#include "core/compile/CompileProgress.h"
#include "core/compile/CompileTable.h"
#include "core/compile/LargeBlock.h"
#include "core/compile/RecordDecoder.h"
#include "core/io/InputFile.h"
#include "core/model/UserInteraction.h"

namespace co = catalog_object;
using namespace sorted_entries;

namespace {

// Entries moved between two looks at the cancel flag (and the progress) while merging.
constexpr std::size_t kMergeStep = 8192;
// The pair of a record left out, which the sort drops: no real pair has this record number.
constexpr std::uint64_t kLeftOutPair = ~std::uint64_t{0};

std::uint64_t Pair(int key, std::size_t record) {
    const auto biased = static_cast<std::uint32_t>(key) ^ 0x80000000u;
    return std::uint64_t{biased} << 32 | record;
}

std::size_t RecordOf(std::uint64_t pair) {
    return static_cast<std::size_t>(pair & 0xFFFFFFFFu);
}

// Runs fn(0) .. fn(n-1) at once, fn(0) on this thread; a thread that cannot be had runs its part
// here.
void RunOnThreads(unsigned n, const std::function<void(unsigned)>& fn) {
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < n; ++t) {
        try {
            threads.emplace_back(fn, t);
        } catch (const std::system_error&) {
            fn(t);
        }
    }
    fn(0);
    for (std::thread& thread : threads)
        thread.join();
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::min(size, std::size_t{1} << 20));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A temporary file in folder that has no name: O_TMPFILE where the file system has it, else a
// file that is unlinked as soon as it is made.
int OpenNamelessFile(const std::string& folder) {
    const std::string dir = folder.empty() ? std::string(".") : folder;
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    std::string pattern = dir + "/.catforge-runs-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(pattern.c_str());
    return fd;
}

// Gives back the whole pages of the temporary file between from and from + size, which the merge
// has read and needs no more: their memory and disk blocks are free at once, so the file holds
// only what is still to be merged and the output's pages can take the memory. A file system that
// cannot do it keeps them until the file is closed.
void ReleaseMerged(int fd, std::uint64_t from, std::uint64_t size) {
#ifdef FALLOC_FL_PUNCH_HOLE
    constexpr std::uint64_t kPage = 4096;
    const std::uint64_t begin = (from + kPage - 1) / kPage * kPage;
    const std::uint64_t end = (from + size) / kPage * kPage;
    if (end > begin) {
        (void)::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, static_cast<off_t>(begin),
                          static_cast<off_t>(end - begin));
    }
#else
    (void)fd, (void)from, (void)size;
#endif
}

// The sort goes by digits of this many bits of the biased key, the lowest digit first.
constexpr unsigned kDigitBits = 11;
constexpr std::size_t kRadix = std::size_t{1} << kDigitBits;
constexpr unsigned kKeyDigits = (32 + kDigitBits - 1) / kDigitBits;

std::size_t DigitOf(std::uint64_t pair, unsigned digit) {
    return static_cast<std::size_t>(pair >> (32 + digit * kDigitBits)) & (kRadix - 1);
}

// Sorts n pairs by their keys alone, keeping pairs of equal keys in the order they come (record
// order), and drops those of records left out: a radix sort, one pass per digit of the key, each
// moving the pairs between pairs and spare. A digit that every key shares takes no pass.
// Returns the array that holds the sorted pairs first, or nullptr when cancelled.
std::uint64_t* SortPairs(std::uint64_t* pairs, std::uint64_t* spare, std::size_t n,
                         CCompileProgress& progress, bool report) {
    std::vector<std::size_t> counts(kKeyDigits * kRadix, 0);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t pair = pairs[i];
        if (pair == kLeftOutPair)
            continue;
        pairs[kept++] = pair;
        for (unsigned digit = 0; digit < kKeyDigits; ++digit)
            ++counts[digit * kRadix + DigitOf(pair, digit)];
    }
    n = kept;
    for (unsigned digit = 0; digit < kKeyDigits; ++digit) {
        if (progress.Cancelled())
            return nullptr;
        std::size_t* const next = counts.data() + digit * kRadix;
        if (std::find(next, next + kRadix, n) != next + kRadix)
            continue;
        std::size_t start = 0;
        for (std::size_t d = 0; d < kRadix; ++d)
            start += std::exchange(next[d], start);
        for (std::size_t i = 0; i < n; ++i)
            spare[next[DigitOf(pairs[i], digit)]++] = pairs[i];
        std::swap(pairs, spare);
        if (report)
            progress.Update(static_cast<double>(digit + 1) / kKeyDigits);
    }
    return pairs;
}

}  // namespace

// Collects whole entries into a buffer and hands full buffers to a second thread that writes
// them, so that moving entries and writing them overlap.
class CAsyncWriter {
public:
    CAsyncWriter(std::function<bool(const unsigned char*, std::size_t)> write,
                 std::size_t entrySize)
        : m_write(std::move(write)),
          m_nCapacity(std::max<std::size_t>(1, kWriteBuffer / entrySize) * entrySize),
          m_pFill(new unsigned char[m_nCapacity]),
          m_pSpare(new unsigned char[m_nCapacity]),
          m_thread([this] { Loop(); }) {}
    ~CAsyncWriter() { Stop(); }
    CAsyncWriter(const CAsyncWriter&) = delete;
    CAsyncWriter& operator=(const CAsyncWriter&) = delete;

    // Room for the next entry: its bytes are copied there by the caller.
    unsigned char* Next(std::size_t entrySize) {
        if (m_nUsed + entrySize > m_nCapacity)
            Hand();
        unsigned char* slot = m_pFill.get() + m_nUsed;
        m_nUsed += entrySize;
        return slot;
    }
    bool Failed() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bFailed;
    }
    // Writes what is left and waits for it; true when every write succeeded.
    bool Finish() {
        Hand();
        Stop();
        return !m_bFailed;
    }

private:
    void Hand() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait(lock, [this] { return m_nPending == 0; });
        if (m_nUsed == 0)
            return;
        std::swap(m_pFill, m_pSpare);
        m_nPending = m_nUsed;
        m_nUsed = 0;
        m_work.notify_one();
    }
    void Stop() {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_ready.wait(lock, [this] { return m_nPending == 0; });
            m_bStop = true;
        }
        m_work.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }
    void Loop() {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [this] { return m_nPending != 0 || m_bStop; });
            if (m_nPending == 0)
                return;
            const unsigned char* data = m_pSpare.get();
            const std::size_t size = m_nPending;
            const bool failed = m_bFailed;
            lock.unlock();
            const bool ok = failed || m_write(data, size);
            lock.lock();
            m_bFailed = m_bFailed || !ok;
            m_nPending = 0;
            m_ready.notify_one();
        }
    }

    std::function<bool(const unsigned char*, std::size_t)> m_write;
    const std::size_t m_nCapacity;
    std::unique_ptr<unsigned char[]> m_pFill;
    std::unique_ptr<unsigned char[]> m_pSpare;  // being written while m_nPending != 0
    std::size_t m_nUsed = 0;
    std::size_t m_nPending = 0;
    bool m_bFailed = false;
    bool m_bStop = false;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_ready;
    std::thread m_thread;
};

namespace {

// A run in the temporary file, read a buffer at a time.
struct RunStream {
    int fd;
    std::uint64_t offset;
    std::size_t left;
    std::size_t firstRecord;
    std::size_t entrySize;
    unsigned char* buffer;
    std::size_t bufferEntries;
    std::size_t filled = 0;
    std::size_t at = 0;
    bool* failed;
    std::uint64_t value = 0;
    const unsigned char* entry = nullptr;

    bool Advance() {
        if (at == filled) {
            if (left == 0)
                return false;
            const std::size_t n = std::min(left, bufferEntries);
            std::size_t done = 0;
            while (done < n * entrySize) {
                const ssize_t got = ::pread(fd, buffer + done, n * entrySize - done,
                                            static_cast<off_t>(offset + done));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0) {
                    *failed = true;
                    return false;
                }
                done += static_cast<std::size_t>(got);
            }
            ReleaseMerged(fd, offset, done);
            offset += done;
            left -= n;
            filled = n;
            at = 0;
        }
        entry = buffer + at * entrySize;
        ++at;
        // Runs hold whole chunks in record order: among equal keys the earlier run goes first.
        value = Pair(co::LoadInt32(entry + co::kRaKey), firstRecord);
        return true;
    }
};

// Moves the entries of streams into out in ascending order of their values. Checks the cancel
// flag every few thousand entries and reports progress when asked to.
template <class Stream>
bool MergeStreams(std::vector<Stream>& streams, std::size_t entrySize, CAsyncWriter& out,
                  CCompileProgress& progress, std::size_t total, bool report) {
    std::vector<Stream*> heap;
    for (Stream& s : streams) {
        if (s.Advance())
            heap.push_back(&s);
    }
    const auto later = [](const Stream* a, const Stream* b) { return a->value > b->value; };
    std::make_heap(heap.begin(), heap.end(), later);
    std::size_t done = 0;
    while (!heap.empty()) {
        Stream* top = heap.front();
        std::memcpy(out.Next(entrySize), top->entry, entrySize);
        if (top->Advance()) {
            // Sift the new head of the first stream down.
            std::size_t i = 0;
            const std::size_t n = heap.size();
            for (;;) {
                std::size_t child = 2 * i + 1;
                if (child >= n)
                    break;
                if (child + 1 < n && heap[child + 1]->value < heap[child]->value)
                    ++child;
                if (heap[child]->value >= top->value)
                    break;
                heap[i] = heap[child];
                i = child;
            }
            heap[i] = top;
        } else {
            std::pop_heap(heap.begin(), heap.end(), later);
            heap.pop_back();
        }
        if (++done % kMergeStep == 0) {
            if (progress.Cancelled() || out.Failed())
                return false;
            if (report)
                progress.Update(static_cast<double>(done) / static_cast<double>(total));
        }
    }
    return true;
}

}  // namespace

std::uint64_t sorted_entries::BytesPerRecord(std::size_t recordLength) {
    return std::uint64_t{recordLength} + sizeof(CRecordDecoder::Position) +
           2 * sizeof(std::uint64_t);
}

std::uint64_t sorted_entries::InMemoryBytes(std::uint64_t count, std::size_t recordLength,
                                            unsigned threads) {
    return count * BytesPerRecord(recordLength) + std::uint64_t{threads} * kWriteBuffer;
}

std::size_t sorted_entries::ChunkRecordsFor(std::uint64_t memory, std::size_t recordLength,
                                            unsigned threads) {
    // Besides the chunk: the output buffers and the program itself.
    const std::uint64_t fixed =
        std::uint64_t{threads} * kWriteBuffer + 2 * kWriteBuffer + (std::uint64_t{8} << 20);
    const std::uint64_t room = memory > fixed ? memory - fixed : 0;
    return static_cast<std::size_t>(
        std::max<std::uint64_t>(kMinChunk, room / BytesPerRecord(recordLength)));
}

struct CSortedEntries::Share {
    CHourCounts hours;
    int minKey = INT_MAX;
    int maxKey = INT_MIN;
    std::size_t shortAt = SIZE_MAX;      // the record at which the data file ended early
    std::vector<std::uint64_t> leftOut;  // records without a position, 1-based
};

CSortedEntries::CSortedEntries(const CRecordDecoder& decoder, CCompileProgress& progress,
                               IUserInteraction& ui)
    : m_decoder(decoder), m_progress(progress), m_ui(ui) {}

CSortedEntries::~CSortedEntries() {
    if (m_nSpillFd >= 0)
        ::close(m_nSpillFd);
}

std::uint64_t CSortedEntries::SpilledBytes() const {
    return m_nSpillSize;
}

std::string CSortedEntries::NoMemoryMessage() const {
    return "There is not enough memory to compile " + std::to_string(m_setup.count) +
           " records of " + std::to_string(m_nEntrySize) + " bytes.";
}

bool CSortedEntries::Fail(const std::string& message) {
    m_ui.ShowMessage(message, MessageIcon::Stop);
    return false;
}

bool CSortedEntries::Build(const Setup& setup) {
    m_setup = setup;
    m_setup.threads = std::clamp(setup.threads, 1u, 16u);
    m_nEntrySize = setup.recordLength + co::kFixedSize;
    m_nChunkRecords =
        std::clamp<std::size_t>(setup.chunkRecords, 1, std::max<std::size_t>(setup.count, 1));
    std::vector<Share> shares(m_setup.threads);
    // What the chunk needs is checked against the computer first: an allocation far beyond it
    // may still succeed and only fail once the pages are touched.
    const bool fits =
        std::uint64_t{m_nChunkRecords} * BytesPerRecord(setup.recordLength) <= MemoryLimit();
    if (fits) {
        m_pRecords = AllocateLargeArray<char>(m_nChunkRecords * setup.recordLength);
        m_pPositions = AllocateLargeArray<CRecordDecoder::Position>(m_nChunkRecords);
        m_pPairs = AllocateLargeArray<std::uint64_t>(m_nChunkRecords);
        m_pSpare = AllocateLargeArray<std::uint64_t>(m_nChunkRecords);
    }
    if (!m_pRecords || !m_pPositions || !m_pPairs || !m_pSpare) {
        m_pRecords.reset();
        m_pPositions.reset();
        m_pPairs.reset();
        m_pSpare.reset();
        return Fail(NoMemoryMessage());
    }

    const bool spill = m_nChunkRecords < setup.count;
    if (spill) {
        m_nSpillFd = OpenNamelessFile(setup.spillFolder);
        if (m_nSpillFd < 0) {
            // A folder that takes no new file: the system's place for temporary files.
            const char* tmp = std::getenv("TMPDIR");
            m_nSpillFd = OpenNamelessFile(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
        }
        if (m_nSpillFd < 0) {
            return Fail(FormatMessage("Unable to create a temporary file in \"%s\":\n%s",
                                      {setup.spillFolder, std::strerror(errno)}));
        }
    }
    m_progress.Enter(ProgressPhase::Decoding);
    for (std::size_t first = 0; first < setup.count; first += m_nChunkRecords) {
        const std::size_t n = std::min(m_nChunkRecords, setup.count - first);
        if (!DecodeChunk(first, n, shares, true))
            return false;
        if (spill) {
            if (!SortChunk(n, false) || !SpillChunk(first, n))
                return false;
        }
    }
    m_progress.Enter(ProgressPhase::Sorting);
    if (spill) {
        m_pRecords.reset();  // the merge needs the memory for reading the runs
        m_pPositions.reset();
        m_pPairs.reset();
        m_pSpare.reset();
    } else if (!SortChunk(setup.count, true)) {
        return false;
    }
    CHourCounts hours;
    m_nFirstKey = INT_MAX;
    m_nLastKey = INT_MIN;
    for (const Share& share : shares) {
        hours.Add(share.hours);
        m_nFirstKey = std::min(m_nFirstKey, share.minKey);
        m_nLastKey = std::max(m_nLastKey, share.maxKey);
    }
    m_anHourIndex = hours.Index();
    m_aLeftOut.clear();
    for (const Share& share : shares)
        m_aLeftOut.insert(m_aLeftOut.end(), share.leftOut.begin(), share.leftOut.end());
    std::sort(m_aLeftOut.begin(), m_aLeftOut.end());
    return true;
}

bool CSortedEntries::DecodeChunk(std::size_t first, std::size_t count, std::vector<Share>& shares,
                                 bool reportProgress) {
    CRawFile file;
    if (!file.Open(m_setup.dataPath)) {
        return Fail(FormatMessage("Unable to open file\n\"%s\"", {m_setup.dataPath}));
    }
    const std::size_t rl = m_setup.recordLength;
    const std::size_t blockRecords = std::max<std::size_t>(1, kReadBlock / rl);
    const auto threads = static_cast<unsigned>(
        std::min<std::size_t>(m_setup.threads, std::max<std::size_t>(1, count / 1024)));
    std::atomic<std::size_t> decoded{0};
    const std::size_t before = first;
    RunOnThreads(threads, [&](unsigned t) {
        Share& share = shares[t];
        const std::size_t from = first + count * t / threads;
        const std::size_t to = first + count * (t + 1) / threads;
        for (std::size_t at = from; at < to;) {
            if (m_progress.Cancelled())
                return;
            // The records are read into their place in the chunk and located while they are
            // still in the cache.
            const std::size_t want = std::min(blockRecords, to - at);
            char* const block = m_pRecords.get() + (at - first) * rl;
            const std::size_t got =
                file.ReadAt(static_cast<std::int64_t>(at * rl), block, want * rl) / rl;
            for (std::size_t i = 0; i < got; ++i) {
                const std::size_t slot = at + i - first;
                CRecordDecoder::Position& position = m_pPositions[slot];
                if (!m_decoder.Locate(block + i * rl, m_setup.leaveOutBlankPositions, position)) {
                    m_pPairs[slot] = kLeftOutPair;
                    share.leftOut.push_back(at + i + 1);
                    continue;
                }
                const int key = CRecordDecoder::RaKey(position);
                m_pPairs[slot] = Pair(key, at + i);
                share.hours.Add(key);
                share.minKey = std::min(share.minKey, key);
                share.maxKey = std::max(share.maxKey, key);
            }
            if (got < want) {
                share.shortAt = std::min(share.shortAt, at + got);
                return;
            }
            at += got;
            decoded.fetch_add(got, std::memory_order_relaxed);
            if (t == 0 && reportProgress) {
                m_progress.Update(static_cast<double>(before + decoded.load()) /
                                  static_cast<double>(m_setup.count));
            }
        }
    });
    if (m_progress.Cancelled())
        return false;
    std::size_t leftOut = 0;
    for (const Share& share : shares)
        leftOut += share.leftOut.size();
    m_nChunkLeftOut = leftOut - m_nLeftOutSoFar;
    m_nLeftOutSoFar = leftOut;
    std::size_t shortAt = SIZE_MAX;
    for (const Share& share : shares)
        shortAt = std::min(shortAt, share.shortAt);
    if (shortAt != SIZE_MAX) {
        return Fail(FormatMessage(
            "The data file \"%s\" ended after %d of %d records.",
            {m_setup.dataPath, std::to_string(shortAt), std::to_string(m_setup.count)}));
    }
    return true;
}

bool CSortedEntries::SortChunk(std::size_t count, bool reportProgress) {
    const std::uint64_t* const sorted =
        SortPairs(m_pPairs.get(), m_pSpare.get(), count, m_progress, reportProgress);
    if (sorted == m_pSpare.get())
        std::swap(m_pPairs, m_pSpare);
    return sorted != nullptr;
}

// Decodes the entries of the chunk's sorted pairs and hands them to write in order, a block of
// whole entries at a time. The blocks are decoded on several threads, each into a buffer of its
// own, and written one after the other in their order; the call returns once every block is
// written. False when a write fails, the compile is cancelled (then write is not called again)
// or not even one buffer can be had (then noMemory is set).
bool CSortedEntries::GatherInOrder(
    std::size_t first, std::size_t count,
    const std::function<bool(const unsigned char*, std::size_t)>& write, bool reportProgress,
    bool& noMemory) {
    const std::size_t es = m_nEntrySize;
    const std::size_t rl = m_setup.recordLength;
    const std::size_t blockEntries = std::max<std::size_t>(1, kWriteBuffer / es);
    const std::size_t blocks = (count + blockEntries - 1) / blockEntries;
    // One buffer per thread, all in one block; with less memory, fewer threads.
    const std::size_t bufferSize = blockEntries * es;
    auto buffers = static_cast<unsigned>(std::clamp<std::size_t>(blocks, 1, m_setup.threads));
    LargeBlock<unsigned char> memory;
    while (!(memory = AllocateLargeArray<unsigned char>(buffers * bufferSize)) && buffers > 1)
        --buffers;
    noMemory = !memory;
    if (noMemory)
        return false;
    const std::uint64_t* const pairs = m_pPairs.get();
    const char* const records = m_pRecords.get();
    const CRecordDecoder::Position* const positions = m_pPositions.get();
    std::atomic<std::size_t> claimed{0};
    std::mutex mutex;
    std::condition_variable turn;
    std::size_t written = 0;  // blocks written so far; the next block to write
    bool stop = false;
    RunOnThreads(buffers, [&](unsigned t) {
        unsigned char* const buffer = memory.get() + t * bufferSize;
        for (std::size_t b; (b = claimed.fetch_add(1)) < blocks;) {
            const std::size_t from = b * blockEntries;
            const std::size_t n = std::min(blockEntries, count - from);
            if (!m_progress.Cancelled()) {
                unsigned char* out = buffer;
                for (std::size_t i = from; i < from + n; ++i, out += es) {
                    if (i + 16 < from + n) {  // the records lie all over the chunk
                        const std::size_t ahead = RecordOf(pairs[i + 16]) - first;
                        for (std::size_t line = 0; line < rl; line += 64)
                            __builtin_prefetch(records + ahead * rl + line);
                        __builtin_prefetch(records + ahead * rl + rl - 1);
                        __builtin_prefetch(positions + ahead);
                    }
                    const std::size_t slot = RecordOf(pairs[i]) - first;
                    m_decoder.DecodeLocated(records + slot * rl, positions[slot], out);
                }
            }
            std::unique_lock<std::mutex> lock(mutex);
            turn.wait(lock, [&] { return written == b || stop; });
            if (stop)
                return;
            if (m_progress.Cancelled() || !write(buffer, n * es)) {
                stop = true;
                turn.notify_all();
                return;
            }
            ++written;
            turn.notify_all();
            lock.unlock();
            if (t == 0 && reportProgress)
                m_progress.Update(static_cast<double>(b + 1) / static_cast<double>(blocks));
        }
    });
    return written == blocks;
}

bool CSortedEntries::SpillChunk(std::size_t first, std::size_t count) {
    const std::uint64_t offset = m_nSpillSize;
    int error = 0;
    const std::size_t kept = count - m_nChunkLeftOut;
    bool noMemory = false;
    const bool written = GatherInOrder(
        first, kept,
        [this, &error](const unsigned char* data, std::size_t size) {
            if (WriteAll(m_nSpillFd, data, size))
                return true;
            error = errno;
            return false;
        },
        false, noMemory);
    if (noMemory)
        return Fail(NoMemoryMessage());
    if (!written && m_progress.Cancelled())
        return false;
    if (!written) {
        return Fail(FormatMessage("Unable to write the temporary file in \"%s\":\n%s",
                                  {m_setup.spillFolder, std::strerror(error)}));
    }
    m_nSpillSize += static_cast<std::uint64_t>(kept) * m_nEntrySize;
    m_aRuns.push_back({offset, kept, first});
    return true;
}

bool CSortedEntries::MergeRuns(CAsyncWriter& out) {
    const std::size_t es = m_nEntrySize;
    const std::uint64_t room = m_setup.mergeMemory > 2 * kWriteBuffer
                                   ? m_setup.mergeMemory - 2 * kWriteBuffer
                                   : std::uint64_t{0};
    const std::size_t bufferEntries = static_cast<std::size_t>(std::clamp<std::uint64_t>(
        room / m_aRuns.size() / es, 1, std::max<std::size_t>(1, (std::size_t{4} << 20) / es)));
    const LargeBlock<unsigned char> buffers =
        AllocateLargeArray<unsigned char>(bufferEntries * es * m_aRuns.size());
    if (!buffers) {
        return Fail(NoMemoryMessage());
    }
    bool failed = false;
    std::vector<RunStream> streams;
    for (std::size_t r = 0; r < m_aRuns.size(); ++r) {
        const Run& run = m_aRuns[r];
        streams.push_back(RunStream{m_nSpillFd, run.offset, run.count, run.firstRecord, es,
                                    buffers.get() + r * bufferEntries * es, bufferEntries, 0, 0,
                                    &failed});
    }
    const bool merged = MergeStreams(streams, es, out, m_progress, m_setup.count, true);
    if (failed) {
        Fail(FormatMessage("Unable to read the temporary file in \"%s\":\n%s",
                           {m_setup.spillFolder, std::strerror(errno)}));
        return false;
    }
    return merged;
}

bool CSortedEntries::Emit(const std::function<bool(const unsigned char*, std::size_t)>& write) {
    if (!Spilled()) {
        bool noMemory = false;
        const bool written =
            GatherInOrder(0, m_setup.count - m_aLeftOut.size(), write, true, noMemory);
        return written || (noMemory && Fail(NoMemoryMessage()));
    }
    CAsyncWriter out(write, m_nEntrySize);
    const bool merged = MergeRuns(out);
    const bool written = out.Finish();
    return merged && written;
}
