// The rules the definition dialogs apply, without a widget.
#include "core/editing/DialogRules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

const std::string kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const std::string kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const std::string kNoRa =
    "Please select the fields required to\nspecify the object right ascension.";
const std::string kNoDec = "Please select the fields required to\nspecify the object declination.";
// The boxes each notation enables.
const std::vector<std::vector<bool>> kRaTable = {
    {true, true, true}, {true, true, false}, {true, false, false}, {true, false, false}};
const std::vector<std::vector<bool>> kDecTable = {
    {true, true, true, true}, {true, true, true, false}, {false, true, false, false}};

TEST(RaDecRefusal, NeedsExactlyTheFieldsOfEachNotation) {
    // Every combination of chosen boxes against every notation: the required ones are the
    // ones the notation enables.
    const std::array<int, 3> allRa{0, 1, 2};
    const std::array<int, 4> allDec{0, 1, 2, 3};
    for (int notation = -1; notation <= 4; ++notation) {
        const bool raInRange = notation >= 0 && notation <= 3;  // 3: degrees
        const bool decInRange = notation >= 0 && notation <= 2;
        for (std::size_t mask = 0; mask < 16; ++mask) {
            std::array<int, 3> ra{};
            std::array<int, 4> dec{};
            bool raComplete = raInRange, decComplete = decInRange;
            for (std::size_t i = 0; i < 4; ++i) {
                const bool chosen = (mask >> i) & 1;
                dec[i] = chosen ? 7 : -1;
                if (decInRange && kDecTable[std::size_t(notation)][i] && !chosen)
                    decComplete = false;
                if (i < 3) {
                    ra[i] = dec[i];
                    if (raInRange && kRaTable[std::size_t(notation)][i] && !chosen)
                        raComplete = false;
                }
            }
            EXPECT_EQ(RaDecRefusal("J2000", notation, ra, 0, allDec), raComplete ? "" : kNoRa)
                << notation << " " << mask;
            EXPECT_EQ(RaDecRefusal("J2000", 0, allRa, notation, dec), decComplete ? "" : kNoDec)
                << notation << " " << mask;
        }
    }
    // The epoch comes first, whatever else is missing.
    EXPECT_EQ(RaDecRefusal("", 0, {-1, -1, -1}, 0, {-1, -1, -1, -1}), kNoEpoch);
    EXPECT_EQ(RaDecRefusal("j2000", 0, {-1, -1, -1}, 0, {-1, -1, -1, -1}), kBadEpoch);
}

TEST(CountRows, EnablesTheFirstRowsAndNeedsTheirSelections) {
    for (int count = -1; count <= 4; ++count) {
        for (int row = 0; row < 3; ++row) {
            const bool inRange = count >= 0 && count <= 3;
            EXPECT_EQ(CountRowEnabled(count, row, 3), !inRange || row < count) << count << row;
        }
    }
    const std::array<int, 3> firstTwo{4, 0, -1};
    EXPECT_TRUE(CountRowsSelected(0, std::array<int, 3>{-1, -1, -1}));
    EXPECT_TRUE(CountRowsSelected(2, firstTwo));
    EXPECT_FALSE(CountRowsSelected(3, firstTwo));
    EXPECT_FALSE(CountRowsSelected(2, std::array<int, 3>{-1, 0, 0}));
    EXPECT_FALSE(CountRowsSelected(-1, firstTwo));
    EXPECT_FALSE(CountRowsSelected(4, std::array<int, 3>{0, 1, 2}));
}

TEST(SizeFieldsComplete, NeedsTheAxesOfTheChoiceAndTheAngleWhenChecked) {
    struct Row {
        int sizeFields, major, minor;
        bool angle;
        int angleField;
        bool complete;
    };
    const Row rows[] = {
        {0, -1, -1, false, -1, true}, {0, -1, -1, true, -1, false}, {0, -1, -1, true, 3, true},
        {1, -1, 2, false, -1, false}, {1, 0, -1, false, -1, true},  {1, 0, -1, true, -1, false},
        {2, 0, -1, false, -1, false}, {2, -1, 1, false, -1, false}, {2, 0, 1, false, -1, true},
        {2, 0, 1, true, 4, true},     {3, 0, 1, false, -1, false},  {-1, 0, 1, false, 2, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SizeFieldsComplete(r.sizeFields, r.major, r.minor, r.angle, r.angleField),
                  r.complete)
            << r.sizeFields << " " << r.major << " " << r.minor << " " << r.angle << " "
            << r.angleField;
    }
}

}  // namespace
