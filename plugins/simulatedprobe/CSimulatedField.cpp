#include "plugins/simulatedprobe/CSimulatedField.h"

#include <cmath>

namespace
{
constexpr double Pi = 3.14159265358979323846;
constexpr double NoiseTesla = 20e-9;
// The dipole sits below the middle of the default grid, pointing up.
constexpr CSimulatedField::Vector DipolePosition = {5.0, 5.0, -15.0};
constexpr double DipoleStrength = 2.0e-2; // tesla * mm^3: about 6 uT at 15 mm
} // namespace

CSimulatedField::CSimulatedField(unsigned seed) : m_Generator(seed), m_Noise(0.0, 1.0) {}

CSimulatedField::Vector CSimulatedField::Clean(double t, const Vector& position)
{
    Vector b = {19.5e-6, 1.2e-6, 44.0e-6};
    const double mains = std::sin(2.0 * Pi * 50.0 * t);
    const double third = std::sin(2.0 * Pi * 150.0 * t + 0.3);
    b[0] += 0.8e-6 * mains + 0.15e-6 * third;
    b[1] += 0.5e-6 * mains;
    b[2] += 0.3e-6 * mains + 0.1e-6 * third;

    const Vector r = {position[0] - DipolePosition[0], position[1] - DipolePosition[1],
                      position[2] - DipolePosition[2]};
    const double distance = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    if (distance > 1e-3)
    {
        const Vector unit = {r[0] / distance, r[1] / distance, r[2] / distance};
        const double scale = DipoleStrength / (distance * distance * distance);
        const double mDotR = unit[2]; // moment along +z
        for (int i = 0; i < 3; ++i)
            b[std::size_t(i)] += scale * (3.0 * mDotR * unit[std::size_t(i)] - (i == 2 ? 1.0 : 0.0));
    }
    return b;
}

CSimulatedField::Vector CSimulatedField::Sample(double t, const Vector& position, int averaging,
                                                const Vector& bias)
{
    Vector b = Clean(t, position);
    const double sigma = NoiseTesla / std::sqrt(double(std::max(1, averaging)));
    for (std::size_t i = 0; i < 3; ++i)
        b[i] += bias[i] + sigma * m_Noise(m_Generator);
    return b;
}
