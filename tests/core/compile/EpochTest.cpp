// The epoch conversion against ERFA (vectors made by tools/gen-precession-vectors.py) and the
// numeric cases of the catalogue epochs.
#include <gtest/gtest.h>

#include <cmath>

#include "CompileFixture.h"
#include "core/compile/Epoch.h"

namespace {

constexpr double kTwoPi = 3.141592653589793 + 3.141592653589793;

// Angle between two directions, robust for small angles (the haversine of unit vectors).
double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double x1 = std::cos(dec1) * std::cos(ra1), y1 = std::cos(dec1) * std::sin(ra1);
    const double x2 = std::cos(dec2) * std::cos(ra2), y2 = std::cos(dec2) * std::sin(ra2);
    const double dx = x1 - x2, dy = y1 - y2, dz = std::sin(dec1) - std::sin(dec2);
    return 2.0 * std::asin(std::sqrt(dx * dx + dy * dy + dz * dz) / 2.0);
}

EpochState StateFor(const std::string& epoch) {
    EpochState state;
    SetUpEpoch(epoch, state);
    return state;
}

}  // namespace

// Julian dates and angles for B1850..B2050 and J1900..J2100 (measured within 1e-17 rad of
// ERFA; 1e-15 rad, 2e-10 arcsec, leaves room for another compiler's rounding).
TEST(Epoch, AnglesMatchErfa) {
    const std::vector<PrecessionRow> rows = ReadPrecessionCsv("angles.csv");
    ASSERT_GE(rows.size(), 12u);
    for (const PrecessionRow& row : rows) {
        SCOPED_TRACE(row.epoch);
        ASSERT_EQ(row.values.size(), 4u);
        const EpochState state = StateFor(row.epoch);
        EXPECT_FALSE(state.m_bEpochIsJ2000);
        EXPECT_NEAR(state.m_dEpochJD, row.values[0], 1e-9);
        EXPECT_NEAR(state.m_dZeta, row.values[1], 1e-15);
        EXPECT_NEAR(state.m_dZ, row.values[2], 1e-15);
        EXPECT_NEAR(state.m_dTheta, row.values[3], 1e-15);
    }
}

// Positions all over the sky, rotated by ERFA's matrix. Away from the poles the spherical
// formulas agree with ERFA's vectors to about 1e-15 rad (measured) (tolerance 1e-13); within 0.07
// rad of a pole the arcsine of a value near 1 costs precision (measured 3.5e-10 rad; tolerance
// 1e-9). A wrong sign or a swapped angle moves positions by 1e-7 rad or more even at
// B2000.0, and by 1e-3 rad at B1950.0.
TEST(Epoch, PositionsMatchErfa) {
    const std::vector<PrecessionRow> rows = ReadPrecessionCsv("positions.csv");
    ASSERT_GE(rows.size(), 1000u);
    for (const PrecessionRow& row : rows) {
        ASSERT_EQ(row.values.size(), 4u);
        const EpochState state = StateFor(row.epoch);
        double ra = row.values[0], dec = row.values[1];
        PrecessToJ2000(state, ra, dec);
        ASSERT_GE(ra, 0.0);
        ASSERT_LT(ra, kTwoPi);
        const double separation = Separation(ra, dec, row.values[2], row.values[3]);
        const bool polar = std::abs(row.values[3]) > 1.5 || std::abs(row.values[1]) > 1.5;
        EXPECT_LT(separation, polar ? 1e-9 : 1e-13)
            << row.epoch << " " << row.values[0] << " " << row.values[1];
        if (!polar) {
            // Right ascension itself, wrapped, scaled to a great-circle distance.
            const double dra = std::remainder(ra - row.values[2], kTwoPi);
            EXPECT_LT(std::abs(dra) * std::cos(dec), 1e-13) << row.epoch;
        }
    }
}

// B1950.0 and B2000.0 (not J2000.0) are among the ERFA rows; these are the odd texts.
TEST(Epoch, KindOfEpochAndItsJulianDate) {
    // A lower-case b is Julian.
    const EpochState b1950 = StateFor("b1950.0");
    EXPECT_FALSE(b1950.m_bEpochIsJ2000);
    EXPECT_DOUBLE_EQ(b1950.m_dEpochJD, 2433282.5);
    // An empty text is the Julian year 0.0.
    const EpochState empty = StateFor("");
    EXPECT_FALSE(empty.m_bEpochIsJ2000);
    EXPECT_DOUBLE_EQ(empty.m_dEpochJD, 1721045.0);
    EXPECT_NEAR(empty.m_dZeta, 0.22220035901371898, 1e-14);  // eraPrec76 from JD 1721045.0
    // B followed by nothing is the Besselian year 0.0.
    EXPECT_DOUBLE_EQ(StateFor("B").m_dEpochJD, -1950.0 * 365.2421988 + 2433282.4235);
}

TEST(Epoch, J2000PassesPositionsThroughUnchanged) {
    for (const char* text : {"J2000.0", "J2000", "j2000", "J 2000.00"}) {
        SCOPED_TRACE(text);
        EpochState state;
        state.m_dZeta = state.m_dZ = state.m_dTheta = 0.25;  // left as they were
        SetUpEpoch(text, state);
        EXPECT_TRUE(state.m_bEpochIsJ2000);
        EXPECT_EQ(state.m_dEpochJD, 2451545.0);
        EXPECT_EQ(state.m_dZeta, 0.25);
        double ra = kTwoPi, dec = -0.5;  // 24h 0m 0s stays 2 pi; nothing is normalised
        PrecessToJ2000(state, ra, dec);
        EXPECT_EQ(ra, kTwoPi);
        EXPECT_EQ(dec, -0.5);
        ra = -0.125;
        PrecessToJ2000(state, ra, dec);
        EXPECT_EQ(ra, -0.125);
    }
    EXPECT_FALSE(StateFor("J2000.1").m_bEpochIsJ2000);
}

// On the equator the rotation adds about zeta + z to the right ascension: just below zero
// after it wraps to just below 2 pi, just above stays a small positive value.
TEST(Epoch, RotatedRightAscensionJustBelowZeroWrapsBelowTwoPi) {
    const EpochState state = StateFor("B1950.0");
    for (const double offset : {-1e-6, 1e-6}) {
        double ra = -(state.m_dZeta + state.m_dZ) + offset, dec = 0.0;
        PrecessToJ2000(state, ra, dec);
        const double fromZero = offset < 0 ? kTwoPi - ra : ra;
        EXPECT_GT(fromZero, 0.0) << offset;
        EXPECT_LT(fromZero, 1e-5) << offset;
    }
}
