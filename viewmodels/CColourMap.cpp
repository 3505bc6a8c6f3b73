#include "viewmodels/CColourMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Coordinates closer than this (mm) are the same grid line: repeated stepping leaves rounding behind.
constexpr double Tolerance = 1e-6;
const double NaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

CColourMap::CColourMap(QObject* parent) : QObject(parent) {}

void CColourMap::Add(double x, double y, double z, const std::array<double, 4>& field, bool update)
{
    m_Points.push_back({{x, y, z}, field});
    if (update)
        l_Update();
}

void CColourMap::Update()
{
    l_Update();
}

void CColourMap::Clear()
{
    m_Points.clear();
    l_Update();
}

void CColourMap::setQuantityIndex(int value)
{
    if (value < 0 || value > 3 || value == m_Quantity)
        return;
    m_Quantity = value;
    emit QuantityIndexChanged(value);
    l_Update();
}

QString CColourMap::UName() const
{
    return m_Plane == 0 ? QStringLiteral("Y") : QStringLiteral("X");
}

QString CColourMap::VName() const
{
    return m_Plane == 2 ? QStringLiteral("Y") : QStringLiteral("Z");
}

std::vector<double> CColourMap::l_Distinct(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::vector<double> distinct;
    for (double value : values)
        if (distinct.empty() || value - distinct.back() > Tolerance)
            distinct.push_back(value);
    return distinct;
}

std::size_t CColourMap::l_Index(const std::vector<double>& axis, double value)
{
    // The grid line at or just below the value (within the tolerance).
    const auto it = std::upper_bound(axis.begin(), axis.end(), value + Tolerance);
    return it == axis.begin() ? 0 : std::size_t(it - axis.begin() - 1);
}

void CColourMap::l_Update()
{
    // Planar when exactly one coordinate is the same at every point and the plane is two-dimensional.
    m_Plane = -1;
    if (m_Points.size() >= 2)
    {
        int flat = 0;
        int plane = -1;
        for (std::size_t a = 0; a < 3; ++a)
        {
            const auto [low, high] =
                std::minmax_element(m_Points.begin(), m_Points.end(), [a](const Point& p, const Point& q) {
                    return p.position[a] < q.position[a];
                });
            if (high->position[a] - low->position[a] < Tolerance)
            {
                ++flat;
                plane = int(a);
            }
        }
        if (flat == 1)
            m_Plane = plane;
    }
    m_U.clear();
    m_V.clear();
    m_Grid.clear();
    m_Value = {0, 1};
    if (m_Plane >= 0)
    {
        const std::size_t u = m_Plane == 0 ? 1 : 0;
        const std::size_t v = m_Plane == 2 ? 1 : 2;
        std::vector<double> us, vs;
        us.reserve(m_Points.size());
        vs.reserve(m_Points.size());
        for (const Point& p : m_Points)
        {
            us.push_back(p.position[u]);
            vs.push_back(p.position[v]);
        }
        m_U = l_Distinct(std::move(us));
        m_V = l_Distinct(std::move(vs));
        m_Grid.assign(m_U.size() * m_V.size(), NaN);
        double low = std::numeric_limits<double>::max();
        double high = -low;
        for (const Point& p : m_Points)
        {
            const double value = p.field[std::size_t(m_Quantity)];
            if (!std::isfinite(value))
                continue;
            // A point measured twice shows its newest value.
            m_Grid[l_Index(m_V, p.position[v]) * m_U.size() + l_Index(m_U, p.position[u])] = value;
            low = std::min(low, value);
            high = std::max(high, value);
        }
        if (high >= low)
            m_Value = {low, high};
    }
    emit changed();
}

double CColourMap::valueAt(double u, double v) const
{
    if (m_Plane < 0 || u < UMin() - Tolerance || u > UMax() + Tolerance || v < VMin() - Tolerance ||
        v > VMax() + Tolerance)
        return NaN;
    const std::size_t nu = m_U.size();
    const std::size_t i0 = std::min(l_Index(m_U, u), nu - 1);
    const std::size_t j0 = std::min(l_Index(m_V, v), m_V.size() - 1);
    const std::size_t i1 = std::min(i0 + 1, nu - 1);
    const std::size_t j1 = std::min(j0 + 1, m_V.size() - 1);
    const double fu = i1 > i0 ? std::clamp((u - m_U[i0]) / (m_U[i1] - m_U[i0]), 0.0, 1.0) : 0.0;
    const double fv = j1 > j0 ? std::clamp((v - m_V[j0]) / (m_V[j1] - m_V[j0]), 0.0, 1.0) : 0.0;
    const double corners[4] = {m_Grid[j0 * nu + i0], m_Grid[j0 * nu + i1], m_Grid[j1 * nu + i0],
                               m_Grid[j1 * nu + i1]};
    const double weights[4] = {(1 - fu) * (1 - fv), fu * (1 - fv), (1 - fu) * fv, fu * fv};
    // Over the measured corners only, so that a run's growing edge does not fade to nothing.
    double sum = 0, weight = 0;
    for (int k = 0; k < 4; ++k)
    {
        if (std::isnan(corners[k]) || weights[k] <= 0)
            continue;
        sum += corners[k] * weights[k];
        weight += weights[k];
    }
    return weight > 0 ? sum / weight : NaN;
}

std::vector<std::array<double, 2>> CColourMap::Nodes() const
{
    std::vector<std::array<double, 2>> nodes;
    for (std::size_t j = 0; j < m_V.size(); ++j)
        for (std::size_t i = 0; i < m_U.size(); ++i)
            if (!std::isnan(m_Grid[j * m_U.size() + i]))
                nodes.push_back({m_U[i], m_V[j]});
    return nodes;
}

QColor CColourMap::ColourOf(double fraction, const QVector<QColor>& stops)
{
    if (stops.isEmpty())
        return QColor();
    if (stops.size() == 1)
        return stops.front();
    const double f = std::clamp(std::isnan(fraction) ? 0.0 : fraction, 0.0, 1.0) * double(stops.size() - 1);
    const int i = std::min(int(f), stops.size() - 2);
    const double t = f - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QImage CColourMap::Render(int width, int height, const QVector<QColor>& stops) const
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (m_Plane < 0)
        return image;
    const double range = m_Value[1] - m_Value[0];
    const double du = width > 1 ? (UMax() - UMin()) / (width - 1) : 0;
    const double dv = height > 1 ? (VMax() - VMin()) / (height - 1) : 0;
    for (int y = 0; y < image.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = VMax() - y * dv;
        for (int x = 0; x < image.width(); ++x)
        {
            const double value = valueAt(UMin() + x * du, v);
            if (!std::isnan(value))
                line[x] = ColourOf(range > 0 ? (value - m_Value[0]) / range : 0.5, stops).rgba();
        }
    }
    return image;
}
