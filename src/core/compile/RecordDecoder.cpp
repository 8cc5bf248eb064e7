#include "core/compile/RecordDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include <sys/mman.h>

#include "core/compile/CatalogObject.h"
#include "core/compile/DataFile.h"
#include "core/compile/FieldReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

namespace co = catalog_object;

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kHoursToRadians = kDegreesToRadians * 15.0;
constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kOneSixtieth = 0.016666666666666666;
constexpr double kOne3600th = 0.0002777777777777778;
constexpr double kKeyScale = 360000.0;

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

bool DecodeRecords(CCatforgeDoc& doc, const EpochState& epoch, const std::string& path,
                   IUserInteraction& ui, unsigned threads) {
    const auto recordLength = static_cast<std::size_t>(doc.m_nRecordLength);
    const auto count = static_cast<std::size_t>(doc.m_nRecordCount);
    doc.m_pEntries.reset();
    doc.m_nEntrySize = doc.m_nRecordLength + static_cast<int>(co::kFixedSize);
    const auto entrySize = static_cast<std::size_t>(doc.m_nEntrySize);
    // Records are read a few megabytes at a time and decoded straight into their entries.
    const std::size_t blockRecords =
        std::max<std::size_t>(1, (std::size_t{4} << 20) / recordLength);
    // What the table needs is checked against the computer first: an allocation far beyond
    // it may still succeed and only fail once the pages are touched.
    const bool fits =
        std::uint64_t{count} * entrySize + std::uint64_t{blockRecords} * recordLength <=
        MemoryLimit();
    std::unique_ptr<char[]> block;
    if (fits) {
        doc.m_pEntries.reset(new (std::nothrow) unsigned char[count * entrySize]);
        block.reset(new (std::nothrow) char[blockRecords * recordLength]);
    }
    if (!doc.m_pEntries || !block) {
        doc.m_pEntries.reset();
        ui.ShowMessage("There is not enough memory to compile " + std::to_string(count) +
                           " records of " + std::to_string(entrySize) + " bytes.",
                       MessageIcon::Stop);
        return false;
    }
    // Large pages also make the final write of the table several times cheaper.
    AdviseHugePages(doc.m_pEntries.get(), count * entrySize);
    // The file was counted a moment ago; it may have gone or lost its permission since.
    CRecordSource source;
    if (!source.Open(path, recordLength)) {
        doc.m_pEntries.reset();
        ui.ShowMessage(FormatMessage("Unable to open file\n\"%s\"", {path}), MessageIcon::Stop);
        return false;
    }

    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, 16u);
    const CRecordDecoder decoder(doc, epoch);
    unsigned char* const entries = doc.m_pEntries.get();
    std::size_t done = 0;
    while (done < count) {
        const std::size_t want = std::min(blockRecords, count - done);
        const std::size_t got = source.Read(block.get(), want);
        const auto decodeRange = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                decoder.Decode(block.get() + i * recordLength, entries + (done + i) * entrySize);
            }
        };
        const std::size_t parts =
            std::min<std::size_t>(threads, std::max<std::size_t>(1, got / 1024));
        std::vector<std::thread> workers;
        std::size_t from = 0;
        for (std::size_t p = 1; p < parts; ++p) {
            const std::size_t to = got * p / parts;
            try {
                workers.emplace_back(decodeRange, from, to);
            } catch (const std::system_error&) {
                decodeRange(from, to);  // no thread to be had: decode it here
            }
            from = to;
        }
        decodeRange(from, got);
        for (std::thread& worker : workers)
            worker.join();
        done += got;
        if (got < want) {
            ui.ShowMessage(FormatMessage("The data file \"%s\" ended after %d of %d records.",
                                         {path, std::to_string(done), std::to_string(count)}),
                           MessageIcon::Stop);
            return false;
        }
    }
    return true;
}
