// Writing the compiled catalogue (.zdc): the definition, the compiled user symbols, the first
// and last RA keys, the hour index and the sorted entries, little-endian and without gaps.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CCatforgeDoc;
class IUserInteraction;

// The first bytes of every compiled catalogue.
inline constexpr std::string_view kCatalogMagic = "zdc0Data";
inline constexpr std::size_t kCatalogMagicSize = kCatalogMagic.size();
inline constexpr int kCatalogVersion = 1;

// Every byte of the catalogue before the entries themselves, ending with the entry count and
// the entry size, from doc's definition and its sorted and indexed compile table.
std::string EncodeCatalogHeader(const CCatforgeDoc& doc);

// The files a compile reads, each with what it is ("definition", "data file"): the catalogue
// is never written over one of them.
using CompileInputs = std::vector<std::pair<std::string, std::string>>;

// Asks for the output name ("Save Compiled Data Catalog As", proposing the definition's name
// with ".zdc"); nothing when the person cancels.
std::optional<std::string> AskCatalogName(const CCatforgeDoc& doc, IUserInteraction& ui);

// True, after a stop message, when path names one of inputs (the same file, through links
// too): the catalogue is never written over a file the compile reads.
bool OutputIsAnInput(const std::string& path, const CompileInputs& inputs, IUserInteraction& ui);

// The entries of a catalogue, in order: hands them to write (in blocks of whole entries) and
// returns false when write failed or the entries could not all be had.
using CatalogEntrySource =
    std::function<bool(const std::function<bool(const unsigned char*, std::size_t)>& write)>;

// Writes the catalogue to path whole or not at all (CAtomicFile): the header from doc, then the
// entries from source. Reports success or failure through ui; when cancelled() is true after source
// failed, removes the temporary file and says nothing. Any earlier file of that name is untouched
// unless the write succeeds.
bool WriteCatalogFile(const CCatforgeDoc& doc, const std::string& path, IUserInteraction& ui,
                      const CatalogEntrySource& source, const std::function<bool()>& cancelled);
