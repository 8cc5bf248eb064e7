// Writing the compiled catalogue (.zdc): the definition, the compiled user symbols, the first
// and last RA keys, the hour index and the sorted entries, little-endian and without gaps.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CCatforgeDoc;
class IUserInteraction;

inline constexpr const char* kCatalogMagic = "zdc0Data";
inline constexpr int kCatalogVersion = 1;

// Every byte of the catalogue before the entries themselves, ending with the entry count and
// the entry size, from doc's definition and its sorted and indexed compile table.
std::string EncodeCatalogHeader(const CCatforgeDoc& doc);

// The files a compile reads, each with what it is ("definition", "data file"): the catalogue
// is never written over one of them.
using CompileInputs = std::vector<std::pair<std::string, std::string>>;

// Asks for the output name ("Save Compiled Data Catalog As", proposing the definition's name
// with ".zdc"), writes the catalogue whole or not at all (CAtomicFile), and reports success.
// Returns false when the person cancels (no message), names one of inputs, or the file cannot
// be written (a stop message; any earlier file of that name is untouched).
bool WriteCompiledCatalog(const CCatforgeDoc& doc, IUserInteraction& ui,
                          const CompileInputs& inputs = {});

// Writes the catalogue to path without asking; false with error set when it fails.
[[nodiscard]] bool WriteCompiledCatalogTo(const CCatforgeDoc& doc, const std::string& path,
                                          std::string& error, bool& opened);
