// Referring catalogue positions to J2000.0 with the IAU 1976 precession angles.
//
// Given the catalogue epoch as text ("B1950.0", "J2000.0", ...), SetUpEpoch computes the
// Julian date and the angles zeta, z, theta from that epoch to J2000.0; PrecessToJ2000
// rotates one position (rigorous rotation). Reference: Lieske et al. (1977), A&A 58, 1.
#pragma once

#include <string>

struct EpochState {
    double m_dEpochJD = 0.0;       // Julian date of the catalogue epoch
    bool m_bEpochIsJ2000 = false;  // exactly Julian 2000.0: no rotation
    double m_dZeta = 0.0;          // radians
    double m_dZ = 0.0;             // radians
    double m_dTheta = 0.0;         // radians
    double m_dCosTheta = 1.0;      // cos and sin of theta, worked out once
    double m_dSinTheta = 0.0;
};

// Sets the state from the epoch text (first character B: Besselian, anything else Julian).
void SetUpEpoch(const std::string& epoch, EpochState& state);

// Rotates alpha, delta (radians) from the catalogue epoch to J2000.0 in place.
void PrecessToJ2000(const EpochState& state, double& alpha, double& delta);
