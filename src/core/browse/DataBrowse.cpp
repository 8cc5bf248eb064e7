#include "core/browse/DataBrowse.h"

#include <algorithm>

#include "core/model/UserInteraction.h"

bool CDataBrowse::Open(const std::string& dataFile, int recordLength,
                       const std::vector<FieldDefinition>& fields, IUserInteraction& ui) {
    if (recordLength <= 0) {
        ui.ShowMessage(
            "Before browsing the data, please use the\n\"General\" dialog to enter the "
            "correct\nlength of a record in the database.",
            MessageIcon::Stop);
        return false;
    }
    if (!m_file.Open(dataFile)) {
        ui.ShowMessage(FormatMessage("Unable to open file \"%s\"", {dataFile}), MessageIcon::Stop);
        return false;
    }
    if (m_file.Length() % recordLength != 0) {
        ui.ShowMessage(
            FormatMessage("Warning - the database file size is not\nan exact multiple of the "
                          "record length\nof %1d bytes. That normally indicates a\nproblem in "
                          "the file; make sure that all the\nrecords are the same length, and "
                          "that the\nlast line in the file ends in a carriage return.",
                          {std::to_string(recordLength)}),
            MessageIcon::Warning);
    }
    m_strDataFile = dataFile;
    m_nRecordLength = recordLength;
    m_nRecordCount = m_file.Length() / recordLength;
    m_aFields = fields;
    return true;
}

void CDataBrowse::Start(int pageSize, std::int64_t firstRecord) {
    m_nPageSize = std::max(pageSize, 1);
    m_nFirstRecord = std::max<std::int64_t>(firstRecord, 0);
    LoadPage();
}

void CDataBrowse::Next() {
    m_nFirstRecord += m_nPageSize;
    LoadPage();
}

void CDataBrowse::Prev() {
    m_nFirstRecord = std::max<std::int64_t>(m_nFirstRecord - m_nPageSize, 0);
    LoadPage();
}

void CDataBrowse::LoadPage() {
    // Each page opens the file afresh, so a file that went away leaves the last page shown.
    CRawFile file;
    if (file.Open(m_strDataFile)) {
        m_page.Load(file, m_nRecordLength, m_aFields, m_nFirstRecord, m_nPageSize);
        m_nPageFirstRecord = m_nFirstRecord;
        m_bEndReached = m_page.EndReached();
        m_strStatus = FormatMessage(
            "Records %1d to %1d of %1d",
            {std::to_string(m_nFirstRecord + 1), std::to_string(m_nFirstRecord + m_page.RowsRead()),
             std::to_string(m_nRecordCount)});
    }
    m_bAtFirstPage = m_nFirstRecord == 0;
}
