// Turning the byte-by-byte description of one data file in a CDS ReadMe into a definition.
//
// Every described field becomes a field named by its Label with its Units. Then the importer
// fills what it recognises:
// - position: the RA and Dec fields are grouped into position sets by their labels (RAh,
//   RA1950h, RAJ2000, DE-1900, ...), each set gets its epoch (from its label, the
//   explanations of its fields, then the notes and the ReadMe's text; a bare year before 1984
//   is Besselian), and one set is chosen: a J2000.0 set when there is one, otherwise the most
//   precise set with an epoch of its own. RA in hours is notation 0, 1 or 2, RA in degrees
//   (unit deg under any RA-like label) notation 3; Dec in sign, degrees, minutes, seconds or
//   in signed degrees. A set whose units carry a scale (0.1s, mas, 10-3s ...) or whose sign is
//   inside the degrees is read through decimal columns appended to each record of the
//   fixed-length copy (the definition has no scale factor); the original bytes stay as they
//   are.
// - labels: up to three name or catalogue-number fields, chosen from how many records each
//   labels and tells apart in the data; a catalogue number gets its catalogue's prefix
//   ("HR ", "Sh2-") and is read from a left-justified copy appended to each record;
// - magnitudes: apparent magnitudes of the object only (not differences, errors,
//   extinctions, colours or absolute magnitudes), V first, at most three;
// - size: MajAxis/MinAxis-like labels (also Diam, Size) in deg, arcmin or arcsec, and a
//   position angle only together with a size.
// The report says what was chosen and why, and what the user may want to change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/import/CdsReadMe.h"

class CCatforgeDoc;

struct CdsImportReport {
    std::string m_strFile;                    // the data file the description is for
    std::vector<std::string> m_astrMapped;    // what the importer set and why, one line each
    std::vector<std::string> m_astrToChoose;  // what the user may want to decide or change

    // "Imported ...\nMapped:\n  ...\nStill to choose:\n  ..."
    std::string Text() const;
};

// What the data says about the fields of a description: for each field (by its index in the
// description, the first 64 only) how many records give it a non-blank value and how many
// different values there are, and for each record which fields are non-blank.
struct CdsDataProfile {
    std::int64_t m_nRecords = 0;
    std::vector<std::int64_t> m_anNonBlank;
    std::vector<std::int64_t> m_anDistinct;
    std::vector<std::int64_t> m_anIndented;  // values with blanks before them
    std::vector<std::uint64_t> m_anMask;     // per record, bit k: field k non-blank

    // Fills the profile from the lines of a data file (at most limit lines are looked at).
    void Begin(const CdsByteDescription& description);
    void Add(const CdsByteDescription& description, std::string_view line);
    void End();

    static constexpr std::int64_t kMaxRecords = 200000;

private:
    std::vector<std::vector<std::uint64_t>> m_aHashes;
};

// A decimal (or text) column appended to each record of the fixed-length copy.
struct CdsDerivedColumn {
    struct Part {
        int m_nFirstByte = 0;  // of the described line, 1-based
        int m_nLastByte = 0;
        double m_dScale = 1.0;  // the part's reading times this is its share of the value
    };
    std::string m_strName;
    std::vector<Part> m_aParts;
    int m_nSignFirst = 0;  // a sign field (0: the sign is inside the first part)
    int m_nSignLast = 0;
    bool m_bText = false;  // a left-justified copy of the first part's text
    int m_nWidth = 0;
    int m_nDecimals = 0;

    // The column's bytes for one described line (shorter lines read as blank beyond their end).
    void Append(std::string_view line, std::string& out) const;
};

// How the fixed-length copy of the data is written for a definition.
struct CdsRecordPlan {
    int m_nLineLength = 0;  // the described line length, before any appended column
    // Byte ranges of the position's RA fields and Dec fields (sign excluded); a record in
    // which either group is all blank (no digit) has no position and is left out.
    std::vector<std::pair<int, int>> m_aRaBytes;
    std::vector<std::pair<int, int>> m_aDecBytes;
    // Label fields (byte ranges) and prefixes, for naming records in the report.
    std::vector<std::pair<std::pair<int, int>, std::string>> m_aLabels;
    std::vector<CdsDerivedColumn> m_aDerived;

    int DerivedWidth() const;
    // True when the line has a position.
    bool HasPosition(std::string_view line) const;
    // The label the record would get.
    std::string LabelOf(std::string_view line) const;
};

struct CdsImportOptions {
    const CdsDataProfile* m_pProfile = nullptr;  // the data's profile, when it was read
    // Columns may be appended to each record (the data is written as a fixed-length copy).
    bool m_bAppendColumns = false;
};

class CCdsImporter {
public:
    // Replaces the definition in doc with one for fileName as readMe describes it. dataPath
    // is the data file the definition names, recordLength its record length (end of line
    // included) before any appended column, which must hold every field. On failure Error()
    // says why and doc is untouched. The modified flag is left to the caller.
    [[nodiscard]] bool Import(const CCdsReadMe& readMe, const std::string& fileName,
                              const std::string& dataPath, int recordLength, CCatforgeDoc& doc,
                              const CdsImportOptions& options = {});

    const std::string& Error() const { return m_strError; }
    const CdsImportReport& Report() const { return m_report; }
    CdsImportReport& Report() { return m_report; }
    const CdsRecordPlan& Plan() const { return m_plan; }

    // The line length (without end of line) the data file should have: the summary's Lrecl,
    // or the last described byte when that is larger or no Lrecl is given.
    static int LineLengthOf(const CCdsReadMe& readMe, const std::string& fileName);

    // The epoch named in text ("J2000" gives "J2000.0"), empty when none is found. With
    // bareYears, a year on its own ("1875", "1900.0") counts too.
    static std::string FindEpoch(const std::string& text, bool bareYears = false);

private:
    std::string m_strError;
    CdsImportReport m_report;
    CdsRecordPlan m_plan;
};
