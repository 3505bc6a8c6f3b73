#include "viewmodels/CColourMap.h"

#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <limits>

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

double CColourMap::l_Step(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    double step = std::numeric_limits<double>::max();
    for (std::size_t i = 1; i < values.size(); ++i)
    {
        const double gap = values[i] - values[i - 1];
        if (gap > 1e-9)
            step = std::min(step, gap);
    }
    return step == std::numeric_limits<double>::max() ? 1.0 : step;
}

void CColourMap::l_Update()
{
    // Planar when exactly one coordinate is the same at every point and the plane is two-dimensional.
    m_Plane = -1;
    if (m_Points.size() >= 2)
    {
        int flat = 0;
        int plane = -1;
        for (int a = 0; a < 3; ++a)
        {
            const auto [low, high] =
                std::minmax_element(m_Points.begin(), m_Points.end(), [a](const Point& p, const Point& q) {
                    return p.position[std::size_t(a)] < q.position[std::size_t(a)];
                });
            if (std::fabs(high->position[std::size_t(a)] - low->position[std::size_t(a)]) < 1e-9)
            {
                ++flat;
                plane = a;
            }
        }
        if (flat == 1)
            m_Plane = plane;
    }
    m_Cells.clear();
    if (m_Plane >= 0)
    {
        const std::size_t u = m_Plane == 0 ? 1 : 0;
        const std::size_t v = m_Plane == 2 ? 1 : 2;
        std::vector<double> us, vs;
        m_U = {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()};
        m_V = m_U;
        m_Value = m_U;
        for (const Point& p : m_Points)
        {
            const double value = p.field[std::size_t(m_Quantity)];
            us.push_back(p.position[u]);
            vs.push_back(p.position[v]);
            m_U = {std::min(m_U[0], p.position[u]), std::max(m_U[1], p.position[u])};
            m_V = {std::min(m_V[0], p.position[v]), std::max(m_V[1], p.position[v])};
            if (std::isfinite(value))
                m_Value = {std::min(m_Value[0], value), std::max(m_Value[1], value)};
            m_Cells.append(QVariantMap{{QStringLiteral("u"), p.position[u]},
                                       {QStringLiteral("v"), p.position[v]},
                                       {QStringLiteral("value"), value}});
        }
        m_CellWidth = l_Step(us);
        m_CellHeight = l_Step(vs);
        if (!(m_Value[1] >= m_Value[0]))
            m_Value = {0, 1};
    }
    emit changed();
}
