// The definition document: the definition (its members are described in Definition.h), the
// document life cycle around it, and the compile's work area.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/model/Definition.h"
#include "core/model/DefinitionRecords.h"
#include "core/model/DocumentBase.h"

// Largest definition file the reader loads. Real ones are a few kilobytes; anything larger is
// refused as damaged without being read whole.
inline constexpr std::size_t kMaxDefinitionFileSize = std::size_t{64} << 20;

class CCatforgeDoc : public CDocumentBase, public Definition {
public:
    CCatforgeDoc();
    ~CCatforgeDoc() override;

    void DeleteContents() override;
    // Reads a definition file. A file that cannot be opened leaves the document as it was;
    // any other failure (not a definition file, damaged, too large) shows one stop message
    // naming the file and leaves a reset, untitled document.
    bool OnOpenDocument(const std::string& path) override;
    // Writes the definition file through a temporary file renamed over the target, so a failed
    // save leaves the previous file as it was and shows "Unable to open file ... for writing.".
    bool OnSaveDocument(const std::string& path) override;
    FileDialogRequest DocumentFileRequest() const override;

    // The definition, without the compile work area, compares equal member by member.
    bool SameDefinition(const Definition& other) const { return Definition::operator==(other); }

    // Encodes the definition as the bytes of a .zdd file (version 2).
    std::string EncodeDefinition() const;
    // Replaces the definition with the one encoded in bytes. On failure the document is
    // reset and error says why (offset and what was wrong).
    bool DecodeDefinition(const std::string& bytes, std::string& error);

    // Compile work area, never saved.
    int m_nRecordCount = 0;
    int m_nEntrySize = 0;
    std::unique_ptr<unsigned char[]> m_pEntries;
    int m_nFirstSortKey = 0;
    int m_nLastSortKey = 0;
    std::array<int, 24> m_anHourIndex{};
};
