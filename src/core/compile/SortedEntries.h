// The decoded entries of a compile in ascending RA key order, entries with equal keys in record
// order.
//
// Records are read chunk by chunk on several threads, and each is located (its position worked
// out, which gives its key); each chunk is sorted as (key, record number) pairs, the records
// themselves never move. The rest of each entry is decoded only when the entries are gathered in
// key order, on several threads, so that this work overlaps the writing. A catalogue that fits
// in memory is one chunk, gathered straight into the output. A larger one is written chunk by
// chunk, each as one sorted run, to a temporary file that has no name (or loses it at once),
// and the runs are merged into the output; the file disappears when it is closed, however the
// compile ends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/compile/LargeBlock.h"
#include "core/compile/RecordDecoder.h"

class CAsyncWriter;
class CCompileProgress;
class IUserInteraction;

namespace sorted_entries {

// Bytes read from the data file at a time by each decoding thread.
inline constexpr std::size_t kReadBlock = std::size_t{1} << 20;
// Bytes of each output buffer (one per thread that gathers entries, and two for the merge).
inline constexpr std::size_t kWriteBuffer = std::size_t{1} << 20;

// Memory a record takes while its chunk is sorted: the record, its position and its sort pair
// (twice: the sort moves the pairs from one array to another).
std::uint64_t BytesPerRecord(std::size_t recordLength);
// Memory the whole table takes when held at once: records, positions, sort pairs and buffers.
std::uint64_t InMemoryBytes(std::uint64_t count, std::size_t recordLength, unsigned threads);
// Fewer records per chunk would make the merge read its runs an entry or two at a time.
inline constexpr std::size_t kMinChunk = 4096;

// Records per chunk that keep a chunked compile within memory bytes; at least kMinChunk, so a
// limit below the few megabytes of buffers is exceeded.
std::size_t ChunkRecordsFor(std::uint64_t memory, std::size_t recordLength, unsigned threads);

}  // namespace sorted_entries

class CSortedEntries {
public:
    struct Setup {
        std::string dataPath;
        std::size_t recordLength = 0;
        std::size_t count = 0;
        // Records per chunk; count or more keeps everything in memory.
        std::size_t chunkRecords = 0;
        unsigned threads = 1;
        // Where the runs of a chunked compile go, and the memory their merge may take.
        std::string spillFolder;
        std::uint64_t mergeMemory = 0;
        // Records without a position (CRecordDecoder::HasPosition) get no entry.
        bool leaveOutBlankPositions = false;
    };

    CSortedEntries(const CRecordDecoder& decoder, CCompileProgress& progress, IUserInteraction& ui);
    ~CSortedEntries();
    CSortedEntries(const CSortedEntries&) = delete;
    CSortedEntries& operator=(const CSortedEntries&) = delete;

    // Decodes and sorts every record. False when cancelled (no message) or when the memory,
    // the data file or the temporary file fails (a stop message).
    [[nodiscard]] bool Build(const Setup& setup);
    // Spills to a temporary file (more than one chunk).
    [[nodiscard]] bool Spilled() const { return !m_aRuns.empty(); }
    [[nodiscard]] std::uint64_t SpilledBytes() const;

    // The smallest and largest key and the hour index, once built (count > 0).
    [[nodiscard]] int FirstKey() const { return m_nFirstKey; }
    [[nodiscard]] int LastKey() const { return m_nLastKey; }
    [[nodiscard]] const std::array<int, 24>& HourIndex() const { return m_anHourIndex; }
    // The 1-based numbers of the records left out for want of a position, in file order.
    [[nodiscard]] const std::vector<std::uint64_t>& LeftOut() const { return m_aLeftOut; }

    // Hands every entry in order to write, in blocks of whole entries, from a second thread.
    // False when write fails or the compile is cancelled (then write is not called again);
    // a failure to read the temporary file gives a stop message.
    [[nodiscard]] bool Emit(const std::function<bool(const unsigned char*, std::size_t)>& write);

private:
    struct Run {
        std::uint64_t offset;
        std::size_t count;
        std::size_t firstRecord;
    };
    struct Share;

    bool DecodeChunk(std::size_t first, std::size_t count, std::vector<Share>& shares,
                     bool reportProgress);
    bool SortChunk(std::size_t count, bool reportProgress);
    bool GatherInOrder(std::size_t first, std::size_t count,
                       const std::function<bool(const unsigned char*, std::size_t)>& write,
                       bool reportProgress, bool& noMemory);
    bool SpillChunk(std::size_t first, std::size_t count);
    bool MergeRuns(CAsyncWriter& out);
    bool Fail(const std::string& message);
    std::string NoMemoryMessage() const;

    const CRecordDecoder& m_decoder;
    CCompileProgress& m_progress;
    IUserInteraction& m_ui;
    Setup m_setup;
    std::size_t m_nEntrySize = 0;
    LargeBlock<char> m_pRecords;                        // the records of one chunk, in record order
    LargeBlock<CRecordDecoder::Position> m_pPositions;  // theirs
    LargeBlock<std::uint64_t> m_pPairs;                 // biased key << 32 | record number
    LargeBlock<std::uint64_t> m_pSpare;                 // where the sort moves them
    std::size_t m_nChunkRecords = 0;
    int m_nSpillFd = -1;
    std::uint64_t m_nSpillSize = 0;
    std::vector<Run> m_aRuns;
    int m_nFirstKey = 0;
    int m_nLastKey = 0;
    std::array<int, 24> m_anHourIndex{};
    std::vector<std::uint64_t> m_aLeftOut;
    std::size_t m_nLeftOutSoFar = 0;  // of the chunks decoded so far
    std::size_t m_nChunkLeftOut = 0;  // of the chunk decoded last
};
