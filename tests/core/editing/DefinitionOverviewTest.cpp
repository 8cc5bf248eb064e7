// The overview of a definition in the main window, with references to missing fields and
// symbols marked.
#include <gtest/gtest.h>

#include "core/editing/DefinitionOverview.h"
#include "core/model/CatforgeDoc.h"

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
    EXPECT_EQ(FormatOverviewText(groups),
              "General\n"
              "  Database title: Clusters\n"
              "  Data file: clusters.dat\n"
              "  Record length: 20 bytes\n"
              "  Notes: From VizieR. / Padded.\n"
              "Fields\n"
              "  Name  Unit  Start Col  End Col\n"
              "  Name        1          8\n"
              "  RA    h     10         15\n"
              "User-Defined Symbols\n"
              "  Name   Instructions\n"
              "  Cross  MR 0 0 / DR 1 1\n"
              "Object Types and Symbols\n"
              "  Main selection: Object type varies according to list below\n"
              "  Type: Star\n"
              "! Symbol: (missing symbol -2)\n"
              "  Colour: Screen #804020, printer #000000\n"
              "  Field              Value  Symbol  Type\n"
              "  Name               G      Cross   Galaxy\n"
              "! (missing field 9)  C      Galaxy  (missing type 13)\n"
              "RA/Dec\n"
              "  Epoch: J2000.0\n"
              "  Right ascension: Hours only\n"
              "  Hours: RA\n"
              "  Declination: Sign, Degrees, Minutes\n"
              "  Sign: (no field)\n"
              "! Deg: (missing field 5)\n"
              "  Min: (no field)\n"
              "Labels\n"
              "  Number of labels: 2\n"
              "  Field              Prefix\n"
              "  Name\n"
              "! (missing field 7)  HD\n"
              "Size\n"
              "  This data file has: Major and minor axes\n"
              "  Major axis: RA\n"
              "  Minor axis: (no field)\n"
              "  Size units: Degrees\n"
              "  Size specifies: Diameter\n"
              "! Position angle: (missing field 2)\n"
              "Magnitude\n"
              "  Number of magnitude fields: 1\n"
              "  Magnitude 1: RA\n");

    // A new definition refers to nothing missing and lists no rows.
    const std::string empty = FormatOverviewText(BuildDefinitionOverview(CCatforgeDoc()));
    EXPECT_NE(empty.find("Fields\n  (no fields)\n"), std::string::npos) << empty;
    EXPECT_EQ(empty.find('!'), std::string::npos) << empty;
}

}  // namespace
