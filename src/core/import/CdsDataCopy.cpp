#include "core/import/CdsDataCopy.h"

#include <cstring>

#include "core/import/DataSource.h"
#include "core/io/AtomicFile.h"

namespace {

constexpr std::size_t kReadSize = 1u << 20;
constexpr std::size_t kFlushSize = 1u << 20;

std::string ShortName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

}  // namespace

CCdsDataLines::CCdsDataLines() = default;
CCdsDataLines::~CCdsDataLines() = default;

const std::string& CCdsDataLines::FileName() const {
    static const std::string kNone;
    return m_nFile < m_astrFiles.size() ? m_astrFiles[m_nFile] : kNone;
}

bool CCdsDataLines::OpenFile(std::size_t index) {
    m_nFile = index;
    m_nLine = 0;
    m_buffer.clear();
    m_nAt = 0;
    m_bEnd = false;
    m_pSource = std::make_unique<CDataSource>();
    if (!m_pSource->Open(m_astrFiles[index])) {
        m_strError = m_pSource->Error();
        return false;
    }
    m_bCompressed = m_bCompressed || m_pSource->IsCompressed();
    return true;
}

bool CCdsDataLines::Open(const std::vector<std::string>& files, int skipLines) {
    m_astrFiles = files;
    m_strError.clear();
    m_nFirstEol = 0;
    m_bCompressed = false;
    if (files.empty()) {
        m_strError = "no data file";
        return false;
    }
    if (!OpenFile(0))
        return false;
    std::string_view line;
    for (int k = 0; k < skipLines; ++k) {
        if (!Next(line))
            return m_strError.empty();
    }
    return true;
}

bool CCdsDataLines::Next(std::string_view& line) {
    for (;;) {
        const std::size_t newline = m_buffer.find('\n', m_nAt);
        if (newline != std::string::npos || (m_bEnd && m_nAt < m_buffer.size())) {
            const std::size_t end = newline != std::string::npos ? newline : m_buffer.size();
            line = std::string_view(m_buffer).substr(m_nAt, end - m_nAt);
            const bool crLf = !line.empty() && line.back() == '\r' && newline != std::string::npos;
            if (crLf)
                line.remove_suffix(1);
            if (m_nFirstEol == 0 && newline != std::string::npos)
                m_nFirstEol = crLf ? 2 : 1;
            m_nAt = newline != std::string::npos ? newline + 1 : m_buffer.size();
            ++m_nLine;
            return true;
        }
        if (m_bEnd) {
            if (m_nFile + 1 >= m_astrFiles.size())
                return false;
            if (!OpenFile(m_nFile + 1))
                return false;
            continue;
        }
        m_buffer.erase(0, m_nAt);
        m_nAt = 0;
        const std::size_t size = m_buffer.size();
        m_buffer.resize(size + kReadSize);
        const long got = m_pSource->Read(m_buffer.data() + size, kReadSize);
        if (got < 0) {
            m_strError = m_pSource->Error();
            m_buffer.resize(size);
            return false;
        }
        m_buffer.resize(size + static_cast<std::size_t>(got));
        if (got == 0)
            m_bEnd = true;
    }
}

bool ProfileCdsData(const std::vector<std::string>& files, int skipLines,
                    const CdsByteDescription& description, CdsDataProfile& profile,
                    std::string& error) {
    CCdsDataLines lines;
    profile.Begin(description);
    if (!lines.Open(files, skipLines)) {
        error = lines.Error();
        return false;
    }
    std::string_view line;
    while (profile.m_nRecords < CdsDataProfile::kMaxRecords && lines.Next(line)) {
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            profile.Add(description, line);
    }
    profile.End();
    if (!lines.Error().empty()) {
        error = lines.Error();
        return false;
    }
    return true;
}

bool WriteCdsCopy(const std::vector<std::string>& files, int skipLines, const CdsRecordPlan& plan,
                  const std::string& output, CdsCopyReport& report, std::string& error) {
    report = CdsCopyReport{};
    CCdsDataLines lines;
    if (!lines.Open(files, skipLines)) {
        error = lines.Error();
        return false;
    }
    CAtomicFile file;
    if (!file.Open(output, CAtomicFile::Durability::Unsynced)) {
        error = file.Error();
        return false;
    }
    const auto length = static_cast<std::size_t>(plan.m_nLineLength);
    std::string out;
    std::string_view line;
    std::string eol;
    while (lines.Next(line)) {
        ++report.m_nLinesRead;
        if (eol.empty())
            eol = lines.CrLf() ? "\r\n" : "\n";
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            ++report.m_nBlankLines;
            continue;
        }
        if (line.size() > length) {
            const std::size_t extra = line.find_first_not_of(' ', length);
            if (extra != std::string_view::npos) {
                error = "Line " + std::to_string(lines.LineNumber()) + " of \"" +
                        CdsReadable(lines.FileName()) + "\" has \"" +
                        CdsReadable(line.substr(extra, 20)) + "\" beyond byte " +
                        std::to_string(length) + ", the line length the ReadMe describes.";
                return false;
            }
            line = line.substr(0, length);
            ++report.m_nTrimmed;
        }
        if (!plan.HasPosition(line)) {
            if (report.m_astrDropped.size() < CdsCopyReport::kNamedDropped) {
                const std::string label = plan.LabelOf(line);
                report.m_astrDropped.push_back(
                    (files.size() > 1 ? ShortName(lines.FileName()) + " " : std::string()) +
                    "line " + std::to_string(lines.LineNumber()) +
                    (label.empty() ? " (no label)" : " " + CdsReadable(label)));
            }
            ++report.m_nDropped;
            continue;
        }
        out.append(line);
        if (line.size() < length) {
            out.append(length - line.size(), ' ');
            ++report.m_nPadded;
        }
        for (const CdsDerivedColumn& column : plan.m_aDerived)
            column.Append(line, out);
        out += eol;
        ++report.m_nRecords;
        if (out.size() >= kFlushSize) {
            if (!file.Write(out)) {
                error = file.Error();
                return false;
            }
            out.clear();
        }
    }
    if (!lines.Error().empty()) {
        error = lines.Error();
        return false;
    }
    if (report.m_nRecords == 0) {
        error = "The data holds no record with a position (" + std::to_string(report.m_nLinesRead) +
                " lines read).";
        return false;
    }
    if (!file.Write(out) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    report.m_nEolBytes = eol == "\r\n" ? 2 : 1;
    report.m_bCompressed = lines.Compressed();
    return true;
}

std::string CdsCopyReport::Text(const std::string& output, int recordLength) const {
    std::string text =
        "Wrote the fixed-length copy \"" + output + "\": " + std::to_string(m_nRecords) +
        " records of " + std::to_string(recordLength) + " bytes from " +
        std::to_string(m_nLinesRead) + " lines" + (m_bCompressed ? " (compressed input)" : "") +
        ", " + std::to_string(m_nPadded) + " padded";
    if (m_nTrimmed > 0)
        text += ", " + std::to_string(m_nTrimmed) + " with trailing blanks dropped";
    if (m_nBlankLines > 0)
        text += ", " + std::to_string(m_nBlankLines) + " blank lines skipped";
    text += ".";
    if (m_nDropped > 0) {
        text += "\nLeft out " + std::to_string(m_nDropped) +
                " records without a position (RA or Dec fields all blank):";
        for (const std::string& name : m_astrDropped)
            text += "\n  " + name;
        if (m_nDropped > static_cast<std::int64_t>(m_astrDropped.size())) {
            text += "\n  ... and " +
                    std::to_string(m_nDropped - static_cast<std::int64_t>(m_astrDropped.size())) +
                    " more";
        }
    }
    return text;
}
