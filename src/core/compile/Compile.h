// The compile: from a definition and its ASCII data file to the compiled catalogue (.zdc).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/compile/Epoch.h"

class CCatforgeDoc;
class IUserInteraction;

struct CompileOptions {
    // Data file to read instead of the definition's own (the command line's --data).
    std::string dataFile;
    // Threads that decode records; 0 takes one per core. The output is the same either way.
    unsigned threads = 0;
    // The catalogue to write; when empty the name is asked through the user interaction.
    std::string outputPath;
    // Memory the compile table may take, in bytes; 0 decides by itself: the whole table in
    // memory when it fits in half of the available memory, else in sorted runs spilled to a
    // temporary file and merged.
    std::uint64_t maxMemory = 0;
    // Records whose right ascension or declination fields are all blank are left out of the
    // catalogue and reported after the success message; with this set they are compiled as
    // they read, at RA 0h, Dec 0 (before precession).
    bool keepBlankPositions = false;
};

// The refusals made before any file is touched: a record length below 1 or too large, and
// fields used by the definition that it does not have. Shown through ui; true when none.
bool CheckCompileSettings(const CCatforgeDoc& doc, IUserInteraction& ui);

// Tools / Compile: set up the epoch, count, decode, sort, index and write. The output name
// is options.outputPath, or else asked through ui (title "Save Compiled Data Catalog As", the
// proposed name). Messages, progress and the cancel question go through ui. Returns true when
// the catalogue was written; a cancelled compile writes nothing and says nothing. Records left
// out for want of a position are named in a warning after the success message; a data file in
// which no record gives a position is refused.
bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options = {});

// CompileDefinition with the records decoded and sorted in chunks of chunkRecords (0: chosen
// from options.maxMemory and the memory available; the record count or more: all at once).
// A chunked compile asks for the output name before decoding.
bool CompileDefinitionInChunks(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                               const CompileOptions& options, std::size_t chunkRecords);

// The warning about records left out: their count and the first of their 1-based numbers.
std::string DescribeLeftOut(const std::vector<std::uint64_t>& records, std::uint64_t total);

// The proposed output name: the definition's path with the extension of its file name
// replaced by ".zdc" (added when the name has none); "Untitled.zdc" for a definition never
// saved.
std::string ProposedCatalogName(const std::string& definitionPath);
