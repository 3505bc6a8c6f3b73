#include "operations/CMapperPositionSourceCartesian.h"

#include <QStringList>

#include "app/LogCategories.h"

#include <QDebug>

CMapperPositionSourceCartesian::CMapperPositionSourceCartesian(QObject* parent)
    : CMapperPositionSource(Cartesian, parent)
{
    connect(&m_X, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
    connect(&m_Y, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
    connect(&m_Z, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
}

void CMapperPositionSourceCartesian::InitializePositions()
{
    m_Built = false;
    m_NextIndex = 0;
}

void CMapperPositionSourceCartesian::l_Build()
{
    if (m_Built)
        return;
    m_Built = true;
    m_Count = 0;
    for (auto& axis : m_Axis)
        axis.clear();
    const CAxisStepSeries* series[3] = {&m_X, &m_Y, &m_Z};
    static const char* const names[3] = {"X", "Y", "Z"};
    // Every axis whose step is too small, in one line: the user fixes them all at once.
    QStringList tooSmall;
    for (int a = 0; a < 3; ++a)
        if (!(series[a]->StepSize() > 0.001))
            tooSmall << QStringLiteral("%1 (%2 mm)").arg(QLatin1String(names[a])).arg(series[a]->StepSize());
    if (!tooSmall.isEmpty())
    {
        qCWarning(lcOperations).noquote() << QStringLiteral("The grid's step is too small on ") +
                                                 tooSmall.join(QStringLiteral(", ")) +
                                                 QStringLiteral(": it must be above 0.001 mm");
        return;
    }
    double total = 1;
    for (int a = 0; a < 3; ++a)
    {
        // Coordinates accumulate by repeated addition, as a stage stepping along would.
        // No axis needs more values than the whole grid may have.
        const CAxisStepSeries& s = *series[a];
        for (double v = s.Start(); v <= s.Stop() && m_Axis[a].size() < std::size_t(MaxPoints);
             v += s.StepSize())
            m_Axis[a].push_back(v);
        total *= double(m_Axis[a].size());
    }
    // A huge range with a small step would exhaust memory: the grid is cut, and said so.
    if (total > MaxPoints)
    {
        qCWarning(lcOperations) << "The grid is cut at" << MaxPoints << "points";
        total = MaxPoints;
    }
    m_Count = int(total);
}

CPosition CMapperPositionSourceCartesian::l_At(int index) const
{
    // Z varies fastest, then Y, then X.
    const std::size_t nz = m_Axis[2].size();
    const std::size_t ny = m_Axis[1].size();
    const std::size_t i = std::size_t(index);
    return CPosition(m_Axis[0][i / (ny * nz)], m_Axis[1][(i / nz) % ny], m_Axis[2][i % nz]);
}

QList<CPosition> CMapperPositionSourceCartesian::Positions()
{
    l_Build();
    QList<CPosition> positions;
    positions.reserve(m_Count);
    for (int i = 0; i < m_Count; ++i)
        positions.append(l_At(i));
    return positions;
}

int CMapperPositionSourceCartesian::PointCount()
{
    l_Build();
    return m_Count;
}

void CMapperPositionSourceCartesian::ResetPosition()
{
    l_Build();
    m_NextIndex = 0;
}

bool CMapperPositionSourceCartesian::NextPosition(CPosition& position, COrientation& orientation)
{
    l_Build();
    if (m_NextIndex >= m_Count)
        return false;
    orientation = m_Orientation;
    position = l_At(m_NextIndex);
    ++m_NextIndex;
    return true;
}
