// Writing the compiled catalogue (.zdc): the definition, the compiled user symbols, the first
// and last RA keys, the hour index and the sorted entries, little-endian and without gaps.
#pragma once

#include <string>

#include "core/model/UserInteraction.h"

class CCatforgeDoc;
class IUserInteraction;

inline constexpr const char* kCatalogMagic = "zdc0Data";
inline constexpr int kCatalogVersion = 1;

// Every byte of the catalogue before the entries themselves, ending with the entry count and
// the entry size, from doc's definition and its sorted and indexed compile table.
std::string EncodeCatalogHeader(const CCatforgeDoc& doc);

// The question for the output name: "Save Compiled Data Catalog As", proposing the
// definition's name with ".zdc".
FileDialogRequest CatalogSaveRequest(const CCatforgeDoc& doc);

// Asks for the output name (unless outputPath gives it), writes the catalogue through a
// temporary file that is renamed over the target when complete, and reports success.
// Returns false when the person cancels the question or the write (no message) or the file
// cannot be written (a stop message); any earlier file of that name is untouched.
bool WriteCompiledCatalog(const CCatforgeDoc& doc, IUserInteraction& ui,
                          const std::string& outputPath = {});

// Writes the catalogue to path without asking; false with error set when it fails. With
// progress, reports the writing through it and abandons the file when it asks to cancel.
[[nodiscard]] bool WriteCompiledCatalogTo(const CCatforgeDoc& doc, const std::string& path,
                                          std::string& error, bool& opened,
                                          IUserInteraction* progress = nullptr);
