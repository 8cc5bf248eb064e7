// The data of a CDS catalogue as one stream of lines, and its fixed-length copy.
//
// The data may be one file (plain or gzip), the data part of a single-file table (the lines
// after the ReadMe's last line of dashes), or pieces NAME.00, NAME.01, ... read in order as
// one file. The copy holds every record that has a position, padded with blanks to the
// described line length, followed by the columns the import appends; blanks beyond the
// described length are dropped, any other byte there is an error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/import/CdsImporter.h"

class CDataSource;

class CCdsDataLines {
public:
    CCdsDataLines();
    ~CCdsDataLines();
    CCdsDataLines(const CCdsDataLines&) = delete;
    CCdsDataLines& operator=(const CCdsDataLines&) = delete;

    // Reads files in order; the first skipLines lines of the first file are not data.
    [[nodiscard]] bool Open(const std::vector<std::string>& files, int skipLines);
    // The next line without its end of line; false at the end or on an error (Error() says
    // why). The view is valid until the next call.
    [[nodiscard]] bool Next(std::string_view& line);

    std::int64_t LineNumber() const { return m_nLine; }  // in its own file, 1-based
    const std::string& FileName() const;
    bool CrLf() const { return m_nFirstEol == 2; }
    bool Compressed() const { return m_bCompressed; }
    const std::string& Error() const { return m_strError; }

private:
    bool OpenFile(std::size_t index);

    std::vector<std::string> m_astrFiles;
    std::size_t m_nFile = 0;
    std::unique_ptr<CDataSource> m_pSource;
    std::string m_buffer;
    std::size_t m_nAt = 0;
    bool m_bEnd = false;
    std::int64_t m_nLine = 0;
    int m_nFirstEol = 0;
    bool m_bCompressed = false;
    std::string m_strError;
};

struct CdsCopyReport {
    std::int64_t m_nLinesRead = 0;
    std::int64_t m_nRecords = 0;  // written
    std::int64_t m_nPadded = 0;
    std::int64_t m_nTrimmed = 0;  // lines with blanks beyond the described length
    std::int64_t m_nBlankLines = 0;
    std::int64_t m_nDropped = 0;             // records without a position
    std::vector<std::string> m_astrDropped;  // the first of them: file, line and label
    int m_nEolBytes = 1;
    bool m_bCompressed = false;

    std::string Text(const std::string& output, int recordLength) const;
    static constexpr std::size_t kNamedDropped = 50;
};

// Fills profile from the first records of the data.
[[nodiscard]] bool ProfileCdsData(const std::vector<std::string>& files, int skipLines,
                                  const CdsByteDescription& description, CdsDataProfile& profile,
                                  std::string& error);

// Writes the fixed-length copy of the data to output (whole or not at all).
[[nodiscard]] bool WriteCdsCopy(const std::vector<std::string>& files, int skipLines,
                                const CdsRecordPlan& plan, const std::string& output,
                                CdsCopyReport& report, std::string& error);
