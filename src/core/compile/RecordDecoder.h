// Turning the records of a data file into the entries of the compile table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/compile/Epoch.h"
#include "core/compile/UsedFieldCheck.h"
#include "core/model/DefinitionRecords.h"

class CCatforgeDoc;

// Decodes one record into one entry (the 68 fixed bytes and the raw record) by the
// definition's settings. The definition must have passed CheckUsedFields and must outlive
// the decoder. Decode is const and touches nothing but its entry, so several threads may
// decode different records at once.
class CRecordDecoder {
public:
    CRecordDecoder(const CCatforgeDoc& doc, const EpochState& epoch);

    void Decode(const char* record, unsigned char* entry) const;

    // False when the record gives no position: every right ascension field the notation
    // reads is blank, or every declination field it reads as a number (the sign aside) is.
    bool HasPosition(const char* record) const;

private:
    struct Rule {
        const FieldDefinition* field;  // null: the rule tests an empty text
        std::string value;
        std::int16_t symbol;
        std::int16_t type;
    };

    const FieldDefinition* Field(int index) const;
    std::string_view Text(const char* record, const FieldDefinition* field) const;
    void DecodeLabel(const char* record, unsigned char* label) const;
    void DecodePosition(const char* record, double& alpha, double& delta) const;
    std::int16_t ConvertSize(const char* record, const FieldDefinition* field) const;

    const CCatforgeDoc& m_doc;
    const EpochState& m_epoch;
    std::size_t m_nRecordLength;
    int m_nRaNotation;
    const FieldDefinition* m_pRaHours;
    const FieldDefinition* m_pRaMinutes;
    const FieldDefinition* m_pRaSeconds;
    int m_nDecNotation;
    const FieldDefinition* m_pDecSign;
    const FieldDefinition* m_pDecDegrees;
    const FieldDefinition* m_pDecMinutes;
    const FieldDefinition* m_pDecSeconds;
    std::vector<const FieldDefinition*> m_apRaFields;  // the fields HasPosition tests
    std::vector<const FieldDefinition*> m_apDecFields;
    std::vector<const FieldDefinition*> m_apLabelFields;
    const FieldDefinition* m_pMajorAxis;
    const FieldDefinition* m_pMinorAxis;
    const FieldDefinition* m_pPositionAngle;
    std::vector<const FieldDefinition*> m_apMagnitudeFields;
    std::vector<Rule> m_aRules;
    std::int16_t m_nDefaultSymbol;
    std::int16_t m_nDefaultType;
};

// Asks the system to back the whole 2 MB pages of a large block with large pages (a hint).
void AdviseHugePages(void* data, std::size_t size);
