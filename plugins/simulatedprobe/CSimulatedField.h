#pragma once

#include <array>
#include <random>

// The field a simulated probe sees, in tesla: a steady Earth-like field, mains
// components at 50 and 150 Hz, a magnetic dipole near the mapping stage, a
// small sensor bias and white noise from a seeded generator (the same seed
// gives the same samples, which tests rely on).
class CSimulatedField
{
public:
    using Vector = std::array<double, 3>;

    explicit CSimulatedField(unsigned seed = 20261206u);

    // Field at time t (s) with the probe at `position` (stage units, mm),
    // averaged over `averaging` readings; `bias` is the uncorrected sensor offset.
    Vector Sample(double t, const Vector& position, int averaging, const Vector& bias);
    // Noise-free field, for the time derivative.
    static Vector Clean(double t, const Vector& position);
    static Vector SensorBias() { return {0.6e-6, -0.4e-6, 0.25e-6}; }

private:
    std::mt19937 m_Generator;
    std::normal_distribution<double> m_Noise;
};
