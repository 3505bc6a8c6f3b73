#include "viewmodels/CChart2D.h"

#include "app/CConstants.h"
#include "model/TesvanaSetter.h"

#include <QtCharts/QAbstractAxis>

#include <algorithm>

CChart2D::CChart2D(QObject* parent)
    : QAbstractTableModel(parent), m_Ymax(CConstants::Chart2DDefaultYMax),
      m_Ymin(CConstants::Chart2DDefaultYMin)
{
}

void CChart2D::ComputeMin(float& localMin, float value)
{
    localMin = std::min(localMin, value);
    if (m_YminAllSignal == UnsetYmin || m_YminAllSignal > value)
        setYminAllSignal(value);
}

void CChart2D::ComputeMax(float& localMax, float value)
{
    localMax = std::max(localMax, value);
    if (m_YmaxAllSignal == UnsetYmax || m_YmaxAllSignal < value)
        setYmaxAllSignal(value);
}

TESVANA_SETTER(CChart2D, double, Xmax)
TESVANA_SETTER(CChart2D, double, Xmin)
TESVANA_SETTER(CChart2D, bool, Visible)
TESVANA_SETTER(CChart2D, bool, AutoScaling)
TESVANA_SETTER(CChart2D, double, Ymax)
TESVANA_SETTER(CChart2D, double, Ymin)
TESVANA_SETTER(CChart2D, double, YmaxAllSignal)
TESVANA_SETTER(CChart2D, double, YminAllSignal)
TESVANA_SETTER(CChart2D, bool, FirstDataInit)
TESVANA_SETTER(CChart2D, bool, YminMaxReseted)

void CChart2D::applyRanges(QObject* axisX, QObject* axisY) const
{
    if (auto* x = qobject_cast<QtCharts::QAbstractAxis*>(axisX))
        x->setRange(m_Xmin, m_Xmax);
    if (auto* y = qobject_cast<QtCharts::QAbstractAxis*>(axisY))
        y->setRange(m_Ymin, m_Ymax);
}
