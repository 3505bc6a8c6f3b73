#include "operations/CMapperPositionSourceCartesian.h"

#include "app/LogCategories.h"

#include <QDebug>

CMapperPositionSourceCartesian::CMapperPositionSourceCartesian(QObject* parent)
    : CMapperPositionSource(Cartesian, parent)
{
    connect(&m_X, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
    connect(&m_Y, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
    connect(&m_Z, &CAxisStepSeries::Updated, this, &CMapperPositionSourceCartesian::InitializePositions);
    InitializePositions();
}

void CMapperPositionSourceCartesian::InitializePositions()
{
    m_NextIndex = 0;
    m_Positions.clear();
    if (m_X.StepSize() <= 0.001)
    {
        qCDebug(lcOperations) << "X.StepSize is too small";
        return;
    }
    if (m_Y.StepSize() <= 0.001)
    {
        qCDebug(lcOperations) << "Y.StepSize is too small";
        return;
    }
    if (m_Z.StepSize() <= 0.001)
    {
        qCDebug(lcOperations) << "Z.StepSize is too small";
        return;
    }
    // Coordinates accumulate by repeated addition, as a stage stepping along would.
    for (double x = m_X.Start(); x <= m_X.Stop(); x += m_X.StepSize())
    {
        for (double y = m_Y.Start(); y <= m_Y.Stop(); y += m_Y.StepSize())
        {
            for (double z = m_Z.Start(); z <= m_Z.Stop(); z += m_Z.StepSize())
            {
                // A huge range with a small step would exhaust memory: the grid is cut, and said so.
                if (m_Positions.size() >= MaxPoints)
                {
                    qCWarning(lcOperations) << "The grid is cut at" << MaxPoints << "points";
                    return;
                }
                m_Positions.append(CPosition(x, y, z));
            }
        }
    }
}

void CMapperPositionSourceCartesian::ResetPosition()
{
    InitializePositions();
    m_NextIndex = 0;
}

bool CMapperPositionSourceCartesian::NextPosition(CPosition& position, COrientation& orientation)
{
    if (m_NextIndex >= m_Positions.size())
        return false;
    orientation = m_Orientation;
    position = m_Positions.at(m_NextIndex);
    ++m_NextIndex;
    return true;
}
