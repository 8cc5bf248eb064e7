#include "core/compile/Compile.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "core/compile/CatalogObject.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/CompileProgress.h"
#include "core/compile/DataFile.h"
#include "core/compile/RecordDecoder.h"
#include "core/compile/SortedEntries.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

namespace {

// Memory the system can give without swapping, in bytes.
std::uint64_t AvailableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string name;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> name >> kilobytes >> unit) {
        if (name == "MemAvailable:")
            return kilobytes * 1024;
    }
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0
               ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize)
               : std::uint64_t{1} << 30;
}

}  // namespace

bool CheckCompileSettings(const CCatforgeDoc& doc, IUserInteraction& ui) {
    if (doc.m_nRecordLength < 1) {
        ui.ShowMessage(FormatMessage("The record length is %d.\nPlease set the length of a "
                                     "record (at least 1 byte)\nin the general properties.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    if (doc.m_nRecordLength > INT_MAX - static_cast<int>(catalog_object::kFixedSize)) {
        ui.ShowMessage(FormatMessage("The record length of %d bytes is too large.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    std::string problem;
    if (!CheckUsedFields(doc, problem)) {
        ui.ShowMessage(problem, MessageIcon::Stop);
        return false;
    }
    return true;
}

bool CompileDefinitionInChunks(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                               const CompileOptions& options, std::size_t chunkRecords) {
    // Refuse what cannot be read before touching any file.
    if (!CheckCompileSettings(doc, ui))
        return false;

    SetUpEpoch(doc.m_strEpoch, epoch);

    CCompileProgress progress(ui);
    progress.Enter(ProgressPhase::Counting);
    const auto [shownName, path] = ChooseDataFile(doc, options.dataFile);
    int count = 0;
    if (!CountRecords(path, shownName, doc.m_nRecordLength, count, ui))
        return false;
    doc.m_pEntries.reset();
    doc.m_nRecordCount = count;
    doc.m_nEntrySize = doc.m_nRecordLength + static_cast<int>(catalog_object::kFixedSize);
    if (progress.Cancelled())
        return false;

    const auto records = static_cast<std::size_t>(count);
    const auto recordLength = static_cast<std::size_t>(doc.m_nRecordLength);
    unsigned threads = options.threads;
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, 16u);
    std::uint64_t memory = options.maxMemory;
    if (chunkRecords == 0) {
        if (memory == 0 &&
            sorted_entries::InMemoryBytes(records, recordLength, threads) > AvailableMemory() / 2) {
            memory = AvailableMemory() / 2;
        }
        chunkRecords =
            memory == 0 || sorted_entries::InMemoryBytes(records, recordLength, threads) <= memory
                ? records
                : sorted_entries::ChunkRecordsFor(memory, recordLength, threads);
    }

    // The output's name, asked for when not given; never a file the compile reads. A compile
    // that spills its runs beside the output needs it first.
    const CompileInputs inputs = {{"definition", doc.GetPathName()}, {"data file", path}};
    std::string output = options.outputPath;
    const auto settleOutput = [&] {
        if (output.empty()) {
            const std::optional<std::string> chosen = AskCatalogName(doc, ui);
            if (!chosen)
                return false;
            output = *chosen;
        }
        return !OutputIsAnInput(output, inputs, ui);
    };
    const bool spills = chunkRecords < records;
    if ((spills || !output.empty()) && !settleOutput())
        return false;

    const CRecordDecoder decoder(doc, epoch);
    CSortedEntries entries(decoder, progress, ui);
    CSortedEntries::Setup setup;
    setup.dataPath = path;
    setup.recordLength = static_cast<std::size_t>(doc.m_nRecordLength);
    setup.count = records;
    setup.chunkRecords = chunkRecords;
    setup.threads = threads;
    setup.spillFolder = std::filesystem::path(output).parent_path().string();
    if (setup.spillFolder.empty())
        setup.spillFolder.assign(1, '.');  // not = ".": GCC 12 -O2 warns -Wrestrict falsely
    setup.mergeMemory = memory;
    setup.leaveOutBlankPositions = !options.keepBlankPositions;
    if (!entries.Build(setup))
        return false;
    const std::vector<std::uint64_t>& leftOut = entries.LeftOut();
    doc.m_nRecordCount = count - static_cast<int>(leftOut.size());
    if (doc.m_nRecordCount == 0) {
        ui.ShowMessage(FormatMessage("No record of \"%s\" gives a position (%d records read);\n"
                                     "nothing was compiled.",
                                     {shownName, std::to_string(count)}),
                       MessageIcon::Stop);
        return false;
    }
    doc.m_nFirstSortKey = entries.FirstKey();
    doc.m_nLastSortKey = entries.LastKey();
    doc.m_anHourIndex = entries.HourIndex();

    if (output.empty() && !settleOutput())
        return false;
    if (progress.Cancelled())
        return false;
    progress.Enter(ProgressPhase::Writing);
    if (!WriteCatalogFile(
            doc, output, ui,
            [&entries](const std::function<bool(const unsigned char*, std::size_t)>& write) {
                return entries.Emit(write);
            },
            [&progress] { return progress.Cancelled(); })) {
        return false;
    }
    if (!leftOut.empty()) {
        ui.ShowMessage(DescribeLeftOut(leftOut, static_cast<std::uint64_t>(count)),
                       MessageIcon::Warning);
    }
    return true;
}

bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options) {
    return CompileDefinitionInChunks(doc, epoch, ui, options, 0);
}

std::string DescribeLeftOut(const std::vector<std::uint64_t>& records, std::uint64_t total) {
    constexpr std::size_t kNamed = 10;
    std::string text = "Left out " + std::to_string(records.size()) + " of " +
                       std::to_string(total) + " records that give no position (record";
    text += records.size() == 1 ? " " : "s ";
    for (std::size_t i = 0; i < records.size() && i < kNamed; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(records[i]);
    if (records.size() > kNamed)
        text += " and " + std::to_string(records.size() - kNamed) + " more";
    return text + "); catforge-cli compile --keep-blank-positions keeps them at RA 0h, Dec 0.";
}

std::string ProposedCatalogName(const std::string& definitionPath) {
    if (definitionPath.empty())
        return "Untitled.zdc";
    // Only the file name's extension is replaced; a name that starts with its only dot (a
    // hidden file) has none.
    const std::size_t nameStart = definitionPath.rfind('/') + 1;  // 0 without a folder
    const std::size_t dot = definitionPath.rfind('.');
    if (dot == std::string::npos || dot <= nameStart)
        return definitionPath + ".zdc";
    return definitionPath.substr(0, dot) + ".zdc";
}
