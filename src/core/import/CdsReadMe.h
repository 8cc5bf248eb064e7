// A CDS ReadMe (the standard description that comes with VizieR catalogues), as far as a
// definition needs it: the catalogue's designation and title, the file summary with each
// file's record length (Lrecl), and the "Byte-by-byte Description" of each data file with
// the notes that follow it.
//
// The text may be ASCII, Latin-1 or UTF-8, with tabs (taken as stops every eight columns) and
// bullets before the rows of the file summary. A byte-by-byte table may be divided into
// sections by lines of dashes and headings; it ends at the next part of the ReadMe. A
// journal's single-file table carries its data after the last line of dashes.
//
// Parsing works on the text in memory and never reads outside it. A ReadMe whose summary or
// byte-by-byte tables cannot be read fails with a message naming the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One row of a byte-by-byte table: bytes m_nFirstByte..m_nLastByte (1-based, inclusive).
struct CdsField {
    int m_nFirstByte = 0;
    int m_nLastByte = 0;
    std::string m_strFormat;  // Fortran-like: A7, I4, F5.2, E10.3
    std::string m_strUnits;   // "---" for none
    std::string m_strLabel;
    std::string m_strExplanation;  // continuation lines joined with single spaces
    int m_nLine = 0;               // 1-based line of the ReadMe

    bool IsText() const { return !m_strFormat.empty() && m_strFormat[0] == 'A'; }
};

// One entry of the file summary.
struct CdsFileEntry {
    std::string m_strName;
    int m_nLrecl = 0;  // bytes per line without the end of line; 0 when not stated
    std::string m_strExplanation;
};

// One byte-by-byte table and the files it describes (names or patterns such as table?.dat).
struct CdsByteDescription {
    std::vector<std::string> m_astrFiles;
    std::vector<CdsField> m_aFields;
    std::string m_strNotes;  // the "Note (n): ..." text after the table, lines kept
    int m_nLine = 0;         // line of the "Byte-by-byte Description of file:" heading

    // The last byte of the last-ending field.
    int LastByte() const;
};

class CCdsReadMe {
public:
    // Reads the ReadMe text. On failure Error() says why, naming the line, and the members
    // are left empty.
    [[nodiscard]] bool Parse(std::string_view text);
    const std::string& Error() const { return m_strError; }

    // The description of a data file, matched by its name without folder or ".gz"; nullptr
    // when none describes it.
    const CdsByteDescription* FindDescription(const std::string& fileName) const;
    // The summary's Lrecl for a data file (matched as above), 0 when not stated.
    int RecordLengthOf(const std::string& fileName) const;
    // The summary's explanation of a data file, empty when not stated.
    std::string ExplanationOf(const std::string& fileName) const;

    std::string m_strCatalogue;  // designation from the first line, e.g. J/A+A/511/A56
    std::string m_strTitle;      // rest of the first line
    std::vector<CdsFileEntry> m_aFiles;
    std::vector<CdsByteDescription> m_aDescriptions;
    std::string m_strHeader;  // the text before the first byte-by-byte table
    // The first line of data in a single-file table (data after the last line of dashes),
    // 1-based; 0 when the ReadMe holds no data.
    int m_nDataLine = 0;

private:
    bool Fail(int line, const std::string& message);

    std::string m_strError;
};

// The bare name a ReadMe would use for a data file: no folder, no ".gz" ending.
std::string CdsBareFileName(const std::string& path);
// Text quoted in a message, readable: Latin-1 bytes shown as their characters, control bytes
// as \xNN.
std::string CdsReadable(std::string_view text);
// True when name matches pattern, where * and ? are wildcards and [..] a set of characters.
bool CdsNameMatches(std::string_view pattern, std::string_view name);
