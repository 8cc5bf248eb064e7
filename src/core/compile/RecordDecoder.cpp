#include "core/compile/RecordDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

CRecordDecoder::CRecordDecoder(const CCatforgeDoc& doc, const EpochState& epoch)
    : m_doc(doc),
      m_epoch(epoch),
      m_nRecordLength(static_cast<std::size_t>(std::max(doc.m_nRecordLength, 0))),
      m_nRaNotation(doc.m_nRaNotation),
      m_nDecNotation(doc.m_nDecNotation),
      m_cMajorAxis(doc.m_nSizeFields == 1 || doc.m_nSizeFields == 2 ? Cut(doc.m_nMajorAxisField)
                                                                    : FieldCut{}),
      m_cMinorAxis(doc.m_nSizeFields == 2 ? Cut(doc.m_nMinorAxisField) : FieldCut{}),
      m_cPositionAngle(doc.m_bPositionAngle != 0 ? Cut(doc.m_nPositionAngleField) : FieldCut{}),
      m_nDefaultSymbol(co::Low16(doc.m_nDefaultSymbol)),
      m_nDefaultType(co::Low16(doc.m_nDefaultType)) {
    // The fields each notation reads; a position is given when one of them is not blank (the
    // declination's sign aside).
    for (const PositionField& field : RaFields(m_nRaNotation)) {
        const FieldCut cut = Cut(doc.*field.member);
        m_acRaFields.push_back(cut);
        (field.part == PositionPart::Main      ? m_cRaHours
         : field.part == PositionPart::Minutes ? m_cRaMinutes
                                               : m_cRaSeconds) = cut;
    }
    for (const PositionField& field : DecFields(m_nDecNotation)) {
        const FieldCut cut = Cut(doc.*field.member);
        if (field.part != PositionPart::Sign)
            m_acDecFields.push_back(cut);
        (field.part == PositionPart::Sign      ? m_cDecSign
         : field.part == PositionPart::Main    ? m_cDecDegrees
         : field.part == PositionPart::Minutes ? m_cDecMinutes
                                               : m_cDecSeconds) = cut;
    }
    for (int k = 0; k < std::min(doc.m_nLabelCount, 3); ++k)
        m_acLabelFields.push_back(Cut(doc.m_anLabelField[static_cast<std::size_t>(k)]));
    for (int k = 0; k < std::min(doc.m_nMagnitudeCount, 3); ++k)
        m_acMagnitudeFields.push_back(Cut(doc.m_anMagnitudeField[static_cast<std::size_t>(k)]));
    if (doc.m_nTypeMode != 0) {
        for (const TypeRule& rule : doc.m_aTypeRules) {
            m_aRules.push_back({Cut(rule.m_nField), rule.m_strValue, co::Low16(rule.m_nSymbol),
                                co::Low16(rule.m_nType)});
        }
    }
}

FieldCut CRecordDecoder::Cut(int index) const {
    if (index < 0 || index >= static_cast<int>(m_doc.m_aFields.size()))
        return {};
    return CutOfField(m_doc.m_aFields[static_cast<std::size_t>(index)], m_nRecordLength);
}

CRecordDecoder::Record CRecordDecoder::Look(const char* record) const {
    return {record, std::memchr(record, '\0', m_nRecordLength) != nullptr};
}

void CRecordDecoder::DecodeLabel(Record record, unsigned char* label) const {
    std::memset(label, 0, co::kLabelSize);
    for (std::size_t k = 0; k < m_acLabelFields.size(); ++k) {
        std::string_view text = Text(record, m_acLabelFields[k]);
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

void CRecordDecoder::DecodePosition(Record record, double& alpha, double& delta) const {
    switch (m_nRaNotation) {
        case 1: {
            const int h = ReadInteger(Text(record, m_cRaHours));
            const double m = ReadDecimal(Text(record, m_cRaMinutes));
            alpha = (m * kOneSixtieth + h) * kHoursToRadians;
            break;
        }
        case 2:
            alpha = ReadDecimal(Text(record, m_cRaHours)) * kHoursToRadians;
            break;
        case kRaNotationDegrees:  // decimal degrees in the hours field, read as signed degrees
            alpha = ReadDecimal(Text(record, m_cRaHours)) * kDegreesToRadians;
            break;
        default: {
            const int h = ReadInteger(Text(record, m_cRaHours));
            const int m = ReadInteger(Text(record, m_cRaMinutes));
            const double s = ReadDecimal(Text(record, m_cRaSeconds));
            alpha = ((s * kOne3600th + m * kOneSixtieth) + h) * kHoursToRadians;
            break;
        }
    }
    if (m_nDecNotation == 2) {
        delta = ReadDecimal(Text(record, m_cDecDegrees)) * kDegreesToRadians;
        return;
    }
    const std::string_view sign = Text(record, m_cDecSign);
    const int d = ReadInteger(Text(record, m_cDecDegrees));
    if (m_nDecNotation == 1) {
        const double m = ReadDecimal(Text(record, m_cDecMinutes));
        delta = (m * kOneSixtieth + d) * kDegreesToRadians;
    } else {
        const int m = ReadInteger(Text(record, m_cDecMinutes));
        const double s = ReadDecimal(Text(record, m_cDecSeconds));
        delta = ((m * kOneSixtieth + s * kOne3600th) + d) * kDegreesToRadians;
    }
    if (!sign.empty() && sign.front() == '-')
        delta = -delta;
}

bool CRecordDecoder::HasPosition(const char* record) const {
    return HasPosition(Look(record));
}

bool CRecordDecoder::HasPosition(Record record) const {
    const auto anyGiven = [&](const std::vector<FieldCut>& cuts) {
        return std::any_of(cuts.begin(), cuts.end(),
                           [&](FieldCut cut) { return !IsBlank(Text(record, cut)); });
    };
    return anyGiven(m_acRaFields) && anyGiven(m_acDecFields);
}

std::int16_t CRecordDecoder::ConvertSize(Record record, FieldCut cut) const {
    double v = ReadDecimal(Text(record, cut));
    if (m_doc.m_nSizeUnits == 0) {
        v *= 3600.0;
    } else if (m_doc.m_nSizeUnits == 1) {
        v *= 60.0;
    }
    if (m_doc.m_nSizeMeaning == 0)
        v = v + v;
    return co::Low16(TruncateToInt(v));
}

void CRecordDecoder::Decode(const char* bytes, unsigned char* entry) const {
    const Record record = Look(bytes);
    DecodeRest(record, PositionOf(record), entry);
}

bool CRecordDecoder::Locate(const char* bytes, bool leaveOutBlank, Position& position) const {
    const Record record = Look(bytes);
    if (leaveOutBlank && !HasPosition(record))
        return false;
    position = PositionOf(record);
    return true;
}

void CRecordDecoder::DecodeLocated(const char* bytes, const Position& position,
                                   unsigned char* entry) const {
    DecodeRest(Look(bytes), position, entry);
}

int CRecordDecoder::RaKey(const Position& position) {
    return TruncateToInt(kRadiansToDegrees * position.alpha * kKeyScale);
}

CRecordDecoder::Position CRecordDecoder::PositionOf(Record record) const {
    Position position;
    DecodePosition(record, position.alpha, position.delta);
    PrecessToJ2000(m_epoch, position.alpha, position.delta);
    return position;
}

void CRecordDecoder::DecodeRest(Record record, const Position& position,
                                unsigned char* entry) const {
    DecodeLabel(record, entry + co::kLabel);
    const double alpha = position.alpha;
    const double delta = position.delta;
    co::StoreInt32(entry + co::kRaKey, RaKey(position));
    co::StoreInt32(entry + co::kDecKey, TruncateToInt(kRadiansToDegrees * delta * kKeyScale));
    co::StoreFloat(entry + co::kSinRa, static_cast<float>(std::sin(alpha)));
    co::StoreFloat(entry + co::kCosRa, static_cast<float>(std::cos(alpha)));
    co::StoreFloat(entry + co::kSinDec, static_cast<float>(std::sin(delta)));
    co::StoreFloat(entry + co::kCosDec, static_cast<float>(std::cos(delta)));

    std::int16_t magnitude = co::kNoMagnitude;
    for (const FieldCut cut : m_acMagnitudeFields) {
        const std::string_view text = Text(record, cut);
        if (IsBlank(text))
            continue;
        magnitude = co::Low16(RoundHalfAway(ReadDecimal(text) * 100.0));
        break;
    }
    co::StoreInt16(entry + co::kMagnitude, magnitude);

    // A size field that is not given reads as 0, an angle as -1.
    co::StoreInt16(entry + co::kMajorAxis, ConvertSize(record, m_cMajorAxis));
    co::StoreInt16(entry + co::kMinorAxis, ConvertSize(record, m_cMinorAxis));

    std::int16_t angle = -1;
    if (const std::string_view text = Text(record, m_cPositionAngle); !IsBlank(text))
        angle = co::Low16(TruncateToInt(ReadDecimal(text)));
    co::StoreInt16(entry + co::kPositionAngle, angle);

    std::int16_t symbol = m_nDefaultSymbol;
    std::int16_t type = m_nDefaultType;
    for (const Rule& rule : m_aRules) {
        const std::string_view text = Text(record, rule.cut);
        if (text.substr(0, rule.value.size()) == rule.value) {
            symbol = rule.symbol;
            type = rule.type;
            break;
        }
    }
    co::StoreInt16(entry + co::kSymbol, symbol);
    co::StoreInt16(entry + co::kType, type);

    std::memcpy(entry + co::kRecord, record.data, m_nRecordLength);
}
