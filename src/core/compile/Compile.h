// The compile: from a definition and its ASCII data file to the compiled catalogue (.zdc).
#pragma once

#include <string>

#include "core/compile/Epoch.h"

class CCatforgeDoc;
class IUserInteraction;

struct CompileOptions {
    // Data file to read instead of the definition's own (the command line's --data).
    std::string dataFile;
    // Threads that decode records; 0 takes one per core. The output is the same either way.
    unsigned threads = 0;
};

// Tools / Compile: set up the epoch, count, decode, sort, index and write. The output name
// is asked through ui (title "Save Compiled Data Catalog As", the proposed name). Messages
// go to ui. Returns true when the catalogue was written.
bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options = {});

// The proposed output name: the definition's path with the extension of its file name
// replaced by ".zdc" (added when the name has none); "Untitled.zdc" for a definition never
// saved.
std::string ProposedCatalogName(const std::string& definitionPath);
