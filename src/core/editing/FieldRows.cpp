#include "core/editing/FieldRows.h"

#include "core/model/UserInteraction.h"

int CFieldRows::InsertionRow(int startCol) const {
    for (int row = 0; row < Count(); ++row) {
        if (Row(row).m_nStartCol >= startCol)
            return row;
    }
    return Count();
}

int CFieldRows::Insert(const FieldDefinition& field) {
    const int row = InsertionRow(field.m_nStartCol);
    m_aRows.insert(m_aRows.begin() + row, field);
    if (m_nSelected >= row)
        ++m_nSelected;
    return row;
}

void CFieldRows::Remove(int row) {
    if (row < 0 || row >= Count())
        return;
    m_aRows.erase(m_aRows.begin() + row);
    if (m_nSelected == row) {
        m_nSelected = -1;
    } else if (m_nSelected > row) {
        --m_nSelected;
    }
}

int CFieldRows::Replace(int row, const FieldDefinition& field) {
    Remove(row);
    return Insert(field);
}

std::optional<int> CFieldRows::FirstOverlap() const {
    for (int row = 1; row < Count(); ++row) {
        if (Row(row - 1).m_nEndCol >= Row(row).m_nStartCol)
            return row - 1;
    }
    return std::nullopt;
}

std::string DeleteFieldQuestion(const std::string& name) {
    return FormatMessage("Do you want to delete field \"%s\"", {name});
}

std::string OverlapMessage(const std::string& upperName, const std::string& lowerName) {
    return FormatMessage("Fields \"%s\" and \"%s\" overlap.\nPlease correct the problem.",
                         {upperName, lowerName});
}
