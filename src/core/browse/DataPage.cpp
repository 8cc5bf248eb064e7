#include "core/browse/DataPage.h"

#include <algorithm>

#include "core/browse/RawFile.h"

std::string CutField(std::string_view record, const FieldDefinition& field) {
    const std::int64_t first = std::max<std::int64_t>(std::int64_t{field.m_nStartCol} - 1, 0);
    const std::int64_t last =
        std::min<std::int64_t>(std::int64_t{field.m_nEndCol} - 1, std::int64_t(record.size()) - 1);
    if (first > last)
        return {};
    std::string_view text =
        record.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1));
    // The text is zero-terminated: a NUL byte ends it.
    text = text.substr(0, text.find('\0'));
    return std::string(text);
}

void CDataPage::Load(const CRawFile& file, int recordLength,
                     const std::vector<FieldDefinition>& fields, std::int64_t firstRecord,
                     int pageSize) {
    m_aRows.clear();
    m_bEndReached = false;
    if (recordLength <= 0)
        return;
    // Only the start of each record up to the last field's end column is needed, so a huge
    // record length costs no more than the fields themselves.
    int needed = 0;
    for (const FieldDefinition& field : fields)
        needed = std::max(needed, field.m_nEndCol);
    needed = std::min(needed, recordLength);
    std::string record(static_cast<std::size_t>(needed), '\0');
    for (int r = 0; r < pageSize; ++r) {
        // A record the file does not hold whole ends the page.
        const std::int64_t offset = (firstRecord + r) * recordLength;
        if (offset < 0 || file.Length() - offset < recordLength ||
            file.ReadAt(offset, record.data(), record.size()) < record.size()) {
            m_bEndReached = true;
            break;
        }
        std::vector<std::string> row;
        row.reserve(fields.size());
        for (const FieldDefinition& field : fields)
            row.push_back(CutField(record, field));
        m_aRows.push_back(std::move(row));
    }
}
