// The definition document: everything the user states about one catalogue data file, and the
// compile's work area. Members are listed in the order the definition file stores them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/model/DefinitionRecords.h"
#include "core/model/DocumentBase.h"

// Size of the data file path field, terminator included.
inline constexpr int kMaxDataFilePath = 260;

// Largest definition file the reader loads. Real ones are a few kilobytes; anything larger is
// refused as damaged without being read whole.
inline constexpr std::size_t kMaxDefinitionFileSize = std::size_t{64} << 20;

class CCatforgeDoc : public CDocumentBase {
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

    // The data file path as a string (up to its terminator), and setting it (cut to 259 bytes).
    std::string GetDataFile() const;
    void SetDataFile(const std::string& path);

    // The definition, without the compile work area, compares equal member by member.
    bool SameDefinition(const CCatforgeDoc& other) const;

    // Encodes the definition as the bytes of a .zdd file (version 2).
    std::string EncodeDefinition() const;
    // Replaces the definition with the one encoded in bytes. On failure the document is
    // reset and error says why (offset and what was wrong).
    bool DecodeDefinition(const std::string& bytes, std::string& error);

    // General
    std::string m_strTitle;
    std::array<char, kMaxDataFilePath> m_szDataFile{};
    std::string m_strNotes;
    int m_nRecordLength = 0;

    // Fields
    std::vector<FieldDefinition> m_aFields;

    // Position
    int m_nRaNotation = 0;
    int m_nRaHoursField = kNoField;
    int m_nRaMinutesField = kNoField;
    int m_nRaSecondsField = kNoField;
    int m_nDecNotation = 0;
    int m_nDecSignField = kNoField;
    int m_nDecDegreesField = kNoField;
    int m_nDecMinutesField = kNoField;
    int m_nDecSecondsField = kNoField;
    std::string m_strEpoch;

    // Labels, size and magnitudes
    int m_nLabelCount = 1;
    std::array<int, 3> m_anLabelField{kNoField, kNoField, kNoField};
    std::array<std::string, 3> m_astrLabelPrefix;
    int m_nSizeFields = 0;
    int m_nSizeUnits = 0;
    int m_nSizeMeaning = 1;
    int m_nMajorAxisField = kNoField;
    int m_nMinorAxisField = kNoField;
    int m_bPositionAngle = 0;
    int m_nPositionAngleField = kNoField;
    int m_nMagnitudeCount = 0;
    std::array<int, 3> m_anMagnitudeField{kNoField, kNoField, kNoField};

    // Object type and colour
    int m_nDefaultType = 0;
    int m_nDefaultSymbol = 0;
    int m_nColourMode = 0;
    Colour m_crScreenColour = 0x00FFFFFF;
    Colour m_crPrinterColour = 0x00000000;
    int m_nTypeMode = 0;

    // User symbols and type rules
    std::vector<UserSymbol> m_aUserSymbols;
    std::vector<TypeRule> m_aTypeRules;

    // Compile work area, never saved.
    int m_nRecordCount = 0;
    int m_nEntrySize = 0;
    std::unique_ptr<unsigned char[]> m_pEntries;
    int m_nFirstSortKey = 0;
    int m_nLastSortKey = 0;
    std::array<int, 24> m_anHourIndex{};
};
