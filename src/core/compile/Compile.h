// The compile: from a definition and its ASCII data file to the compiled catalogue (.zdc).
#pragma once

#include <cstdint>
#include <string>

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
};

// The refusals made before any file is touched: a record length below 1 or too large, and
// fields used by the definition that it does not have. Shown through ui; true when none.
bool CheckCompileSettings(const CCatforgeDoc& doc, IUserInteraction& ui);

// Tools / Compile: set up the epoch, count, decode, sort, index and write. The output name
// is asked through ui (title "Save Compiled Data Catalog As", the proposed name) unless
// options name it. Messages, progress and the request to cancel go through ui. Returns true
// when the catalogue was written.
bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options = {});

// The proposed output name: the definition's path up to its last "." plus ".zdc";
// "Untitled.zdc" for a definition never saved.
std::string ProposedCatalogName(const std::string& definitionPath);
