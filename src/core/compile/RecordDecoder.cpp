#include "core/compile/RecordDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <sys/mman.h>

#include "core/compile/CatalogObject.h"
#include "core/compile/FieldReading.h"
#include "core/compile/KeyUnits.h"
#include "core/model/CatforgeDoc.h"

namespace co = catalog_object;

namespace {

constexpr double kHoursToRadians = kDegreesToRadians * 15.0;
constexpr double kOneSixtieth = 0.016666666666666666;
constexpr double kOne3600th = 0.0002777777777777778;
constexpr double kKeyScale = kKeyUnitsPerDegree;

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void AdviseHugePages(void* data, std::size_t size) {
    // The table is filled once and then permuted at random by the sort: where the system
    // grants large pages they spare page faults and TLB misses. Only whole 2 MB pages inside
    // the block are advised.
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + size) & ~(kHuge - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

CRecordDecoder::CRecordDecoder(const CCatforgeDoc& doc, const EpochState& epoch)
    : m_doc(doc),
      m_epoch(epoch),
      m_nRecordLength(static_cast<std::size_t>(std::max(doc.m_nRecordLength, 0))),
      m_nRaNotation(doc.m_nRaNotation),
      m_pRaHours(Field(doc.m_nRaHoursField)),
      m_pRaMinutes(Field(doc.m_nRaMinutesField)),
      m_pRaSeconds(Field(doc.m_nRaSecondsField)),
      m_nDecNotation(doc.m_nDecNotation),
      m_pDecSign(Field(doc.m_nDecSignField)),
      m_pDecDegrees(Field(doc.m_nDecDegreesField)),
      m_pDecMinutes(Field(doc.m_nDecMinutesField)),
      m_pDecSeconds(Field(doc.m_nDecSecondsField)),
      m_pMajorAxis(doc.m_nSizeFields == 1 || doc.m_nSizeFields == 2 ? Field(doc.m_nMajorAxisField)
                                                                    : nullptr),
      m_pMinorAxis(doc.m_nSizeFields == 2 ? Field(doc.m_nMinorAxisField) : nullptr),
      m_pPositionAngle(doc.m_bPositionAngle != 0 ? Field(doc.m_nPositionAngleField) : nullptr),
      m_nDefaultSymbol(co::Low16(doc.m_nDefaultSymbol)),
      m_nDefaultType(co::Low16(doc.m_nDefaultType)) {
    m_apRaFields.push_back(m_pRaHours);
    if (m_nRaNotation == 0 || m_nRaNotation == 1)
        m_apRaFields.push_back(m_pRaMinutes);
    if (m_nRaNotation == 0)
        m_apRaFields.push_back(m_pRaSeconds);
    m_apDecFields.push_back(m_pDecDegrees);
    if (m_nDecNotation == 0 || m_nDecNotation == 1)
        m_apDecFields.push_back(m_pDecMinutes);
    if (m_nDecNotation == 0)
        m_apDecFields.push_back(m_pDecSeconds);
    for (int k = 0; k < std::min(doc.m_nLabelCount, 3); ++k) {
        m_apLabelFields.push_back(Field(doc.m_anLabelField[static_cast<std::size_t>(k)]));
    }
    for (int k = 0; k < std::min(doc.m_nMagnitudeCount, 3); ++k) {
        m_apMagnitudeFields.push_back(Field(doc.m_anMagnitudeField[static_cast<std::size_t>(k)]));
    }
    if (doc.m_nTypeMode != 0) {
        for (const TypeRule& rule : doc.m_aTypeRules) {
            m_aRules.push_back({Field(rule.m_nField), rule.m_strValue, co::Low16(rule.m_nSymbol),
                                co::Low16(rule.m_nType)});
        }
    }
}

const FieldDefinition* CRecordDecoder::Field(int index) const {
    if (index < 0 || index >= static_cast<int>(m_doc.m_aFields.size()))
        return nullptr;
    return &m_doc.m_aFields[static_cast<std::size_t>(index)];
}

std::string_view CRecordDecoder::Text(const char* record, const FieldDefinition* field) const {
    if (field == nullptr)
        return {};
    return FieldText(record, m_nRecordLength, *field);
}

void CRecordDecoder::DecodeLabel(const char* record, unsigned char* label) const {
    std::memset(label, 0, co::kLabelSize);
    for (std::size_t k = 0; k < m_apLabelFields.size(); ++k) {
        std::string_view text = Text(record, m_apLabelFields[k]);
        if (IsBlank(text))
            continue;
        // The text holds something other than white space, so trimming the whole label's
        // trailing white space only shortens the text.
        while (!text.empty() && IsWhiteSpace(text.back()))
            text.remove_suffix(1);
        // A NUL byte in the prefix ends the label there, and the blanks before it are trailing
        // blanks of the label like any others.
        std::string_view prefix = m_doc.m_astrLabelPrefix[k];
        if (const std::size_t nul = prefix.find('\0'); nul != std::string_view::npos) {
            prefix = prefix.substr(0, nul);
            while (!prefix.empty() && IsWhiteSpace(prefix.back()))
                prefix.remove_suffix(1);
            text = {};
        }
        std::size_t used = 0;
        for (const std::string_view part : {prefix, text}) {
            const std::size_t n = std::min(part.size(), co::kLabelSize - 1 - used);
            if (n == 0)
                continue;  // an empty view may have no data to copy from
            std::memcpy(label + used, part.data(), n);
            used += n;
        }
        return;
    }
}

void CRecordDecoder::DecodePosition(const char* record, double& alpha, double& delta) const {
    switch (m_nRaNotation) {
        case 1: {
            const int h = ReadInteger(Text(record, m_pRaHours));
            const double m = ReadDecimal(Text(record, m_pRaMinutes));
            alpha = (m * kOneSixtieth + h) * kHoursToRadians;
            break;
        }
        case 2:
            alpha = ReadDecimal(Text(record, m_pRaHours)) * kHoursToRadians;
            break;
        case kRaNotationDegrees:  // decimal degrees in the hours field, read as signed degrees
            alpha = ReadDecimal(Text(record, m_pRaHours)) * kDegreesToRadians;
            break;
        default: {
            const int h = ReadInteger(Text(record, m_pRaHours));
            const int m = ReadInteger(Text(record, m_pRaMinutes));
            const double s = ReadDecimal(Text(record, m_pRaSeconds));
            alpha = ((s * kOne3600th + m * kOneSixtieth) + h) * kHoursToRadians;
            break;
        }
    }
    if (m_nDecNotation == 2) {
        delta = ReadDecimal(Text(record, m_pDecDegrees)) * kDegreesToRadians;
        return;
    }
    const std::string_view sign = Text(record, m_pDecSign);
    const int d = ReadInteger(Text(record, m_pDecDegrees));
    if (m_nDecNotation == 1) {
        const double m = ReadDecimal(Text(record, m_pDecMinutes));
        delta = (m * kOneSixtieth + d) * kDegreesToRadians;
    } else {
        const int m = ReadInteger(Text(record, m_pDecMinutes));
        const double s = ReadDecimal(Text(record, m_pDecSeconds));
        delta = ((m * kOneSixtieth + s * kOne3600th) + d) * kDegreesToRadians;
    }
    if (!sign.empty() && sign.front() == '-')
        delta = -delta;
}

bool CRecordDecoder::HasPosition(const char* record) const {
    const auto anyGiven = [&](const std::vector<const FieldDefinition*>& fields) {
        return std::any_of(fields.begin(), fields.end(), [&](const FieldDefinition* field) {
            return !IsBlank(Text(record, field));
        });
    };
    return anyGiven(m_apRaFields) && anyGiven(m_apDecFields);
}

std::int16_t CRecordDecoder::ConvertSize(const char* record, const FieldDefinition* field) const {
    double v = ReadDecimal(Text(record, field));
    if (m_doc.m_nSizeUnits == 0) {
        v *= 3600.0;
    } else if (m_doc.m_nSizeUnits == 1) {
        v *= 60.0;
    }
    if (m_doc.m_nSizeMeaning == 0)
        v = v + v;
    return co::Low16(TruncateToInt(v));
}

void CRecordDecoder::Decode(const char* record, unsigned char* entry) const {
    DecodeLabel(record, entry + co::kLabel);

    double alpha = 0.0;
    double delta = 0.0;
    DecodePosition(record, alpha, delta);
    PrecessToJ2000(m_epoch, alpha, delta);
    co::StoreInt32(entry + co::kRaKey, TruncateToInt(kRadiansToDegrees * alpha * kKeyScale));
    co::StoreInt32(entry + co::kDecKey, TruncateToInt(kRadiansToDegrees * delta * kKeyScale));
    co::StoreFloat(entry + co::kSinRa, static_cast<float>(std::sin(alpha)));
    co::StoreFloat(entry + co::kCosRa, static_cast<float>(std::cos(alpha)));
    co::StoreFloat(entry + co::kSinDec, static_cast<float>(std::sin(delta)));
    co::StoreFloat(entry + co::kCosDec, static_cast<float>(std::cos(delta)));

    std::int16_t magnitude = co::kNoMagnitude;
    for (const FieldDefinition* field : m_apMagnitudeFields) {
        const std::string_view text = Text(record, field);
        if (IsBlank(text))
            continue;
        magnitude = co::Low16(RoundHalfAway(ReadDecimal(text) * 100.0));
        break;
    }
    co::StoreInt16(entry + co::kMagnitude, magnitude);

    co::StoreInt16(entry + co::kMajorAxis, m_pMajorAxis ? ConvertSize(record, m_pMajorAxis) : 0);
    co::StoreInt16(entry + co::kMinorAxis, m_pMinorAxis ? ConvertSize(record, m_pMinorAxis) : 0);

    std::int16_t angle = -1;
    if (m_pPositionAngle != nullptr) {
        const std::string_view text = Text(record, m_pPositionAngle);
        if (!IsBlank(text))
            angle = co::Low16(TruncateToInt(ReadDecimal(text)));
    }
    co::StoreInt16(entry + co::kPositionAngle, angle);

    std::int16_t symbol = m_nDefaultSymbol;
    std::int16_t type = m_nDefaultType;
    for (const Rule& rule : m_aRules) {
        const std::string_view text = Text(record, rule.field);
        if (text.substr(0, rule.value.size()) == rule.value) {
            symbol = rule.symbol;
            type = rule.type;
            break;
        }
    }
    co::StoreInt16(entry + co::kSymbol, symbol);
    co::StoreInt16(entry + co::kType, type);

    std::memcpy(entry + co::kRecord, record, m_nRecordLength);
}
