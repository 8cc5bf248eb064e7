#include "core/compile/DataCheck.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "core/compile/Compile.h"
#include "core/compile/DataFile.h"
#include "core/compile/FieldReading.h"
#include "core/compile/UsedFieldCheck.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

namespace {

constexpr std::size_t kLabelLimit = 31;

bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A text that holds something but gives no finite number: the compile reads it as 0 (or, for
// nan and inf, as something no chart can use).
bool IsNotANumber(std::string_view text) {
    if (IsBlank(text))
        return false;
    std::size_t consumed = 0;
    const double value = ReadDecimalPrefix(text, consumed);
    return consumed == 0 || !std::isfinite(value);
}

// One record's fields as the definition uses them, and the checks on them.
class CRecordChecker {
public:
    explicit CRecordChecker(const CCatforgeDoc& doc) : m_doc(doc) {
        m_nRecordLength = static_cast<std::size_t>(doc.m_nRecordLength);
        // The fields the notations read, each into its part's slot; the others stay null.
        const auto read = [&](std::span<const PositionField> fields,
                              std::array<const FieldDefinition**, 4> slots) {
            for (const PositionField& field : fields)
                *slots[static_cast<std::size_t>(field.part)] = Field(doc.*field.member);
        };
        read(RaFields(doc.m_nRaNotation), {nullptr, &m_pRaHours, &m_pRaMinutes, &m_pRaSeconds});
        read(DecFields(doc.m_nDecNotation),
             {&m_pDecSign, &m_pDecDegrees, &m_pDecMinutes, &m_pDecSeconds});
        for (const FieldDefinition* f : {m_pRaHours, m_pRaMinutes, m_pRaSeconds})
            AddNumeric(f);
        for (const FieldDefinition* f : {m_pDecDegrees, m_pDecMinutes, m_pDecSeconds})
            AddNumeric(f);
        for (int k = 0; k < std::min(doc.m_nMagnitudeCount, 3); ++k)
            AddNumeric(Field(doc.m_anMagnitudeField[static_cast<std::size_t>(k)]));
        if (doc.m_nSizeFields == 1 || doc.m_nSizeFields == 2)
            AddNumeric(Field(doc.m_nMajorAxisField));
        if (doc.m_nSizeFields == 2)
            AddNumeric(Field(doc.m_nMinorAxisField));
        if (doc.m_bPositionAngle != 0)
            AddNumeric(Field(doc.m_nPositionAngleField));
        for (int k = 0; k < std::min(doc.m_nLabelCount, 3); ++k)
            m_apLabels.push_back(Field(doc.m_anLabelField[static_cast<std::size_t>(k)]));
    }

    template <typename Report>
    void Check(const char* record, std::uint64_t number, const Report& report) const {
        const auto problem = [&](const FieldDefinition* field, DataProblemKind kind) {
            report(DataProblem{number, field->m_strName, std::string(Trimmed(Text(record, field))),
                               kind});
        };
        const bool raBlank = AllBlank(record, {m_pRaHours, m_pRaMinutes, m_pRaSeconds});
        const bool decBlank = AllBlank(record, {m_pDecDegrees, m_pDecMinutes, m_pDecSeconds});
        if (raBlank || decBlank) {
            std::string fields = raBlank ? m_pRaHours->m_strName : std::string();
            if (decBlank)
                fields += (raBlank ? ", " : "") + m_pDecDegrees->m_strName;
            report(DataProblem{number, fields, std::string(), DataProblemKind::BlankPosition});
        }
        for (const FieldDefinition* field : m_apNumeric) {
            if (IsNotANumber(Text(record, field)))
                problem(field, DataProblemKind::NotANumber);
        }
        if (!raBlank) {
            const double ra = RightAscension(record);
            const double full = m_doc.m_nRaNotation == kRaNotationDegrees ? 360.0 : 24.0;
            if (!(ra >= 0.0 && ra < full))
                problem(m_pRaHours, DataProblemKind::RaOutOfRange);
        }
        if (!decBlank && !(std::abs(Declination(record)) <= 90.0))
            problem(m_pDecDegrees, DataProblemKind::DecOutOfRange);
        CheckSixty(record, problem);
        CheckLabel(record, problem);
    }

private:
    const FieldDefinition* Field(int index) const {
        if (index < 0 || index >= static_cast<int>(m_doc.m_aFields.size()))
            return nullptr;
        return &m_doc.m_aFields[static_cast<std::size_t>(index)];
    }
    void AddNumeric(const FieldDefinition* field) {
        if (field != nullptr &&
            std::find(m_apNumeric.begin(), m_apNumeric.end(), field) == m_apNumeric.end()) {
            m_apNumeric.push_back(field);
        }
    }
    std::string_view Text(const char* record, const FieldDefinition* field) const {
        return field == nullptr ? std::string_view() : FieldText(record, m_nRecordLength, *field);
    }
    bool AllBlank(const char* record, std::initializer_list<const FieldDefinition*> fields) const {
        return std::all_of(fields.begin(), fields.end(),
                           [&](const FieldDefinition* f) { return IsBlank(Text(record, f)); });
    }

    // In hours (degrees for notation 3), read as the compile reads it.
    double RightAscension(const char* record) const {
        switch (m_doc.m_nRaNotation) {
            case 1:
                return ReadDecimal(Text(record, m_pRaMinutes)) / 60.0 +
                       ReadInteger(Text(record, m_pRaHours));
            case 2:
            case kRaNotationDegrees:
                return ReadDecimal(Text(record, m_pRaHours));
            default:
                return ReadDecimal(Text(record, m_pRaSeconds)) / 3600.0 +
                       ReadInteger(Text(record, m_pRaMinutes)) / 60.0 +
                       ReadInteger(Text(record, m_pRaHours));
        }
    }

    // In degrees, with its sign, read as the compile reads it.
    double Declination(const char* record) const {
        if (m_doc.m_nDecNotation == 2)
            return ReadDecimal(Text(record, m_pDecDegrees));
        double value = ReadInteger(Text(record, m_pDecDegrees));
        if (m_doc.m_nDecNotation == 1) {
            value += ReadDecimal(Text(record, m_pDecMinutes)) / 60.0;
        } else {
            value += ReadInteger(Text(record, m_pDecMinutes)) / 60.0 +
                     ReadDecimal(Text(record, m_pDecSeconds)) / 3600.0;
        }
        const std::string_view sign = Text(record, m_pDecSign);
        return !sign.empty() && sign.front() == '-' ? -value : value;
    }

    template <typename Problem>
    void CheckSixty(const char* record, const Problem& problem) const {
        // Notation 0 reads the minutes as integers, notation 1 as decimals.
        const auto minutes = [&](const FieldDefinition* field, bool integer) {
            const std::string_view text = Text(record, field);
            if (field != nullptr && !IsBlank(text) &&
                (integer ? ReadInteger(text) : ReadDecimal(text)) >= 60.0) {
                problem(field, DataProblemKind::SixtyOrMore);
            }
        };
        minutes(m_pRaMinutes, m_doc.m_nRaNotation == 0);
        minutes(m_pRaSeconds, false);
        minutes(m_pDecMinutes, m_doc.m_nDecNotation == 0);
        minutes(m_pDecSeconds, false);
    }

    template <typename Problem>
    void CheckLabel(const char* record, const Problem& problem) const {
        // The first label field that is not blank gives the label, after its prefix.
        for (std::size_t k = 0; k < m_apLabels.size(); ++k) {
            std::string_view text = Text(record, m_apLabels[k]);
            if (IsBlank(text))
                continue;
            while (IsWhiteSpace(text.back()))
                text.remove_suffix(1);
            if (m_doc.m_astrLabelPrefix[k].size() + text.size() > kLabelLimit)
                problem(m_apLabels[k], DataProblemKind::LabelCut);
            return;
        }
    }

    const CCatforgeDoc& m_doc;
    std::size_t m_nRecordLength = 0;
    const FieldDefinition* m_pRaHours = nullptr;
    const FieldDefinition* m_pRaMinutes = nullptr;
    const FieldDefinition* m_pRaSeconds = nullptr;
    const FieldDefinition* m_pDecSign = nullptr;
    const FieldDefinition* m_pDecDegrees = nullptr;
    const FieldDefinition* m_pDecMinutes = nullptr;
    const FieldDefinition* m_pDecSeconds = nullptr;
    std::vector<const FieldDefinition*> m_apNumeric;
    std::vector<const FieldDefinition*> m_apLabels;
};

}  // namespace

std::string DescribeProblem(const DataProblem& problem) {
    switch (problem.kind) {
        case DataProblemKind::BlankPosition:
            return "no position: the fields are blank (the compile leaves the record out)";
        case DataProblemKind::NotANumber:
            return "not a number: the compile reads it as 0";
        case DataProblemKind::RaOutOfRange:
            return "right ascension negative or at or beyond 24h (360 degrees)";
        case DataProblemKind::DecOutOfRange:
            return "declination beyond 90 degrees";
        case DataProblemKind::LabelCut:
            return "label longer than 31 characters: the compile cuts it";
        case DataProblemKind::SixtyOrMore:
            return "minutes or seconds of 60 or more";
    }
    return {};
}

std::string DescribeCount(DataProblemKind kind, std::uint64_t count) {
    const bool one = count == 1;
    std::string what;
    switch (kind) {
        case DataProblemKind::BlankPosition:
            what = one ? "record without a position" : "records without a position";
            break;
        case DataProblemKind::NotANumber:
            what = one ? "text that is not a number (read as 0)"
                       : "texts that are not numbers (read as 0)";
            break;
        case DataProblemKind::RaOutOfRange:
            what = one ? "right ascension out of range" : "right ascensions out of range";
            break;
        case DataProblemKind::DecOutOfRange:
            what = one ? "declination beyond 90 degrees" : "declinations beyond 90 degrees";
            break;
        case DataProblemKind::LabelCut:
            what = one ? "label cut at 31 characters" : "labels cut at 31 characters";
            break;
        case DataProblemKind::SixtyOrMore:
            what = one ? "minutes or seconds value of 60 or more"
                       : "minutes or seconds values of 60 or more";
            break;
    }
    return std::to_string(count) + " " + what;
}

std::string FormatSummary(const DataCheckSummary& summary) {
    std::string text;
    for (std::size_t k = 0; k < kDataProblemKinds; ++k) {
        if (summary.counts[k] == 0)
            continue;
        text += (text.empty() ? "" : ", ") +
                DescribeCount(static_cast<DataProblemKind>(k), summary.counts[k]);
    }
    if (text.empty()) {
        return "no problems in " + std::to_string(summary.records) +
               (summary.records == 1 ? " record" : " records");
    }
    return text;
}

bool CheckData(const CCatforgeDoc& doc, const std::string& dataPath, IUserInteraction& ui,
               const std::function<void(const DataProblem&)>& onProblem, DataCheckSummary& summary,
               const std::function<bool()>& cancelled) {
    summary = DataCheckSummary{};
    if (!CheckCompileSettings(doc, ui))
        return false;
    const auto [shownName, path] = ChooseDataFile(doc, dataPath);
    const auto recordLength = static_cast<std::size_t>(doc.m_nRecordLength);
    CRecordSource source;
    if (shownName.empty() || !source.Open(path, recordLength)) {
        ui.ShowMessage(FormatMessage("Unable to open file\n\"%s\"", {shownName}),
                       MessageIcon::Stop);
        return false;
    }
    const std::size_t blockRecords =
        std::max<std::size_t>(1, (std::size_t{4} << 20) / recordLength);
    std::unique_ptr<char[]> block(new (std::nothrow) char[blockRecords * recordLength]);
    if (!block) {
        ui.ShowMessage("There is not enough memory to read the data file.", MessageIcon::Stop);
        return false;
    }
    const CRecordChecker checker(doc);
    const auto report = [&](const DataProblem& found) {
        ++summary.counts[static_cast<std::size_t>(found.kind)];
        if (onProblem)
            onProblem(found);
    };
    for (;;) {
        if (cancelled && cancelled())
            return false;
        const std::size_t got = source.Read(block.get(), blockRecords);
        for (std::size_t i = 0; i < got; ++i)
            checker.Check(block.get() + i * recordLength, summary.records + i + 1, report);
        summary.records += got;
        if (got < blockRecords)
            break;
    }
    if (summary.records == 0) {
        ui.ShowMessage("This file contains no data!", MessageIcon::Stop);
        return false;
    }
    return true;
}
