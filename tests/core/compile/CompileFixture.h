// Definitions and data files for compile tests: a small fixed layout whose fields a test fills
// record by record, decoding of a single record, and the ERFA vectors under
// tests/data/precession (made by tools/gen-precession-vectors.py).
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/compile/CatalogObject.h"
#include "core/compile/RecordDecoder.h"
#include "core/model/CatforgeDoc.h"

// Columns of the test layout (1-based, inclusive), one field each, in this order.
enum TestField {
    kRaH,
    kRaM,
    kRaS,
    kDecSign,
    kDecD,
    kDecM,
    kDecS,
    kName1,
    kName2,
    kName3,
    kMag1,
    kMag2,
    kMajor,
    kMinor,
    kAngle,
    kKind,
    kFieldCount
};

inline constexpr int kTestRecordLength = 80;

// A definition of the test layout: J2000.0, notations 0, label 1 = Name1, no magnitudes.
inline void DescribeTestLayout(CCatforgeDoc& doc) {
    doc.m_aFields = {
        {"RAh", "", 1, 2},     {"RAm", "", 4, 7},     {"RAs", "", 9, 13},   {"DE-", "", 15, 16},
        {"DEd", "", 17, 18},   {"DEm", "", 20, 23},   {"DEs", "", 25, 28},  {"Name1", "", 30, 37},
        {"Name2", "", 39, 46}, {"Name3", "", 48, 56}, {"Mag1", "", 58, 63}, {"Mag2", "", 65, 69},
        {"Major", "", 71, 73}, {"Minor", "", 75, 76}, {"PA", "", 77, 78},   {"Kind", "", 79, 79}};
    doc.m_nRecordLength = kTestRecordLength;
    doc.m_strEpoch = "J2000.0";
    doc.m_nRaHoursField = kRaH;
    doc.m_nRaMinutesField = kRaM;
    doc.m_nRaSecondsField = kRaS;
    doc.m_nDecSignField = kDecSign;
    doc.m_nDecDegreesField = kDecD;
    doc.m_nDecMinutesField = kDecM;
    doc.m_nDecSecondsField = kDecS;
    doc.m_nLabelCount = 1;
    doc.m_anLabelField = {kName1, kNoField, kNoField};
}

// A record of the test layout: blanks, the texts put at their fields' columns, a line feed.
// Setting a field blanks what an earlier text left there.
class CTestRecord {
public:
    CTestRecord() : m_bytes(kTestRecordLength - 1, ' ') { m_bytes += '\n'; }
    CTestRecord& Set(const CCatforgeDoc& doc, int field, const std::string& text) {
        const FieldDefinition& f = doc.m_aFields[static_cast<std::size_t>(field)];
        const auto start = static_cast<std::size_t>(f.m_nStartCol - 1);
        const auto width = static_cast<std::size_t>(f.m_nEndCol) - start;
        m_bytes.replace(start, width, width, ' ');
        m_bytes.replace(start, text.size(), text);
        m_bytes.resize(kTestRecordLength);
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The entry that the definition makes of one record.
inline std::vector<unsigned char> DecodeOne(const CCatforgeDoc& doc, const std::string& record,
                                            const std::string& epochText = "") {
    EpochState epoch;
    SetUpEpoch(epochText.empty() ? doc.m_strEpoch : epochText, epoch);
    std::vector<unsigned char> entry(catalog_object::kFixedSize + record.size(), 0xAA);
    CRecordDecoder(doc, epoch).Decode(record.data(), entry.data());
    return entry;
}

namespace entry_field {
inline std::string Label(const std::vector<unsigned char>& e) {
    return std::string(reinterpret_cast<const char*>(e.data()));
}
inline int RaKey(const std::vector<unsigned char>& e) {
    return catalog_object::LoadInt32(e.data() + catalog_object::kRaKey);
}
inline int DecKey(const std::vector<unsigned char>& e) {
    return catalog_object::LoadInt32(e.data() + catalog_object::kDecKey);
}
inline int Int16At(const std::vector<unsigned char>& e, std::size_t offset) {
    return catalog_object::LoadInt16(e.data() + offset);
}
}  // namespace entry_field

// The rows of a file of ERFA vectors, without comments and heading: the epoch text, then the
// other cells as texts and as numbers.
struct PrecessionRow {
    std::string epoch;
    std::vector<std::string> texts;
    std::vector<double> values;
};

inline std::vector<PrecessionRow> ReadPrecessionCsv(const std::string& name) {
    std::ifstream in(std::string(CATFORGE_TEST_DATA_DIR) + "/precession/" + name);
    std::vector<PrecessionRow> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("epoch,", 0) == 0)
            continue;
        std::istringstream cells(line);
        PrecessionRow& row = rows.emplace_back();
        std::getline(cells, row.epoch, ',');
        for (std::string cell; std::getline(cells, cell, ',');) {
            row.texts.push_back(cell);
            row.values.push_back(std::stod(cell));
        }
    }
    return rows;
}
