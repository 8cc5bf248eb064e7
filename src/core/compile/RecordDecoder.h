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
//
// A record can also be decoded in two steps: Locate works out its position, which is all a sort
// needs, and DecodeLocated the rest of its entry later. The two steps give the bytes of Decode.
class CRecordDecoder {
public:
    // A record's position at J2000.0, in radians.
    struct Position {
        double alpha = 0.0;
        double delta = 0.0;
    };

    CRecordDecoder(const CCatforgeDoc& doc, const EpochState& epoch);

    void Decode(const char* record, unsigned char* entry) const;

    // The position of a record, or false (position left alone) when leaveOutBlank is set and
    // the record gives no position (HasPosition).
    bool Locate(const char* record, bool leaveOutBlank, Position& position) const;
    // The entry of a record whose position Locate gave.
    void DecodeLocated(const char* record, const Position& position, unsigned char* entry) const;
    // The right ascension key of a position, as its entry holds it.
    static int RaKey(const Position& position);

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
    Position PositionOf(Record record) const;
    void DecodeRest(Record record, const Position& position, unsigned char* entry) const;
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
