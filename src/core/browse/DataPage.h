// One page of a fixed-length data file: a run of whole records read at a record offset and
// cut into the defined fields. Only the page's own bytes are read, so paging through a file
// of many gigabytes costs the same as through a small one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/DefinitionRecords.h"

class CRawFile;

// The text of a field in a record: the bytes at columns start..end (1-based, inclusive),
// unchanged, ended early by a NUL byte. A field reaching past the record gives the part
// inside it; one lying wholly outside gives an empty text.
std::string CutField(std::string_view record, const FieldDefinition& field);

class CDataPage {
public:
    // Reads up to pageSize records of recordLength bytes from record firstRecord on, cutting
    // each into the fields. Sets EndReached when the file ended before the page was full
    // (a trailing partial record is never shown). recordLength must be above 0.
    void Load(const CRawFile& file, int recordLength, const std::vector<FieldDefinition>& fields,
              std::int64_t firstRecord, int pageSize);

    // One entry per record read; each holds one text per field, in field order.
    [[nodiscard]] const std::vector<std::vector<std::string>>& Rows() const { return m_aRows; }
    [[nodiscard]] int RowsRead() const { return static_cast<int>(m_aRows.size()); }
    [[nodiscard]] bool EndReached() const { return m_bEndReached; }

private:
    std::vector<std::vector<std::string>> m_aRows;
    bool m_bEndReached = false;
};
