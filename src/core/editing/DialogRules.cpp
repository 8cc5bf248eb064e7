#include "core/editing/DialogRules.h"

#include "core/model/CatforgeDoc.h"
#include "core/model/DefinitionRecords.h"
#include "core/model/UserInteraction.h"

namespace {

const char* const kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const char* const kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const char* const kNoRaFields =
    "Please select the fields required to\nspecify the object right ascension.";
const char* const kNoDecFields =
    "Please select the fields required to\nspecify the object declination.";

// True when the notation is one of 0..last and every box it uses has a selection.
template <std::size_t N>
bool NotationComplete(int notation, int last, const std::array<bool, N>& used,
                      const std::array<int, N>& fields) {
    if (notation < 0 || notation > last)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (used[i] && fields[i] < 0)
            return false;
    }
    return true;
}

}  // namespace

std::array<bool, 3> RaBoxesEnabled(int notation) {
    switch (notation) {
        case 1:
            return {true, true, false};
        case 2:
        case kRaNotationDegrees:
            return {true, false, false};
        default:
            return {true, true, true};
    }
}

std::array<bool, 4> DecBoxesEnabled(int notation) {
    switch (notation) {
        case 1:
            return {true, true, true, false};
        case 2:
            return {false, true, false, false};
        default:
            return {true, true, true, true};
    }
}

std::string RaDecRefusal(const std::string& epoch, int raNotation,
                         const std::array<int, 3>& raFields, int decNotation,
                         const std::array<int, 4>& decFields) {
    if (epoch.empty())
        return kNoEpoch;
    if (epoch[0] != 'B' && epoch[0] != 'J')
        return kBadEpoch;
    // The fields a valid notation needs are exactly the boxes it enables.
    if (!NotationComplete(raNotation, kRaNotationDegrees, RaBoxesEnabled(raNotation), raFields))
        return kNoRaFields;
    if (!NotationComplete(decNotation, 2, DecBoxesEnabled(decNotation), decFields)) {
        return kNoDecFields;
    }
    return {};
}

std::array<bool, 2> AxisBoxesEnabled(int sizeFields) {
    switch (sizeFields) {
        case 0:
            return {false, false};
        case 1:
            return {true, false};
        default:
            return {true, true};
    }
}

bool SizeFieldsComplete(int sizeFields, int majorField, int minorField, bool positionAngle,
                        int positionAngleField) {
    if (sizeFields < 0 || sizeFields > 2)
        return false;
    if (sizeFields >= 1 && majorField < 0)
        return false;
    if (sizeFields == 2 && minorField < 0)
        return false;
    return !positionAngle || positionAngleField >= 0;
}

FileDialogRequest DataFileRequest(const std::string& currentPath) {
    FileDialogRequest request;
    request.title = "Open";
    request.filters = ParseFilterText("Data files (*.dat)|*.dat|All files (*.*)|*.*||");
    request.defaultExtension = "dat";
    request.proposedName = currentPath;
    request.confirmOverwrite = false;
    request.mustExist = true;
    return request;
}

std::vector<std::string> FieldNames(const CCatforgeDoc& doc) {
    std::vector<std::string> names;
    names.reserve(doc.m_aFields.size());
    for (const FieldDefinition& field : doc.m_aFields)
        names.push_back(field.m_strName);
    return names;
}

bool CountRowEnabled(int count, int row, int rows) {
    if (count < 0 || count > rows)
        return true;
    return row < count;
}

bool CountRowsSelected(int count, std::span<const int> selections) {
    if (count < 0 || count > static_cast<int>(selections.size()))
        return false;
    for (int row = 0; row < count; ++row) {
        if (selections[static_cast<std::size_t>(row)] < 0)
            return false;
    }
    return true;
}

std::vector<std::string> UserSymbolNames(const CCatforgeDoc& doc) {
    std::vector<std::string> names;
    names.reserve(doc.m_aUserSymbols.size());
    for (const UserSymbol& symbol : doc.m_aUserSymbols)
        names.push_back(symbol.m_strName);
    return names;
}
