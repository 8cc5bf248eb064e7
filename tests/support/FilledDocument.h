// A document for tests that look at every member: each differs from its default, and the
// strings hold every byte value.
#pragma once

#include <string>

#include "core/model/CatforgeDoc.h"

inline std::string AllBytes() {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    return all;
}

// Something other than the default in every member; every string holds every byte value.
inline void FillEveryMember(CCatforgeDoc& doc) {
    const std::string all = AllBytes();
    doc.m_strTitle = std::string(1, '\0') + all;
    doc.SetDataFile(all);
    doc.m_strNotes = "line 1\r\nline 2\r\n" + all;
    doc.m_nRecordLength = 2147483647;
    doc.m_aFields = {{"Name", all, 1, 8}, {all, "", -2147483647 - 1, 12}};
    doc.m_nRaNotation = 2;
    doc.m_nRaHoursField = 1;
    doc.m_nRaMinutesField = 7;
    doc.m_nRaSecondsField = -9;
    doc.m_nDecNotation = 1;
    doc.m_nDecSignField = 0;
    doc.m_nDecDegreesField = 1;
    doc.m_nDecMinutesField = 2;
    doc.m_nDecSecondsField = 3;
    doc.m_strEpoch = "B1950.0" + all;
    doc.m_nLabelCount = 3;
    doc.m_anLabelField = {0, 1, 5};
    doc.m_astrLabelPrefix = {all, "NGC ", "\xe9"};
    doc.m_nSizeFields = 2;
    doc.m_nSizeUnits = 1;
    doc.m_nSizeMeaning = 0;
    doc.m_nMajorAxisField = 0;
    doc.m_nMinorAxisField = 1;
    doc.m_bPositionAngle = 1;
    doc.m_nPositionAngleField = 1;
    doc.m_nMagnitudeCount = 2;
    doc.m_anMagnitudeField = {1, 0, 2};
    doc.m_nDefaultType = 12;
    doc.m_nDefaultSymbol = -2;
    doc.m_nColourMode = 1;
    doc.m_crScreenColour = 0x00123456;
    doc.m_crPrinterColour = 0xFFFFFFFF;
    doc.m_nTypeMode = 1;
    doc.m_aUserSymbols = {{"Cross", "-50 0 MA\r\n50 0 DA"}, {all, all}};
    doc.m_aTypeRules = {{1, -1, 1, "Gx"}, {0, 5, 3, all}, {-1, 10, 12, ""}};
}
