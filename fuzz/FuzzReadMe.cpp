// Feeds arbitrary text to the CDS ReadMe parser. A ReadMe it accepts must describe sensible
// fields, and importing each described file must give a definition whose field selections
// name existing fields that lie inside the record.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/import/CdsImporter.h"
#include "core/import/CdsReadMe.h"
#include "core/model/CatforgeDoc.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool ValidSelection(const CCatforgeDoc& doc, int index) {
    return index == kNoField || (index >= 0 && index < static_cast<int>(doc.m_aFields.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CCdsReadMe readMe;
    if (!readMe.Parse(text)) {
        Check(!readMe.Error().empty() && readMe.m_aDescriptions.empty());
        return 0;
    }
    for (const CdsByteDescription& description : readMe.m_aDescriptions) {
        Check(!description.m_aFields.empty() && !description.m_astrFiles.empty());
        for (const CdsField& field : description.m_aFields) {
            Check(field.m_nFirstByte >= 1 && field.m_nLastByte >= field.m_nFirstByte);
            Check(!field.m_strLabel.empty());
        }
        const std::string& file = description.m_astrFiles.front();
        const int lineLength = CCdsImporter::LineLengthOf(readMe, file);
        CCatforgeDoc doc;
        CCdsImporter importer;
        // The pattern may match an earlier description; the import uses that one.
        if (!importer.Import(readMe, file, "data.dat", lineLength + 1, doc))
            continue;
        for (const FieldDefinition& field : doc.m_aFields) {
            Check(field.m_nStartCol >= 1 && field.m_nEndCol >= field.m_nStartCol &&
                  field.m_nEndCol <= 9999 && field.m_nEndCol < doc.m_nRecordLength);
        }
        for (int index :
             {doc.m_nRaHoursField, doc.m_nRaMinutesField, doc.m_nRaSecondsField,
              doc.m_nDecSignField, doc.m_nDecDegreesField, doc.m_nDecMinutesField,
              doc.m_nDecSecondsField, doc.m_nMajorAxisField, doc.m_nMinorAxisField,
              doc.m_nPositionAngleField, doc.m_anLabelField[0], doc.m_anMagnitudeField[0],
              doc.m_anMagnitudeField[1], doc.m_anMagnitudeField[2]}) {
            Check(ValidSelection(doc, index));
        }
        Check(doc.m_nMagnitudeCount >= 0 && doc.m_nMagnitudeCount <= 3);
        Check(!importer.Report().Text().empty());
    }
    return 0;
}
