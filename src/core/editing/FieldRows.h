// The working list of the Field Definitions dialog, without any widget: the rows in their
// order, the selected row, where a new or edited field goes, and the overlap check on OK.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/model/DefinitionRecords.h"

class CFieldRows {
public:
    CFieldRows() = default;
    explicit CFieldRows(std::vector<FieldDefinition> fields) : m_aRows(std::move(fields)) {}

    [[nodiscard]] const std::vector<FieldDefinition>& Rows() const { return m_aRows; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_aRows.size()); }
    [[nodiscard]] const FieldDefinition& Row(int row) const {
        return m_aRows[static_cast<std::size_t>(row)];
    }

    // The selected row, -1 for none.
    [[nodiscard]] int Selected() const { return m_nSelected; }
    void Select(int row) { m_nSelected = row >= 0 && row < Count() ? row : -1; }

    // Where a field starting at startCol goes: before the first row whose start column is
    // greater than or equal to it, else at the end.
    [[nodiscard]] int InsertionRow(int startCol) const;
    // Inserts the field at its insertion row and returns that row. The selection stays on
    // the row it was on.
    int Insert(const FieldDefinition& field);
    // Removes a row; the selection goes with it, or stays on the row it was on.
    void Remove(int row);
    // Removes the row and inserts the edited field afresh; returns its new row.
    int Replace(int row, const FieldDefinition& field);

    // The first pair of neighbouring rows, from the top, where the upper one ends at or
    // after the column where the lower one starts: the upper row's index.
    [[nodiscard]] std::optional<int> FirstOverlap() const;

private:
    std::vector<FieldDefinition> m_aRows;
    int m_nSelected = -1;
};

// The dialog's texts.
inline constexpr const char* kNoFieldSelected = "No field is currently selected.";
std::string DeleteFieldQuestion(const std::string& name);
std::string OverlapMessage(const std::string& upperName, const std::string& lowerName);
