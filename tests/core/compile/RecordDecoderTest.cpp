#include <gtest/gtest.h>

#include <cmath>

#include "CompileFixture.h"
#include "core/compile/CompileTable.h"

namespace co = catalog_object;
using namespace entry_field;

namespace {

class RecordDecoding : public ::testing::Test {
protected:
    void SetUp() override { DescribeTestLayout(doc); }
    CTestRecord Position(const std::string& h, const std::string& m, const std::string& s) {
        CTestRecord r;
        r.Set(doc, kRaH, h).Set(doc, kRaM, m).Set(doc, kRaS, s);
        r.Set(doc, kDecSign, "+").Set(doc, kDecD, "00").Set(doc, kDecM, "00").Set(doc, kDecS, "00");
        return r;
    }
    CCatforgeDoc doc;
};

TEST_F(RecordDecoding, LabelTakesTheFirstNonBlankFieldWithItsPrefix) {
    doc.m_nLabelCount = 3;
    doc.m_anLabelField = {kName1, kName2, kName3};
    doc.m_astrLabelPrefix = {"M", "NGC ", "IC "};
    CTestRecord r = Position("00", "00", "00");
    r.Set(doc, kName1, "\t  ").Set(doc, kName2, "224").Set(doc, kName3, "1613");
    EXPECT_EQ(Label(DecodeOne(doc, r.Bytes())), "NGC 224");
    // Leading spaces of the text stay, trailing ones go.
    r.Set(doc, kName1, "  31");
    EXPECT_EQ(Label(DecodeOne(doc, r.Bytes())), "M  31");
    // A label of 40 characters keeps its first 31, and every byte after the terminator is 0.
    doc.m_astrLabelPrefix[0] = std::string(35, 'P');
    auto entry = DecodeOne(doc, r.Bytes());
    EXPECT_EQ(Label(entry), std::string(31, 'P'));
    for (std::size_t i = 31; i < co::kLabelSize; ++i)
        EXPECT_EQ(entry[i], 0) << i;
    // A NUL byte in the prefix ends the label, and the blanks before it go as trailing blanks.
    doc.m_astrLabelPrefix[0] = std::string("NGC \t\0X ", 8);
    EXPECT_EQ(Label(DecodeOne(doc, r.Bytes())), "NGC");
    // No label when every label field is blank (a field that is not one does not count), or
    // when there are none.
    doc.m_nLabelCount = 2;
    r.Set(doc, kName1, "\t").Set(doc, kName2, "");
    entry = DecodeOne(doc, r.Bytes());
    for (std::size_t i = 0; i < co::kLabelSize; ++i)
        EXPECT_EQ(entry[i], 0) << i;
    doc.m_nLabelCount = 0;
    r.Set(doc, kName1, "X1");
    EXPECT_EQ(Label(DecodeOne(doc, r.Bytes())), "");
}

TEST_F(RecordDecoding, RightAscensionNotations) {
    // 12h 30m 15.5s is 45015.5 seconds of time, 1500 key units each.
    EXPECT_NEAR(RaKey(DecodeOne(doc, Position("12", "30", "15.5").Bytes())), 67523250, 1);
    // Notation 0 reads the minutes as an integer, notation 1 as a decimal.
    const CTestRecord r = Position("12", "30.9", "");
    EXPECT_NEAR(RaKey(DecodeOne(doc, r.Bytes())), 12 * 5400000 + 30 * 90000, 1);
    doc.m_nRaNotation = 1;
    EXPECT_NEAR(RaKey(DecodeOne(doc, r.Bytes())), 12 * 5400000 + 30.9 * 90000, 1);
    doc.m_nRaNotation = 2;
    doc.m_nRaHoursField = kRaS;
    EXPECT_NEAR(RaKey(DecodeOne(doc, Position("", "", "6.5").Bytes())), 35100000, 1);
}

// Notation 3: decimal degrees in the hours field. Catalogue texts at four epochs against
// ERFA's IAU 1976 rotation (degrees.csv); at J2000.0 the keys are the texts' own values,
// truncated.
TEST_F(RecordDecoding, RightAscensionInDecimalDegrees) {
    doc.m_nRaNotation = kRaNotationDegrees;
    doc.m_nDecNotation = 2;
    doc.m_aFields[kRaH] = {"RAdeg", "deg", 1, 13};
    doc.m_aFields[kDecD] = {"DEdeg", "deg", 15, 28};
    const auto decode = [&](const std::string& ra, const std::string& dec,
                            const std::string& epoch) {
        CTestRecord r;
        r.Set(doc, kRaH, ra).Set(doc, kDecD, dec);
        return DecodeOne(doc, r.Bytes(), epoch);
    };
    // By hand: 101.287155 deg is 36463375.8 key units, -16.716116 deg -6017801.76.
    const auto sirius = decode("101.287155", "-16.716116", "J2000.0");
    EXPECT_EQ(std::make_pair(RaKey(sirius), DecKey(sirius)), std::make_pair(36463375, -6017801));
    const auto edge = decode("359.999990", "+0.0001", "J2000.0");
    EXPECT_EQ(std::make_pair(RaKey(edge), DecKey(edge)), std::make_pair(129599996, 36));

    constexpr double kKeysPerRadian = 57.29577951308232 * 360000.0;
    const std::vector<PrecessionRow> rows = ReadPrecessionCsv("degrees.csv");
    EXPECT_EQ(rows.size(), 40u);
    for (const PrecessionRow& row : rows) {
        const auto entry = decode(row.texts[0], row.texts[1], row.epoch);
        const double ra2000 = row.values[2], dec2000 = row.values[3];
        // Within 0.015" (1.5 key units) on the sky; RA differences shrink with cos(dec).
        const double raDiff = std::remainder(RaKey(entry) - ra2000 * kKeysPerRadian, 129600000.0);
        EXPECT_LE(std::abs(raDiff * std::cos(dec2000)), 1.5) << row.epoch << " " << row.texts[0];
        EXPECT_LE(std::abs(DecKey(entry) - dec2000 * kKeysPerRadian), 1.5) << row.texts[1];
    }
}

TEST_F(RecordDecoding, DeclinationSignIsOnlyAMinusInTheFirstColumn) {
    doc.m_nDecNotation = 1;
    CTestRecord r = Position("00", "00", "00");
    r.Set(doc, kDecSign, "-").Set(doc, kDecD, "05").Set(doc, kDecM, "30");
    EXPECT_NEAR(DecKey(DecodeOne(doc, r.Bytes())), -1980000, 1);
    r.Set(doc, kDecSign, " -");
    EXPECT_NEAR(DecKey(DecodeOne(doc, r.Bytes())), 1980000, 1);
    // Notation 0 adds the seconds; notation 2 reads signed degrees and ignores the sign field.
    doc.m_nDecNotation = 0;
    r.Set(doc, kDecSign, "-").Set(doc, kDecS, "36");
    EXPECT_NEAR(DecKey(DecodeOne(doc, r.Bytes())), -(5 * 360000 + 30 * 6000 + 3600), 1);
    doc.m_nDecNotation = 2;
    doc.m_nDecDegreesField = kName3;
    r.Set(doc, kDecSign, "+").Set(doc, kName3, "-12.25");
    EXPECT_NEAR(DecKey(DecodeOne(doc, r.Bytes())), -4410000, 1);
}

// Directions, the raw record behind the fixed bytes and positions of real records are checked
// by the end-to-end test.
TEST_F(RecordDecoding, B1950OriginAndJ2000PassThrough) {
    const auto origin = Position("00", "00", "00").Bytes();
    const auto b1950 = DecodeOne(doc, origin, "B1950.0");
    EXPECT_EQ(RaKey(b1950), 230589);
    EXPECT_EQ(DecKey(b1950), 100224);
    // At J2000.0 a right ascension of 24h is not brought back into the circle; its hour is 23.
    const auto full = DecodeOne(doc, Position("24", "00", "00").Bytes());
    EXPECT_NEAR(RaKey(full), 129600000, 1);
    EXPECT_EQ(HourOfRaKey(RaKey(full)), 23);
}

TEST_F(RecordDecoding, MagnitudeFromTheFirstNonBlankField) {
    CTestRecord r = Position("00", "00", "00");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMagnitude), 9999);
    doc.m_nMagnitudeCount = 2;
    doc.m_anMagnitudeField = {kMag1, kMag2, kNoField};
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMagnitude), 9999);
    r.Set(doc, kMag2, "8.2");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMagnitude), 820);
    const std::pair<const char*, int> cases[] = {{"-1.46", -146}, {"0.125", 13}, {"-0.125", -13}};
    for (const auto& [text, expected] : cases) {
        r.Set(doc, kMag1, text);
        EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMagnitude), expected) << text;
    }
}

TEST_F(RecordDecoding, SizesInArcsecondsAsDiametersAndThePositionAngle) {
    doc.m_nSizeFields = 2;
    doc.m_nMajorAxisField = kMajor;
    doc.m_nMinorAxisField = kMinor;
    doc.m_nSizeUnits = 1;
    doc.m_nSizeMeaning = 0;  // radius in minutes
    CTestRecord r = Position("00", "00", "00");
    r.Set(doc, kMajor, "2.5").Set(doc, kMinor, "1");
    auto entry = DecodeOne(doc, r.Bytes());
    EXPECT_EQ(Int16At(entry, co::kMajorAxis), 300);
    EXPECT_EQ(Int16At(entry, co::kMinorAxis), 120);
    doc.m_nSizeUnits = 0;
    doc.m_nSizeMeaning = 1;  // diameter in degrees
    r.Set(doc, kMajor, "0.5");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMajorAxis), 1800);
    // Major axis only: the minor stays 0; no size fields: both stay 0.
    doc.m_nSizeFields = 1;
    entry = DecodeOne(doc, r.Bytes());
    EXPECT_EQ(Int16At(entry, co::kMajorAxis), 1800);
    EXPECT_EQ(Int16At(entry, co::kMinorAxis), 0);
    doc.m_nSizeFields = 0;
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kMajorAxis), 0);
    // The position angle is truncated, or -1 when not used or blank.
    doc.m_nPositionAngleField = kAngle;
    r.Set(doc, kAngle, "45");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kPositionAngle), -1);  // flag not set
    doc.m_bPositionAngle = 1;
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kPositionAngle), 45);
    doc.m_aFields[kAngle].m_nEndCol = 80;  // room for 45.9
    r.Set(doc, kAngle, "45.9");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kPositionAngle), 45);
    r.Set(doc, kAngle, "");
    EXPECT_EQ(Int16At(DecodeOne(doc, r.Bytes()), co::kPositionAngle), -1);
}

TEST_F(RecordDecoding, TypeRulesArePrefixTestsInListOrder) {
    doc.m_aFields[kName3].m_strName = "Catalog";
    doc.m_nDefaultType = 8;
    doc.m_nDefaultSymbol = 9;
    doc.m_aTypeRules = {{kName3, 3, 1, "NGC"}, {kName3, 5, 3, "NGC 2"}, {kNoField, -1, 6, ""}};
    CTestRecord r = Position("00", "00", "00");
    const auto typeOf = [&](const std::string& text) {
        r.Set(doc, kName3, text);
        const auto entry = DecodeOne(doc, r.Bytes());
        return std::make_pair(Int16At(entry, co::kType), Int16At(entry, co::kSymbol));
    };
    // Rule mode off: the defaults, rules or not.
    EXPECT_EQ(typeOf("NGC 224"), std::make_pair(8, 9));
    doc.m_nTypeMode = 1;
    EXPECT_EQ(typeOf("NGC"), std::make_pair(1, 3));
    EXPECT_EQ(typeOf("NGC 224"), std::make_pair(1, 3));  // the first matching rule decides
    EXPECT_EQ(typeOf("NGCX"), std::make_pair(1, 3));
    // A rule without a field tests an empty text, which the empty value matches.
    EXPECT_EQ(typeOf(" NGC"), std::make_pair(6, -1));
    EXPECT_EQ(typeOf("ngc"), std::make_pair(6, -1));
    doc.m_aTypeRules[2].m_strValue = "x";
    EXPECT_EQ(typeOf("ngc"), std::make_pair(8, 9));
    // A rule with an empty value matches every record.
    doc.m_aTypeRules.insert(doc.m_aTypeRules.begin(), TypeRule{kName1, 10, 12, ""});
    EXPECT_EQ(typeOf("NGC 224"), std::make_pair(12, 10));
}

TEST_F(RecordDecoding, ValuesBeyondSixteenBitsKeepTheirLowBits) {
    doc.m_nMagnitudeCount = 1;
    doc.m_anMagnitudeField = {kMag1, kNoField, kNoField};
    doc.m_nSizeFields = 1;
    doc.m_nSizeUnits = 1;
    doc.m_nMajorAxisField = kName3;
    doc.m_bPositionAngle = 1;
    doc.m_nPositionAngleField = kName2;
    CTestRecord r = Position("00", "00", "00");
    r.Set(doc, kMag1, "400").Set(doc, kName3, "99999").Set(doc, kName2, "1e300");
    const auto entry = DecodeOne(doc, r.Bytes());
    EXPECT_EQ(Int16At(entry, co::kMagnitude), 40000 - 65536);
    EXPECT_EQ(Int16At(entry, co::kMajorAxis), 5999940 - 92 * 65536);
    EXPECT_EQ(Int16At(entry, co::kPositionAngle), 0);  // out of range: INT_MIN, low bits 0
}

class UsedFieldCheck : public ::testing::Test {
protected:
    void SetUp() override { DescribeTestLayout(doc); }
    std::string Problem() {
        std::string message;
        return CheckUsedFields(doc, message) ? std::string("accepted") : message;
    }
    static std::string Select(const std::string& what) {
        return "Please select the fields required to\nspecify the object " + what + ".";
    }
    CCatforgeDoc doc;
};

TEST_F(UsedFieldCheck, PositionFieldsByNotation) {
    EXPECT_EQ(Problem(), "accepted");
    doc.m_nRaSecondsField = kNoField;
    EXPECT_EQ(Problem(), Select("right ascension"));
    doc.m_nRaNotation = 1;  // hours and minutes need no seconds
    EXPECT_EQ(Problem(), "accepted");
    doc.m_nDecNotation = 2;
    doc.m_nDecSignField = kNoField;
    doc.m_nDecMinutesField = kNoField;
    EXPECT_EQ(Problem(), "accepted");
    doc.m_nDecDegreesField = kNoField;
    EXPECT_EQ(Problem(), Select("declination"));
    doc.m_nDecDegreesField = kDecD;
    doc.m_nDecNotation = 3;
    EXPECT_EQ(Problem(), Select("declination"));
    // Degrees of right ascension need the hours field only; there is no notation 4.
    doc.m_nDecNotation = 2;
    doc.m_nRaNotation = kRaNotationDegrees;
    doc.m_nRaMinutesField = kNoField;
    EXPECT_EQ(Problem(), "accepted");
    doc.m_nRaNotation = 4;
    EXPECT_EQ(Problem(), Select("right ascension"));
}

TEST_F(UsedFieldCheck, CountsSizesAngleAndRules) {
    doc.m_nLabelCount = 2;
    EXPECT_EQ(Problem(), Select("labels"));
    doc.m_nLabelCount = 0;
    doc.m_nMagnitudeCount = 1;
    EXPECT_EQ(Problem(), Select("magnitude"));
    doc.m_nMagnitudeCount = 0;
    doc.m_bPositionAngle = 1;
    EXPECT_EQ(Problem(), Select("size and position angle"));
    doc.m_bPositionAngle = 0;
    doc.m_nSizeFields = 1;
    doc.m_nMajorAxisField = kMajor;
    EXPECT_EQ(Problem(), "accepted");  // the minor axis is not used
    doc.m_aTypeRules = {{kNoField, 0, 0, ""}, {40, 0, 0, "x"}};
    EXPECT_EQ(Problem(), "accepted");  // rules count only in rule mode
    doc.m_nTypeMode = 1;
    EXPECT_EQ(Problem(),
              "The field selection of object type rule 2 is field 40,\nbut the "
              "definition has 16 fields (0 to 15).\nPlease select its field again.");
    doc.m_aTypeRules[1].m_nField = 2147483647;
    EXPECT_NE(Problem().find("is field 2147483647,"), std::string::npos);
    doc.m_aTypeRules.pop_back();
    EXPECT_EQ(Problem(), "accepted");  // a rule without a field is allowed
}

TEST_F(UsedFieldCheck, FieldsMustLieInsideTheRecord) {
    doc.m_nRecordLength = 12;
    EXPECT_EQ(Problem(),
              "The field \"RAs\" (columns 9 to 13), used for the right ascension "
              "seconds,\ndoes not lie within the record of 12 bytes.");
    doc.m_nRecordLength = kTestRecordLength;
    doc.m_aFields[kName1].m_nStartCol = 0;
    EXPECT_EQ(Problem(),
              "The field \"Name1\" (columns 0 to 37), used for label 1,\ndoes not lie "
              "within the record of 80 bytes.");
    doc.m_aFields.resize(kName1);  // label 1 now names a field that is gone
    EXPECT_EQ(Problem(),
              "The field selection of label 1 is field 7,\nbut the definition has 7 "
              "fields (0 to 6).\nPlease select its field again.");
}

}  // namespace
