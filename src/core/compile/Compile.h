// The compile: from a definition and its ASCII data file to the compiled catalogue (.zdc).
#pragma once

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
    // Records whose right ascension or declination fields are all blank are left out of the
    // catalogue and reported after the success message; with this set they are compiled as
    // they read, at RA 0h, Dec 0 (before precession).
    bool keepBlankPositions = false;
};

// Tools / Compile: set up the epoch, count, decode, sort, index and write. The output name
// is asked through ui (title "Save Compiled Data Catalog As", the proposed name). Messages
// go to ui. Returns true when the catalogue was written. Records left out for want of a
// position are named in a warning after the success message; a data file in which no record
// gives a position is refused.
bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options = {});

// The warning about records left out: their count and the first of their 1-based numbers.
std::string DescribeLeftOut(const std::vector<std::uint64_t>& records, std::uint64_t total);

// The proposed output name: the definition's path up to its last "." plus ".zdc";
// "Untitled.zdc" for a definition never saved.
std::string ProposedCatalogName(const std::string& definitionPath);
