#include "core/model/CatforgeDoc.h"

#include <algorithm>
#include <cstring>

CCatforgeDoc::CCatforgeDoc() {
    DeleteContents();
}

CCatforgeDoc::~CCatforgeDoc() = default;

void CCatforgeDoc::DeleteContents() {
    m_strTitle.clear();
    m_szDataFile.fill('\0');
    m_strNotes.clear();
    m_nRecordLength = 0;
    m_aFields.clear();

    m_nRaNotation = 0;
    m_nRaHoursField = kNoField;
    m_nRaMinutesField = kNoField;
    m_nRaSecondsField = kNoField;
    m_nDecNotation = 0;
    m_nDecSignField = kNoField;
    m_nDecDegreesField = kNoField;
    m_nDecMinutesField = kNoField;
    m_nDecSecondsField = kNoField;
    m_strEpoch = "J2000.0";

    m_nLabelCount = 1;
    m_anLabelField.fill(kNoField);
    for (auto& prefix : m_astrLabelPrefix)
        prefix.clear();
    m_nSizeFields = 0;
    m_nSizeUnits = 0;
    m_nSizeMeaning = 1;
    m_nMajorAxisField = kNoField;
    m_nMinorAxisField = kNoField;
    m_bPositionAngle = 0;
    m_nPositionAngleField = kNoField;
    m_nMagnitudeCount = 0;
    m_anMagnitudeField.fill(kNoField);

    m_nDefaultType = 0;
    m_nDefaultSymbol = 0;
    m_nColourMode = 0;
    m_crScreenColour = 0x00FFFFFF;
    m_crPrinterColour = 0x00000000;
    m_nTypeMode = 0;

    m_aUserSymbols.clear();
    m_aTypeRules.clear();

    m_pEntries.reset();
    m_nRecordCount = 0;
    m_nFirstSortKey = 0;
    m_nLastSortKey = 0;

    CDocumentBase::DeleteContents();
}

std::string CCatforgeDoc::GetDataFile() const {
    const auto end = std::find(m_szDataFile.begin(), m_szDataFile.end(), '\0');
    return std::string(m_szDataFile.begin(), end);
}

void CCatforgeDoc::SetDataFile(const std::string& path) {
    m_szDataFile.fill('\0');
    const std::size_t n = std::min(path.size(), m_szDataFile.size() - 1);
    std::memcpy(m_szDataFile.data(), path.data(), n);
}

bool CCatforgeDoc::SameDefinition(const CCatforgeDoc& other) const {
    return m_strTitle == other.m_strTitle && GetDataFile() == other.GetDataFile() &&
           m_strNotes == other.m_strNotes && m_nRecordLength == other.m_nRecordLength &&
           m_aFields == other.m_aFields && m_nRaNotation == other.m_nRaNotation &&
           m_nRaHoursField == other.m_nRaHoursField &&
           m_nRaMinutesField == other.m_nRaMinutesField &&
           m_nRaSecondsField == other.m_nRaSecondsField && m_nDecNotation == other.m_nDecNotation &&
           m_nDecSignField == other.m_nDecSignField &&
           m_nDecDegreesField == other.m_nDecDegreesField &&
           m_nDecMinutesField == other.m_nDecMinutesField &&
           m_nDecSecondsField == other.m_nDecSecondsField && m_strEpoch == other.m_strEpoch &&
           m_nLabelCount == other.m_nLabelCount && m_anLabelField == other.m_anLabelField &&
           m_astrLabelPrefix == other.m_astrLabelPrefix && m_nSizeFields == other.m_nSizeFields &&
           m_nSizeUnits == other.m_nSizeUnits && m_nSizeMeaning == other.m_nSizeMeaning &&
           m_nMajorAxisField == other.m_nMajorAxisField &&
           m_nMinorAxisField == other.m_nMinorAxisField &&
           m_bPositionAngle == other.m_bPositionAngle &&
           m_nPositionAngleField == other.m_nPositionAngleField &&
           m_nMagnitudeCount == other.m_nMagnitudeCount &&
           m_anMagnitudeField == other.m_anMagnitudeField &&
           m_nDefaultType == other.m_nDefaultType && m_nDefaultSymbol == other.m_nDefaultSymbol &&
           m_nColourMode == other.m_nColourMode && m_crScreenColour == other.m_crScreenColour &&
           m_crPrinterColour == other.m_crPrinterColour && m_nTypeMode == other.m_nTypeMode &&
           m_aUserSymbols == other.m_aUserSymbols && m_aTypeRules == other.m_aTypeRules;
}

FileDialogRequest CCatforgeDoc::DocumentFileRequest() const {
    FileDialogRequest request = CDocumentBase::DocumentFileRequest();
    request.filters = {{"Catforge Files (*.zdd)", "*.zdd"}, {"All Files (*.*)", "*"}};
    request.defaultExtension = "zdd";
    return request;
}
