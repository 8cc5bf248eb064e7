// The overview of a definition in the main window, with references to missing fields and
// symbols marked.
#include <gtest/gtest.h>

#include "core/editing/DefinitionOverview.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"

namespace {

TEST(DefinitionOverviewTest, EveryGroupInMenuOrderWithDanglingReferencesMarked) {
    CCatforgeDoc doc;
    doc.m_strTitle = "Clusters";
    doc.SetDataFile("clusters.dat");
    doc.m_nRecordLength = 20;
    doc.m_strNotes = "From VizieR.\r\nPadded.";
    doc.m_aFields = {{"Name", "", 1, 8}, {"RA", "h", 10, 15}};
    doc.m_aUserSymbols = {{"Cross", "MR 0 0\nDR 1 1"}};
    doc.m_nTypeMode = 1;
    doc.m_nDefaultType = 8;
    doc.m_nDefaultSymbol = -2;  // the list holds one user symbol
    doc.m_aTypeRules = {{0, -1, 1, "G"}, {9, 3, 13, "C"}};
    doc.m_nColourMode = 1;
    doc.m_crScreenColour = 0x00204080;
    doc.m_strEpoch = "J2000.0";
    doc.m_nRaNotation = 2;
    doc.m_nRaHoursField = 1;
    doc.m_nDecNotation = 1;
    doc.m_nDecDegreesField = 5;
    doc.m_nLabelCount = 2;
    doc.m_anLabelField = {0, 7, 1};
    doc.m_astrLabelPrefix = {"", "HD ", "unused"};
    doc.m_nSizeFields = 2;
    doc.m_nMajorAxisField = 1;
    doc.m_bPositionAngle = 1;
    doc.m_nPositionAngleField = 2;
    doc.m_nMagnitudeCount = 1;
    doc.m_anMagnitudeField = {1, 4, 4};

    const std::vector<OverviewGroup> groups = BuildDefinitionOverview(doc);
    EXPECT_EQ(CountDanglingRows(groups), 5);
    ExpectSameAsGolden(FormatOverviewText(groups), "overview/clusters.txt");

    // A new definition refers to nothing missing and lists no rows.
    const std::string empty = FormatOverviewText(BuildDefinitionOverview(CCatforgeDoc()));
    EXPECT_NE(empty.find("Fields\n  (no fields)\n"), std::string::npos) << empty;
    EXPECT_EQ(empty.find('!'), std::string::npos) << empty;
}

}  // namespace
