// Turning the records of a data file into the entries of the compile table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/compile/Epoch.h"
#include "core/compile/FieldReading.h"
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
    // As Decode, unless leaveOutBlank is set and the record gives no position (HasPosition):
    // then the entry is left alone and the result is false.
    bool DecodeIfPlaced(const char* record, unsigned char* entry, bool leaveOutBlank) const;

    // False when the record gives no position: every right ascension field the notation
    // reads is blank, or every declination field it reads as a number (the sign aside) is.
    bool HasPosition(const char* record) const;

private:
    struct Rule {
        FieldCut cut;  // no text when the rule names no field
        std::string value;
        std::int16_t symbol;
        std::int16_t type;
    };
    // A record and whether it holds a NUL byte, which ends the text of a field early.
    struct Record {
        const char* data;
        bool hasNul;
    };

    FieldCut Cut(int index) const;
    Record Look(const char* record) const;
    static std::string_view Text(Record record, FieldCut cut) {
        return CutText(record.data, cut, record.hasNul);
    }
    bool HasPosition(Record record) const;
    void DecodeRecord(Record record, unsigned char* entry) const;
    void DecodeLabel(Record record, unsigned char* label) const;
    void DecodePosition(Record record, double& alpha, double& delta) const;
    std::int16_t ConvertSize(Record record, FieldCut cut) const;

    const CCatforgeDoc& m_doc;
    const EpochState& m_epoch;
    std::size_t m_nRecordLength;
    int m_nRaNotation;
    int m_nDecNotation;
    FieldCut m_cRaHours;  // the position's fields, where its notations read them
    FieldCut m_cRaMinutes;
    FieldCut m_cRaSeconds;
    FieldCut m_cDecSign;
    FieldCut m_cDecDegrees;
    FieldCut m_cDecMinutes;
    FieldCut m_cDecSeconds;
    std::vector<FieldCut> m_acRaFields;  // the fields HasPosition tests
    std::vector<FieldCut> m_acDecFields;
    std::vector<FieldCut> m_acLabelFields;
    FieldCut m_cMajorAxis;  // no text where the definition gives no size or angle
    FieldCut m_cMinorAxis;
    FieldCut m_cPositionAngle;
    std::vector<FieldCut> m_acMagnitudeFields;
    std::vector<Rule> m_aRules;
    std::int16_t m_nDefaultSymbol;
    std::int16_t m_nDefaultType;
};
