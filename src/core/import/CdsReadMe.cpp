#include "core/import/CdsReadMe.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int kMaxByteNumber = 10000000;
constexpr std::size_t kDefaultFormatColumn = 8;

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i]))
            return false;
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word) {
    if (word.size() > text.size())
        return std::string_view::npos;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (StartsWithNoCase(text.substr(i), word))
            return i;
    }
    return std::string_view::npos;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view line) {
    return Trim(line).empty();
}

// A rule line: at least a few dashes and nothing else.
bool IsDashLine(std::string_view line) {
    line = Trim(line);
    return line.size() >= 3 && line.find_first_not_of('-') == std::string_view::npos;
}

// Splits off the next whitespace-separated token.
std::string_view NextToken(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    std::size_t j = i;
    while (j < text.size() && !IsSpace(text[j]))
        ++j;
    const std::string_view token = text.substr(i, j - i);
    text.remove_prefix(j);
    return token;
}

// Collapses runs of blanks into one space.
std::string Collapse(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : Trim(text)) {
        if (IsSpace(c)) {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// The lines of text without their ends, tabs expanded to the next multiple of eight columns
// so that indentation compares as it looks.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string expanded;
        for (char c : line) {
            if (c == '\t')
                expanded.append(8 - expanded.size() % 8, ' ');
            else
                expanded += c;
        }
        lines.push_back(std::move(expanded));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Removes a bullet (a non-ASCII sign such as a Latin-1 or UTF-8 multiplication sign or dot)
// and the blanks around it from the front of a summary row. True when there was one.
bool StripBullet(std::string_view& row) {
    std::size_t i = 0;
    while (i < row.size() && IsSpace(row[i]))
        ++i;
    std::size_t j = i;
    while (j < row.size() && static_cast<unsigned char>(row[j]) >= 0x80)
        ++j;
    if (j == i || j >= row.size() || !IsSpace(row[j]))
        return false;
    while (j < row.size() && IsSpace(row[j]))
        ++j;
    row.remove_prefix(j);
    return true;
}

// A Fortran-like format as a byte-by-byte row gives it: A7, I4, F5.2, E10.3, D12.5.
bool IsFormat(std::string_view token) {
    if (token.size() < 2 || std::string_view("AIFEDaifed").find(token[0]) == std::string_view::npos)
        return false;
    std::size_t i = 1;
    while (i < token.size() && IsDigit(token[i]))
        ++i;
    if (i == 1)
        return false;
    if (i < token.size() && token[i] == '.') {
        ++i;
        while (i < token.size() && IsDigit(token[i]))
            ++i;
    }
    return i == token.size();
}

// A row of a byte-by-byte table: a byte range ("1- 7" or "25") and a format after it.
bool IsFieldRow(std::string_view row) {
    std::size_t pos = 0;
    while (pos < row.size() && IsSpace(row[pos]))
        ++pos;
    if (pos >= row.size() || !IsDigit(row[pos]))
        return false;
    while (pos < row.size() && IsDigit(row[pos]))
        ++pos;
    std::size_t after = pos;
    while (after < row.size() && IsSpace(row[after]))
        ++after;
    if (after < row.size() && row[after] == '-') {
        pos = after + 1;
        while (pos < row.size() && IsSpace(row[pos]))
            ++pos;
        if (pos >= row.size() || !IsDigit(row[pos]))
            return false;
        while (pos < row.size() && IsDigit(row[pos]))
            ++pos;
    }
    std::string_view tail = row.substr(pos);
    return IsFormat(NextToken(tail));
}

bool IsByteByByteHeading(std::string_view line) {
    line = Trim(line);
    return StartsWithNoCase(line, "Byte-by-byte Description") ||
           StartsWithNoCase(line, "Byte-per-byte Description");
}

// Where a new part of the ReadMe begins: a heading such as "References:", a rule of "=",
// a byte-by-byte heading or the closing "(End)".
bool IsSectionStart(std::string_view line) {
    if (line.empty() || IsSpace(line[0]))
        return false;
    if (IsByteByByteHeading(line) || line[0] == '=' || StartsWithNoCase(line, "(End)")) {
        return true;
    }
    if (StartsWithNoCase(line, "Note"))
        return false;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 40)
        return false;
    return std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (Lower(c) >= 'a' && Lower(c) <= 'z') || c == ' ' || c == '-' || c == '_';
    });
}

// Reads an unsigned decimal number at text[pos]; false when there is none or it is too big.
bool ReadNumber(std::string_view text, std::size_t& pos, int& value) {
    if (pos >= text.size() || !IsDigit(text[pos]))
        return false;
    long long v = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        v = v * 10 + (text[pos] - '0');
        if (v > kMaxByteNumber)
            return false;
        ++pos;
    }
    value = static_cast<int>(v);
    return true;
}

bool MatchOne(std::string_view pattern, std::size_t p, char c, std::size_t& next) {
    if (pattern[p] == '?') {
        next = p + 1;
        return true;
    }
    if (pattern[p] == '[') {
        const std::size_t close = pattern.find(']', p + 2);
        if (close != std::string_view::npos) {
            std::size_t i = p + 1;
            const bool negate = pattern[i] == '!' || pattern[i] == '^';
            if (negate)
                ++i;
            bool found = false;
            for (; i < close; ++i) {
                if (i + 2 < close && pattern[i + 1] == '-') {
                    found = found || (c >= pattern[i] && c <= pattern[i + 2]);
                    i += 2;
                } else {
                    found = found || c == pattern[i];
                }
            }
            next = close + 1;
            return found != negate;
        }
    }
    next = p + 1;
    return pattern[p] == c;
}

}  // namespace

int CdsByteDescription::LastByte() const {
    int last = 0;
    for (const CdsField& field : m_aFields)
        last = std::max(last, field.m_nLastByte);
    return last;
}

bool CdsNameMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, s = 0;
    std::size_t starP = std::string_view::npos, starS = 0;
    while (s < name.size()) {
        std::size_t next = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starS = s;
        } else if (p < pattern.size() && MatchOne(pattern, p, name[s], next)) {
            p = next;
            ++s;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string CdsBareFileName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0)
        name.resize(name.size() - 3);
    return name;
}

std::string CdsReadable(std::string_view text) {
    // Valid UTF-8 stays as it is; any other byte above 127 is taken as Latin-1.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        std::size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        bool valid = length > 0 && i + length <= text.size() && c < 0xF5;
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool CCdsReadMe::Fail(int line, const std::string& message) {
    m_strError = line > 0 ? "line " + std::to_string(line) + ": " + message : message;
    m_strCatalogue.clear();
    m_strTitle.clear();
    m_strHeader.clear();
    m_aFiles.clear();
    m_aDescriptions.clear();
    m_nDataLine = 0;
    return false;
}

bool CCdsReadMe::Parse(std::string_view text) {
    m_strError.clear();
    m_strCatalogue.clear();
    m_strTitle.clear();
    m_strHeader.clear();
    m_aFiles.clear();
    m_aDescriptions.clear();
    m_nDataLine = 0;
    const std::vector<std::string> lines = SplitLines(text);
    auto number = [](std::size_t index) { return static_cast<int>(index + 1); };

    // A single-file table (a journal's machine-readable table) has its data after the last
    // line of dashes: lines there that are not a rule, a heading or the closing "(End)".
    std::size_t n = lines.size();
    {
        std::size_t lastDash = n;
        for (std::size_t k = n; k-- > 0;) {
            if (IsDashLine(lines[k])) {
                lastDash = k;
                break;
            }
        }
        // Only after a table: some field row comes before the rule.
        bool rows = false;
        for (std::size_t k = 0; k < lastDash && !rows; ++k)
            rows = IsFieldRow(lines[k]);
        bool data = false;
        for (std::size_t k = lastDash + 1; rows && k < n; ++k) {
            const std::string& line = lines[k];
            if (IsBlankLine(line))
                continue;
            if (line[0] == '=' || IsSectionStart(line) || StartsWithNoCase(line, "Note")) {
                data = false;
                break;
            }
            data = true;
        }
        if (data) {
            m_nDataLine = number(lastDash + 1);
            n = lastDash + 1;
        }
    }

    std::size_t top = 0;
    while (top < n && IsBlankLine(lines[top]))
        ++top;
    if (top < n) {
        std::string_view first = lines[top];
        m_strCatalogue = std::string(NextToken(first));
        m_strTitle = Collapse(first);
        // AAS tables begin "Title: ..." (continued on indented lines).
        if (StartsWithNoCase(m_strCatalogue, "Title:")) {
            m_strCatalogue.clear();
            std::string title = Collapse(first);
            for (std::size_t k = top + 1; k < n && !lines[k].empty() && IsSpace(lines[k][0]); ++k)
                title += " " + Collapse(lines[k]);
            m_strTitle = title;
        }
    }

    std::size_t i = 0;
    while (i < n) {
        const std::string_view line = lines[i];
        if (m_aDescriptions.empty()) {
            m_strHeader += line;
            m_strHeader += '\n';
        }
        if (StartsWithNoCase(line, "File Summary")) {
            // Rule, column heading, rule, then one line per file up to the next rule.
            std::size_t j = i + 1;
            while (j < n && IsBlankLine(lines[j]))
                ++j;
            if (j >= n || !IsDashLine(lines[j])) {
                return Fail(number(j < n ? j : i),
                            "expected a line of dashes under \"File Summary:\"");
            }
            ++j;
            if (j >= n || FindNoCase(lines[j], "FileName") == std::string_view::npos) {
                return Fail(number(j < n ? j : i),
                            "expected the column heading \"FileName Lrecl Records Explanations\"");
            }
            ++j;
            if (j < n && IsDashLine(lines[j]))
                ++j;
            for (; j < n && !IsDashLine(lines[j]) && !IsBlankLine(lines[j]); ++j) {
                std::string_view rest = lines[j];
                const bool bullet = StripBullet(rest);
                if (!bullet && IsSpace(rest[0]) && !m_aFiles.empty()) {
                    CdsFileEntry& last = m_aFiles.back();
                    last.m_strExplanation =
                        Collapse(last.m_strExplanation + " " + std::string(rest));
                    continue;
                }
                CdsFileEntry entry;
                entry.m_strName = std::string(NextToken(rest));
                const std::string_view lrecl = NextToken(rest);
                std::size_t pos = 0;
                if (lrecl.empty()) {
                    return Fail(number(j), "expected a file name and its Lrecl");
                }
                if (lrecl != "." &&
                    (!ReadNumber(lrecl, pos, entry.m_nLrecl) || pos != lrecl.size())) {
                    return Fail(number(j), "Lrecl \"" + CdsReadable(lrecl) + "\" of file \"" +
                                               CdsReadable(entry.m_strName) + "\" is not a number");
                }
                NextToken(rest);  // Records
                entry.m_strExplanation = Collapse(rest);
                m_aFiles.push_back(std::move(entry));
            }
            i = j;
            continue;
        }
        if (!IsByteByByteHeading(line)) {
            ++i;
            continue;
        }

        CdsByteDescription description;
        description.m_nLine = number(i);
        // File names after the colon (or after "file"), separated by blanks or commas.
        std::size_t namesAt = line.find(':');
        if (namesAt == std::string_view::npos) {
            namesAt = FindNoCase(line, "file");
            namesAt = namesAt == std::string_view::npos ? line.size() : namesAt + 3;
        }
        std::string names(namesAt < line.size() ? line.substr(namesAt + 1) : std::string_view());
        std::replace(names.begin(), names.end(), ',', ' ');
        std::string_view rest = names;
        for (std::string_view name = NextToken(rest); !name.empty(); name = NextToken(rest)) {
            description.m_astrFiles.emplace_back(name);
        }
        if (description.m_astrFiles.empty()) {
            return Fail(description.m_nLine, "the byte-by-byte description names no file");
        }

        std::size_t j = i + 1;
        while (j < n && IsBlankLine(lines[j]))
            ++j;
        if (j >= n || !IsDashLine(lines[j])) {
            return Fail(number(j < n ? j : i),
                        "expected a line of dashes under the byte-by-byte heading");
        }
        ++j;
        if (j >= n || FindNoCase(lines[j], "Bytes") == std::string_view::npos ||
            FindNoCase(lines[j], "Label") == std::string_view::npos) {
            return Fail(number(j < n ? j : i),
                        "expected the column heading \"Bytes Format Units Label Explanations\"");
        }
        std::size_t formatColumn = FindNoCase(lines[j], "Format");
        if (formatColumn == std::string_view::npos)
            formatColumn = kDefaultFormatColumn;
        ++j;
        if (j >= n || !IsDashLine(lines[j])) {
            return Fail(number(j < n ? j : i),
                        "expected a line of dashes under the column heading");
        }
        ++j;

        // Field rows up to the closing rule; deeper-indented lines continue the explanation.
        // A rule followed (after headings of its own) by more field rows only divides the
        // table into sections.
        for (;; ++j) {
            if (j >= n) {
                return Fail(description.m_nLine,
                            "the byte-by-byte table is not closed by a line of dashes");
            }
            const std::string_view row = lines[j];
            if (IsDashLine(row)) {
                std::size_t k = j + 1;
                while (k < n && !IsFieldRow(lines[k]) && !IsSectionStart(lines[k]) &&
                       !StartsWithNoCase(Trim(lines[k]), "Note") && lines[k][0] != '=')
                    ++k;
                if (k < n && IsFieldRow(lines[k]) && !description.m_aFields.empty()) {
                    j = k - 1;
                    continue;
                }
                break;
            }
            if (IsBlankLine(row))
                continue;
            std::size_t pos = 0;
            while (pos < row.size() && IsSpace(row[pos]))
                ++pos;
            if (pos >= formatColumn) {
                if (description.m_aFields.empty()) {
                    return Fail(number(j), "explanation text before the first field");
                }
                CdsField& last = description.m_aFields.back();
                last.m_strExplanation = Collapse(last.m_strExplanation + " " + std::string(row));
                continue;
            }
            CdsField field;
            field.m_nLine = number(j);
            if (!ReadNumber(row, pos, field.m_nFirstByte)) {
                return Fail(number(j), "expected a byte range such as \"1- 7\" or \"25\"");
            }
            field.m_nLastByte = field.m_nFirstByte;
            std::size_t after = pos;
            while (after < row.size() && IsSpace(row[after]))
                ++after;
            if (after < row.size() && row[after] == '-') {
                pos = after + 1;
                while (pos < row.size() && IsSpace(row[pos]))
                    ++pos;
                if (!ReadNumber(row, pos, field.m_nLastByte)) {
                    return Fail(number(j), "expected the last byte after \"-\"");
                }
            }
            if (field.m_nFirstByte < 1 || field.m_nLastByte < field.m_nFirstByte) {
                return Fail(number(j), "byte range " + std::to_string(field.m_nFirstByte) + "-" +
                                           std::to_string(field.m_nLastByte) + " is not valid");
            }
            std::string_view tail = row.substr(pos);
            if (!tail.empty() && !IsSpace(tail[0])) {
                return Fail(number(j), "expected a blank after the byte range");
            }
            field.m_strFormat = std::string(NextToken(tail));
            field.m_strUnits = std::string(NextToken(tail));
            field.m_strLabel = std::string(NextToken(tail));
            if (field.m_strLabel.empty()) {
                return Fail(number(j), "expected format, units and label after the byte range");
            }
            field.m_strExplanation = Collapse(tail);
            description.m_aFields.push_back(std::move(field));
        }
        if (description.m_aFields.empty()) {
            return Fail(description.m_nLine, "the byte-by-byte table lists no fields");
        }

        // Notes that belong to the table, up to the next part of the ReadMe.
        ++j;
        bool inNotes = false;
        for (; j < n && !IsSectionStart(lines[j]); ++j) {
            const std::string_view noteLine = lines[j];
            if (!inNotes && StartsWithNoCase(noteLine, "Note"))
                inNotes = true;
            if (!inNotes || IsDashLine(noteLine))
                continue;
            std::string_view kept = noteLine;
            while (!kept.empty() && IsSpace(kept.back()))
                kept.remove_suffix(1);
            if (!description.m_strNotes.empty())
                description.m_strNotes += '\n';
            description.m_strNotes += kept;
        }
        while (!description.m_strNotes.empty() && description.m_strNotes.back() == '\n') {
            description.m_strNotes.pop_back();
        }
        m_aDescriptions.push_back(std::move(description));
        i = j;
    }
    if (m_aDescriptions.empty()) {
        return Fail(0, "no \"Byte-by-byte Description of file:\" found; is this a CDS ReadMe?");
    }
    return true;
}

const CdsByteDescription* CCdsReadMe::FindDescription(const std::string& fileName) const {
    const std::string bare = CdsBareFileName(fileName);
    for (const CdsByteDescription& description : m_aDescriptions) {
        for (const std::string& pattern : description.m_astrFiles) {
            if (CdsNameMatches(CdsBareFileName(pattern), bare))
                return &description;
        }
    }
    return nullptr;
}

int CCdsReadMe::RecordLengthOf(const std::string& fileName) const {
    const std::string bare = CdsBareFileName(fileName);
    for (const CdsFileEntry& entry : m_aFiles) {
        if (CdsBareFileName(entry.m_strName) == bare)
            return entry.m_nLrecl;
    }
    return 0;
}

std::string CCdsReadMe::ExplanationOf(const std::string& fileName) const {
    const std::string bare = CdsBareFileName(fileName);
    for (const CdsFileEntry& entry : m_aFiles) {
        if (CdsBareFileName(entry.m_strName) == bare)
            return entry.m_strExplanation;
    }
    return {};
}
