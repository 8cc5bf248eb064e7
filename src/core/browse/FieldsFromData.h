// Laying fields out on the data itself: the first lines of a line-oriented data file, the
// columns that are blank in every one of them (likely field boundaries), the record length
// they suggest, and the fields a person marks on them by dragging across columns.
// Works before any record length is known; nothing here touches a widget.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/DefinitionRecords.h"

// Columns beyond this cannot hold a field.
inline constexpr int kLastFieldColumn = 9999;
// How many lines of a data file fields are laid out on.
inline constexpr std::size_t kFieldsFromDataLines = 200;

// A run of 1-based columns, first..last inclusive.
struct ColumnRange {
    int first = 1;
    int last = 1;

    bool operator==(const ColumnRange&) const = default;
    [[nodiscard]] bool Contains(int column) const { return column >= first && column <= last; }
    [[nodiscard]] bool Overlaps(const ColumnRange& other) const {
        return first <= other.last && other.first <= last;
    }
};

// The first lines of a data file, without their end-of-line bytes.
struct DataSample {
    std::vector<std::string> lines;
    // End-of-line bytes of the first line: 1 (LF or CR), 2 (CR LF), 0 (none seen).
    int endOfLineBytes = 0;
    // The longest sampled line, in columns.
    int width = 0;
    // Every sampled line has the same length.
    bool sameLength = true;
};

// Cuts the head of a file into at most maxLines lines. A line ends at LF, CR LF or a lone
// CR; a last line without an end is kept only when the head is the whole file (atEnd).
DataSample SampleLines(std::string_view head, std::size_t maxLines, bool atEnd);

// Reads up to maxLines lines from the start of the file at path (never more than 1 MB).
// False with error set when the file cannot be read.
[[nodiscard]] bool SampleDataFile(const std::string& path, std::size_t maxLines, DataSample& sample,
                                  std::string& error);

// For each column 1..width: true when it is blank (a space, or past the line's end) in every
// sampled line. Element 0 stands for column 1.
std::vector<bool> BlankColumns(const DataSample& sample);

// The runs of columns holding something in at least one line, separated by blank columns:
// the fields the data suggests, left to right.
std::vector<ColumnRange> SuggestFields(const DataSample& sample);

// The record length a fixed-length file with these lines has: line length plus end of line.
// Nothing when the lines differ in length (the file must be padded first) or none was seen.
std::optional<int> ProposedRecordLength(const DataSample& sample);

// The columns a drag from pressColumn to releaseColumn covers, either direction, kept within
// 1..kLastFieldColumn. A click (press and release on one column, the pointer never having left
// it) inside a suggested field takes that whole field; a drag that left the column and came
// back takes the one column.
ColumnRange DragRange(int pressColumn, int releaseColumn,
                      const std::vector<ColumnRange>& suggestions, bool leftPressColumn = false);

// The fields laid out on the data: those the definition already has, and those added here.
class CFieldLayout {
public:
    explicit CFieldLayout(std::vector<FieldDefinition> existing = {})
        : m_aExisting(std::move(existing)) {}

    [[nodiscard]] const std::vector<FieldDefinition>& Existing() const { return m_aExisting; }
    // The new fields, ordered by start column.
    [[nodiscard]] const std::vector<FieldDefinition>& Added() const { return m_aAdded; }

    // Why a field named name over columns cannot be added; nothing when it can. Checked in
    // this order: name empty, columns outside 1..9999, columns taken by an existing or an
    // added field, name used by one of them.
    [[nodiscard]] std::optional<std::string> Problem(const std::string& name,
                                                     const ColumnRange& columns) const;
    // Adds the field when Problem finds nothing; returns the problem otherwise.
    std::optional<std::string> Add(const std::string& name, const std::string& unit,
                                   const ColumnRange& columns);
    // Adds every suggestion that no field touches yet, named "<prefix><first column>";
    // returns how many were added.
    int AddSuggestions(const std::vector<ColumnRange>& suggestions, const std::string& prefix);
    void RemoveAdded(std::size_t index);

    // The added field covering column, if any.
    [[nodiscard]] std::optional<std::size_t> AddedAt(int column) const;

private:
    std::vector<FieldDefinition> m_aExisting;
    std::vector<FieldDefinition> m_aAdded;
};
