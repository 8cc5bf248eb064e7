// Browsing a data file a page at a time (Tools / Browse Data): the checks made before the
// browser opens, and the paging state it shows. The file stays open, read-only, for as long
// as this object lives; each page is read afresh and nothing of earlier pages is kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/browse/DataPage.h"
#include "core/browse/RawFile.h"
#include "core/model/DefinitionRecords.h"

class IUserInteraction;

class CDataBrowse {
public:
    // Refuses a record length of 0 or less and a file that cannot be opened, and warns when
    // the file length is not a whole multiple of the record length; all through ui.
    // True when browsing can start.
    [[nodiscard]] bool Open(const std::string& dataFile, int recordLength,
                            const std::vector<FieldDefinition>& fields, IUserInteraction& ui);

    // Sets the rows per page (at least 1) and shows the page from firstRecord on.
    void Start(int pageSize, std::int64_t firstRecord = 0);
    // The page after this one (no upper bound), and the one before it (not before record 0).
    void Next();
    void Prev();

    // Reads the page from the first record on. When the file cannot be opened, the page
    // and its numbers keep what they showed.
    void LoadPage();

    [[nodiscard]] const std::vector<FieldDefinition>& Fields() const { return m_aFields; }
    [[nodiscard]] const CDataPage& Page() const { return m_page; }
    // The number of the first record of the page shown, 0-based.
    [[nodiscard]] std::int64_t PageFirstRecord() const { return m_nPageFirstRecord; }
    [[nodiscard]] int RecordLength() const { return m_nRecordLength; }
    [[nodiscard]] std::int64_t RecordCount() const { return m_nRecordCount; }
    [[nodiscard]] std::int64_t FirstRecord() const { return m_nFirstRecord; }
    [[nodiscard]] int PageSize() const { return m_nPageSize; }
    [[nodiscard]] bool AtFirstPage() const { return m_bAtFirstPage; }
    [[nodiscard]] bool EndReached() const { return m_bEndReached; }

    // "Records <first> to <last> of <count>", as of the last page that was read.
    [[nodiscard]] const std::string& StatusText() const { return m_strStatus; }
    [[nodiscard]] bool PrevEnabled() const { return m_nFirstRecord != 0; }
    [[nodiscard]] bool NextEnabled() const { return !m_bEndReached; }

private:
    CRawFile m_file;  // held open while browsing
    std::string m_strDataFile;
    std::vector<FieldDefinition> m_aFields;
    int m_nRecordLength = 0;
    std::int64_t m_nRecordCount = 0;
    std::int64_t m_nFirstRecord = 0;
    int m_nPageSize = 1;
    bool m_bAtFirstPage = true;
    bool m_bEndReached = false;
    CDataPage m_page;
    std::int64_t m_nPageFirstRecord = 0;
    std::string m_strStatus;
};
