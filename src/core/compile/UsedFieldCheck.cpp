#include "core/compile/UsedFieldCheck.h"

#include <algorithm>
#include <vector>

#include "core/model/CatforgeDoc.h"

namespace {

const char* const kSelectRa =
    "Please select the fields required to\nspecify the object right ascension.";
const char* const kSelectDec =
    "Please select the fields required to\nspecify the object declination.";
const char* const kSelectLabels =
    "Please select the fields required to\nspecify the object labels.";
const char* const kSelectSize =
    "Please select the fields required to\nspecify the object size and position angle.";
const char* const kSelectMagnitude =
    "Please select the fields required to\nspecify the object magnitude.";

// One field selection the definition uses: what it is for and what to say when it is unset.
struct FieldUse {
    int index;
    std::string purpose;
    const char* whenUnset;  // null: an unset selection is allowed (a rule tests empty text)
};

std::vector<FieldUse> UsedFields(const CCatforgeDoc& doc) {
    std::vector<FieldUse> uses;
    // Purposes by position part (sign, main, minutes, seconds).
    const char* const raPurposes[] = {"", "the right ascension hours",
                                      "the right ascension minutes", "the right ascension seconds"};
    const char* const decPurposes[] = {"the declination sign", "the declination degrees",
                                       "the declination minutes", "the declination seconds"};
    for (const PositionField& field : RaFields(doc.m_nRaNotation)) {
        uses.push_back(
            {doc.*field.member, raPurposes[static_cast<std::size_t>(field.part)], kSelectRa});
    }
    for (const PositionField& field : DecFields(doc.m_nDecNotation)) {
        uses.push_back(
            {doc.*field.member, decPurposes[static_cast<std::size_t>(field.part)], kSelectDec});
    }
    for (int k = 0; k < std::min(doc.m_nLabelCount, 3); ++k) {
        uses.push_back({doc.m_anLabelField[static_cast<std::size_t>(k)],
                        "label " + std::to_string(k + 1), kSelectLabels});
    }
    if (doc.m_nSizeFields == 1 || doc.m_nSizeFields == 2) {
        uses.push_back({doc.m_nMajorAxisField, "the major axis", kSelectSize});
    }
    if (doc.m_nSizeFields == 2) {
        uses.push_back({doc.m_nMinorAxisField, "the minor axis", kSelectSize});
    }
    if (doc.m_bPositionAngle != 0) {
        uses.push_back({doc.m_nPositionAngleField, "the position angle", kSelectSize});
    }
    for (int k = 0; k < std::min(doc.m_nMagnitudeCount, 3); ++k) {
        uses.push_back({doc.m_anMagnitudeField[static_cast<std::size_t>(k)],
                        "magnitude " + std::to_string(k + 1), kSelectMagnitude});
    }
    if (doc.m_nTypeMode != 0) {
        for (std::size_t r = 0; r < doc.m_aTypeRules.size(); ++r) {
            uses.push_back({doc.m_aTypeRules[r].m_nField,
                            "object type rule " + std::to_string(r + 1), nullptr});
        }
    }
    return uses;
}

}  // namespace

bool CheckUsedFields(const CCatforgeDoc& doc, std::string& message) {
    if (doc.m_nRaNotation < 0 || doc.m_nRaNotation > kRaNotationDegrees) {
        message = kSelectRa;
        return false;
    }
    if (doc.m_nDecNotation < 0 || doc.m_nDecNotation > 2) {
        message = kSelectDec;
        return false;
    }
    const auto fieldCount = static_cast<int>(doc.m_aFields.size());
    for (const FieldUse& use : UsedFields(doc)) {
        if (use.index == kNoField && use.whenUnset == nullptr)
            continue;
        if (use.index == kNoField) {
            message = use.whenUnset;
            return false;
        }
        if (use.index < 0 || use.index >= fieldCount) {
            // Fields are numbered from 0, as info lists them.
            const std::string fields = fieldCount == 0
                                           ? std::string("no fields")
                                           : std::to_string(fieldCount) + " fields (0 to " +
                                                 std::to_string(fieldCount - 1) + ")";
            message = "The field selection of " + use.purpose + " is field " +
                      std::to_string(use.index) + ",\nbut the definition has " + fields +
                      ".\nPlease select its field again.";
            return false;
        }
        const FieldDefinition& field = doc.m_aFields[static_cast<std::size_t>(use.index)];
        if (field.m_nStartCol < 1 || field.m_nEndCol < field.m_nStartCol ||
            field.m_nEndCol > doc.m_nRecordLength) {
            message = "The field \"" + field.m_strName + "\" (columns " +
                      std::to_string(field.m_nStartCol) + " to " + std::to_string(field.m_nEndCol) +
                      "), used for " + use.purpose + ",\ndoes not lie within the record of " +
                      std::to_string(doc.m_nRecordLength) + " bytes.";
            return false;
        }
    }
    return true;
}
