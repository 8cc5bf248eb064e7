// The catalogue epoch and the IAU 1976 precession to J2000.0.
//
// Given:   the epoch text of a definition ("B1950.0", "J2000.0", ...);
// Returns: its Julian date and the angles zeta, z, theta (radians) that rotate a position at
//          that epoch to J2000.0; PrecessToJ2000 applies them to one position.
// Notes:   every expression keeps the order of operations below, in double precision, so
//          that the same data compile to the same bytes everywhere. A Julian epoch of
//          exactly 2000.0 is not rotated at all.
// Reference: Lieske, J.H., Lederle, T., Fricke, W. & Morando, B. (1977), A&A 58, 1-16;
//          Meeus, Astronomical Algorithms, chapter 21 (rigorous method).
#include "core/compile/Epoch.h"

#include <cmath>
#include <string_view>

#include "core/compile/FieldReading.h"
#include "core/compile/KeyUnits.h"

namespace {

constexpr double kJdJ2000 = 2451545.0;                 // Julian date of J2000.0
constexpr double kJdB1950 = 2433282.4235;              // Julian date of B1950.0
constexpr double kDaysPerBesselianYear = 365.2421988;  // tropical year, days
constexpr double kDaysPerJulianYear = 365.25;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;  // 1 / 36525
constexpr double kArcsecToDegrees = 0.0002777777777777778;   // 1 / 3600

double ArcsecondsToRadians(double arcseconds) {
    return arcseconds * kArcsecToDegrees * kDegreesToRadians;
}

}  // namespace

void SetUpEpoch(const std::string& epoch, EpochState& state) {
    // An upper-case B is Besselian; anything else (a lower-case b too) is Julian.
    const bool besselian = !epoch.empty() && epoch[0] == 'B';
    // The year is read from the second character on; an empty text reads as 0.0.
    const std::string_view text(epoch);
    const double year = ReadDecimal(text.empty() ? text : text.substr(1));

    if (besselian) {
        state.m_dEpochJD = (year - 1950.0) * kDaysPerBesselianYear + kJdB1950;
        state.m_bEpochIsJ2000 = false;
    } else if (year == 2000.0) {
        // Exactly J2000.0: nothing to rotate; the angles keep what they held.
        state.m_dEpochJD = kJdJ2000;
        state.m_bEpochIsJ2000 = true;
        return;
    } else {
        state.m_dEpochJD = (year - 2000.0) * kDaysPerJulianYear + kJdJ2000;
        state.m_bEpochIsJ2000 = false;
    }

    // Centuries from J2000.0 to the epoch (T), and from the epoch to J2000.0 (t) on its own.
    const double T = (state.m_dEpochJD - kJdJ2000) * kCenturiesPerDay;
    const double t = (kJdJ2000 - state.m_dEpochJD) * kCenturiesPerDay;
    // The common part of zeta and z, arcseconds per century.
    const double A = (T * 1.39656 + 2306.2181) - (T * T) * 0.000139;
    // The three angles in arcseconds.
    const double zeta = (((0.30188 - T * 0.000344) + t * 0.017998) * t + A) * t;
    const double z = (((T * 0.000066 + 1.09468) + t * 0.018203) * t + A) * t;
    const double theta = ((2004.3109 - T * 0.8533) - (T * T) * 0.000217) * t -
                         (T * 0.000217 + 0.42665) * t * t - t * t * t * 0.041833;
    state.m_dZeta = ArcsecondsToRadians(zeta);
    state.m_dZ = ArcsecondsToRadians(z);
    state.m_dTheta = ArcsecondsToRadians(theta);
    state.m_dCosTheta = std::cos(state.m_dTheta);
    state.m_dSinTheta = std::sin(state.m_dTheta);
}

void PrecessToJ2000(const EpochState& state, double& alpha, double& delta) {
    // Already J2000.0: the decoded values stay exactly as they are.
    if (state.m_bEpochIsJ2000)
        return;

    // The rigorous rotation R3(-z) R2(theta) R3(-zeta) in spherical form.
    // Each sine and cosine is worked out once (those of theta once for the catalogue).
    const double a = alpha + state.m_dZeta;
    const double cosTheta = state.m_dCosTheta;
    const double sinTheta = state.m_dSinTheta;
    const double cosDelta = std::cos(delta);
    const double sinDelta = std::sin(delta);
    const double cosA = std::cos(a);
    const double u = cosDelta * std::sin(a);
    const double v = cosTheta * cosDelta * cosA - sinTheta * sinDelta;
    const double w = sinTheta * cosDelta * cosA + cosTheta * sinDelta;

    // Right ascension into [0, 2 pi).
    alpha = std::atan2(u, v) + state.m_dZ;
    if (alpha < 0.0)
        alpha += kPi + kPi;
    if (alpha >= kPi + kPi)
        alpha -= kPi + kPi;
    delta = std::asin(w);
}
