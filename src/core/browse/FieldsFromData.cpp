#include "core/browse/FieldsFromData.h"

#include <algorithm>
#include <cstdint>

#include "core/browse/RawFile.h"
#include "core/model/UserInteraction.h"

namespace {

// The most of a file that is looked at for a sample.
constexpr std::size_t kSampleBytes = std::size_t{1} << 20;

FieldDefinition MakeField(const std::string& name, const std::string& unit,
                          const ColumnRange& columns) {
    FieldDefinition field;
    field.m_strName = name;
    field.m_strUnit = unit;
    field.m_nStartCol = columns.first;
    field.m_nEndCol = columns.last;
    return field;
}

ColumnRange Columns(const FieldDefinition& field) {
    return {field.m_nStartCol, field.m_nEndCol};
}

}  // namespace

DataSample SampleLines(std::string_view head, std::size_t maxLines, bool atEnd) {
    DataSample sample;
    std::size_t pos = 0;
    while (pos < head.size() && sample.lines.size() < maxLines) {
        const std::size_t end = head.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            if (atEnd)
                sample.lines.emplace_back(head.substr(pos));
            break;
        }
        std::size_t next = end + 1;
        if (head[end] == '\r' && next < head.size() && head[next] == '\n')
            ++next;
        else if (head[end] == '\r' && next == head.size() && !atEnd)
            break;  // the LF may follow beyond the head
        if (sample.lines.empty())
            sample.endOfLineBytes = static_cast<int>(next - end);
        sample.lines.emplace_back(head.substr(pos, end - pos));
        pos = next;
    }
    for (const std::string& line : sample.lines) {
        const int length = static_cast<int>(std::min<std::size_t>(line.size(), kLastFieldColumn));
        if (!sample.lines.empty() && line.size() != sample.lines.front().size())
            sample.sameLength = false;
        sample.width = std::max(sample.width, length);
    }
    return sample;
}

bool SampleDataFile(const std::string& path, std::size_t maxLines, DataSample& sample,
                    std::string& error) {
    CRawFile file;
    if (!file.Open(path)) {
        error = FormatMessage("Unable to open file \"%s\".", {path});
        return false;
    }
    const auto size = static_cast<std::size_t>(std::min<std::int64_t>(file.Length(), kSampleBytes));
    std::string head(size, '\0');
    head.resize(file.ReadAt(0, head.data(), size));
    sample = SampleLines(head, maxLines, head.size() == static_cast<std::size_t>(file.Length()));
    return true;
}

std::vector<bool> BlankColumns(const DataSample& sample) {
    std::vector<bool> blank(static_cast<std::size_t>(sample.width), true);
    for (const std::string& line : sample.lines) {
        const std::size_t length = std::min(line.size(), blank.size());
        for (std::size_t i = 0; i < length; ++i) {
            if (line[i] != ' ')
                blank[i] = false;
        }
    }
    return blank;
}

std::vector<ColumnRange> SuggestFields(const DataSample& sample) {
    const std::vector<bool> blank = BlankColumns(sample);
    std::vector<ColumnRange> fields;
    for (std::size_t i = 0; i < blank.size(); ++i) {
        if (blank[i])
            continue;
        std::size_t last = i;
        while (last + 1 < blank.size() && !blank[last + 1])
            ++last;
        fields.push_back({static_cast<int>(i) + 1, static_cast<int>(last) + 1});
        i = last;
    }
    return fields;
}

std::optional<int> ProposedRecordLength(const DataSample& sample) {
    if (sample.lines.empty() || !sample.sameLength || sample.endOfLineBytes == 0)
        return std::nullopt;
    return sample.width + sample.endOfLineBytes;
}

ColumnRange DragRange(int pressColumn, int releaseColumn,
                      const std::vector<ColumnRange>& suggestions, bool leftPressColumn) {
    const int first = std::clamp(std::min(pressColumn, releaseColumn), 1, kLastFieldColumn);
    const int last = std::clamp(std::max(pressColumn, releaseColumn), 1, kLastFieldColumn);
    if (first == last && !leftPressColumn) {
        for (const ColumnRange& suggestion : suggestions) {
            if (suggestion.Contains(first))
                return suggestion;
        }
    }
    return {first, last};
}

std::optional<std::string> CFieldLayout::Problem(const std::string& name,
                                                 const ColumnRange& columns) const {
    if (name.empty())
        return std::string("You must enter a field name!");
    if (columns.first < 1 || columns.last > kLastFieldColumn || columns.last < columns.first)
        return std::string("The columns must lie in the range 1-9999.");
    for (const auto* fields : {&m_aExisting, &m_aAdded}) {
        for (const FieldDefinition& field : *fields) {
            if (Columns(field).Overlaps(columns)) {
                return FormatMessage(
                    "Columns %d-%d overlap field \"%s\" (columns %d-%d).",
                    {std::to_string(columns.first), std::to_string(columns.last), field.m_strName,
                     std::to_string(field.m_nStartCol), std::to_string(field.m_nEndCol)});
            }
        }
    }
    for (const auto* fields : {&m_aExisting, &m_aAdded}) {
        for (const FieldDefinition& field : *fields) {
            if (field.m_strName == name)
                return FormatMessage("There is already a field named \"%s\".", {name});
        }
    }
    return std::nullopt;
}

std::optional<std::string> CFieldLayout::Add(const std::string& name, const std::string& unit,
                                             const ColumnRange& columns) {
    if (std::optional<std::string> problem = Problem(name, columns))
        return problem;
    const auto at = std::find_if(m_aAdded.begin(), m_aAdded.end(), [&](const FieldDefinition& f) {
        return f.m_nStartCol > columns.first;
    });
    m_aAdded.insert(at, MakeField(name, unit, columns));
    return std::nullopt;
}

int CFieldLayout::AddSuggestions(const std::vector<ColumnRange>& suggestions,
                                 const std::string& prefix) {
    int added = 0;
    for (const ColumnRange& columns : suggestions) {
        if (!Add(prefix + std::to_string(columns.first), "", columns))
            ++added;
    }
    return added;
}

void CFieldLayout::RemoveAdded(std::size_t index) {
    if (index < m_aAdded.size())
        m_aAdded.erase(m_aAdded.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> CFieldLayout::AddedAt(int column) const {
    for (std::size_t i = 0; i < m_aAdded.size(); ++i) {
        if (Columns(m_aAdded[i]).Contains(column))
            return i;
    }
    return std::nullopt;
}
