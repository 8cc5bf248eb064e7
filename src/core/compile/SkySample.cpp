#include "core/compile/SkySample.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include "core/compile/CatalogObject.h"
#include "core/compile/DataFile.h"
#include "core/compile/Epoch.h"
#include "core/compile/FieldReading.h"
#include "core/compile/RecordDecoder.h"
#include "core/compile/UsedFieldCheck.h"
#include "core/model/CatforgeDoc.h"

namespace co = catalog_object;

namespace {

constexpr double kKeyToRadians = 3.141592653589793 / (180.0 * 360000.0);

const FieldDefinition* FieldAt(const CCatforgeDoc& doc, int index) {
    if (index < 0 || index >= static_cast<int>(doc.m_aFields.size()))
        return nullptr;
    return &doc.m_aFields[static_cast<std::size_t>(index)];
}

// A count with thousands separators: 1,234,567.
std::string Grouped(std::size_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

}  // namespace

bool DecodeSkySample(const CCatforgeDoc& doc, const std::string& dataPath,
                     const std::atomic<bool>& cancel, SkySample& sample, std::size_t limit) {
    sample = SkySample{};
    if (doc.m_nRecordLength < 1) {
        sample.problem = "No record length is set.";
        return true;
    }
    if (!CheckUsedFields(doc, sample.problem)) {
        // The compile's own message, on one line.
        std::replace(sample.problem.begin(), sample.problem.end(), '\n', ' ');
        return true;
    }
    const auto recordLength = static_cast<std::size_t>(doc.m_nRecordLength);
    std::error_code error;
    const auto size = std::filesystem::file_size(dataPath, error);
    CRecordSource source;
    if (error || !source.Open(dataPath, recordLength)) {
        sample.problem = "Unable to open file \"" + doc.GetDataFile() + "\".";
        return true;
    }
    sample.recordCount = static_cast<std::size_t>(size / recordLength);
    const std::size_t count = sample.recordCount;
    limit = std::max<std::size_t>(limit, 1);
    sample.sampled = count > limit;
    const std::size_t wanted = std::min(count, limit);
    // Sample j is record floor(j * count / wanted): evenly spread, the first record included.
    // Split so that no product exceeds wanted squared.
    const std::size_t step = count / wanted;
    const std::size_t rest = count % wanted;
    const auto sampleRecord = [&](std::size_t j) { return j * step + j * rest / wanted; };
    sample.objects.reserve(wanted);

    EpochState epoch;
    SetUpEpoch(doc.m_strEpoch, epoch);
    const CRecordDecoder decoder(doc, epoch);
    const FieldDefinition* raField = FieldAt(doc, doc.m_nRaHoursField);
    const FieldDefinition* decField = FieldAt(doc, doc.m_nDecDegreesField);
    std::vector<const FieldDefinition*> magnitudeFields;
    for (int k = 0; k < std::min(doc.m_nMagnitudeCount, 3); ++k)
        magnitudeFields.push_back(
            FieldAt(doc, doc.m_anMagnitudeField[static_cast<std::size_t>(k)]));

    const std::size_t blockRecords =
        std::max<std::size_t>(1, (std::size_t{1} << 20) / recordLength);
    std::unique_ptr<char[]> block(new (std::nothrow) char[blockRecords * recordLength]);
    std::unique_ptr<unsigned char[]> entry(
        new (std::nothrow) unsigned char[co::kFixedSize + recordLength]);
    if (!block || !entry) {
        sample.problem = "There is not enough memory to read the data file.";
        return true;
    }
    std::size_t first = 0;  // record number of the block's first record
    std::size_t next = 0;   // next sample to take
    while (next < wanted) {
        if (cancel.load(std::memory_order_relaxed))
            return false;
        const std::size_t got = source.Read(block.get(), blockRecords);
        if (got == 0)
            break;
        for (; next < wanted && sampleRecord(next) < first + got; ++next) {
            const std::size_t index = sampleRecord(next);
            const char* record = block.get() + (index - first) * recordLength;
            ++sample.decoded;
            const auto blank = [&](const FieldDefinition* field) {
                return field == nullptr || IsBlank(FieldText(record, recordLength, *field));
            };
            if (!magnitudeFields.empty() &&
                std::all_of(magnitudeFields.begin(), magnitudeFields.end(), blank)) {
                ++sample.withoutMagnitude;
            }
            if (blank(raField) || blank(decField)) {
                ++sample.withoutPosition;
                continue;
            }
            decoder.Decode(record, entry.get());
            SkyObject object;
            object.record = static_cast<std::uint32_t>(index);
            object.ra = static_cast<float>(co::LoadInt32(entry.get() + co::kRaKey) * kKeyToRadians);
            object.dec =
                static_cast<float>(co::LoadInt32(entry.get() + co::kDecKey) * kKeyToRadians);
            object.magnitude = co::LoadInt16(entry.get() + co::kMagnitude);
            object.type = co::LoadInt16(entry.get() + co::kType);
            std::memcpy(object.label.data(), entry.get() + co::kLabel, co::kLabelSize);
            object.label.back() = '\0';
            sample.objects.push_back(object);
        }
        first += got;
    }
    return true;
}

std::string FormatSkySampleSummary(const SkySample& sample) {
    if (!sample.problem.empty())
        return sample.problem;
    std::string line = Grouped(sample.recordCount) + " records";
    if (sample.sampled)
        line += " (" + Grouped(sample.decoded) + " sampled)";
    std::string problems;
    if (sample.withoutPosition > 0)
        problems += Grouped(sample.withoutPosition) + " without a position";
    if (sample.withoutMagnitude > 0) {
        problems += problems.empty() ? "" : ", ";
        problems += Grouped(sample.withoutMagnitude) + " without a magnitude";
    }
    return line + (problems.empty() ? "; no problems seen while decoding" : "; " + problems);
}
