#pragma once

#include "operations/CAxisStepSeries.h"
#include "operations/CMapperPositionSource.h"

#include <QList>

#include <vector>

// A raster grid from start, stop and step per axis; every point carries the same orientation.
// The points are not stored: a grid of millions of points would take seconds to build
// on every keystroke in the axis fields. Each axis' coordinates are built once, when the
// run asks for its first point, and the points are walked by index.
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
    // The points of the run, after the cut (built on demand: for small grids and checks).
    QList<CPosition> Positions();
    // How many points the run visits, after the cut.
    int PointCount();

    void ResetPosition() override;
    bool NextPosition(CPosition& position, COrientation& orientation) override;

public slots:
    // The axes changed: the grid is rebuilt when next needed and the run starts over.
    void InitializePositions();

private:
    void l_Build();
    CPosition l_At(int index) const;

    CAxisStepSeries m_X;
    CAxisStepSeries m_Y;
    CAxisStepSeries m_Z;
    COrientation m_Orientation;
    bool m_Built = false;
    std::vector<double> m_Axis[3];
    int m_Count = 0;
    int m_NextIndex = 0;
};
