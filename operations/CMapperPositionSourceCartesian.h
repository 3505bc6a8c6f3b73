#pragma once

#include "operations/CAxisStepSeries.h"
#include "operations/CMapperPositionSource.h"

#include <QList>

// A raster grid from start, stop and step per axis; every point carries the same orientation.
class CMapperPositionSourceCartesian : public CMapperPositionSource
{
    Q_OBJECT
    Q_PROPERTY(CAxisStepSeries* X READ X CONSTANT)
    Q_PROPERTY(CAxisStepSeries* Y READ Y CONSTANT)
    Q_PROPERTY(CAxisStepSeries* Z READ Z CONSTANT)
    Q_PROPERTY(COrientation* Orientation READ Orientation CONSTANT)
public:
    // More points than any mapping data set can hold: beyond it the grid is cut.
    static constexpr int MaxPoints = 10000000;

    explicit CMapperPositionSourceCartesian(QObject* parent = nullptr);

    CAxisStepSeries* X() { return &m_X; }
    CAxisStepSeries* Y() { return &m_Y; }
    CAxisStepSeries* Z() { return &m_Z; }
    COrientation* Orientation() { return &m_Orientation; }
    const QList<CPosition>& Positions() const { return m_Positions; }

    void ResetPosition() override;
    bool NextPosition(CPosition& position, COrientation& orientation) override;

public slots:
    void InitializePositions();

private:
    CAxisStepSeries m_X;
    CAxisStepSeries m_Y;
    CAxisStepSeries m_Z;
    COrientation m_Orientation;
    QList<CPosition> m_Positions;
    int m_NextIndex = 0;
};
