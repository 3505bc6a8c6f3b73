#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <QVector>

#include <limits>
#include <vector>

class QPainter;
class QRectF;

// A chart of a report, drawn as vectors from the data (never an image): axes with
// round ticks and units in their titles (CAxisTicks), linear, logarithmic or time,
// series as lines or points, and a legend.
class CReportChart
{
public:
    enum class Axis
    {
        Linear,
        Logarithmic,
        Time // x in seconds since the epoch
    };
    enum class Style
    {
        Line,
        Points
    };
    struct Series
    {
        QString name; // in the legend; empty: none
        QColor colour;
        Style style = Style::Line;
        bool dashed = false;
        QVector<QPointF> points;
    };

    static constexpr double Auto = std::numeric_limits<double>::quiet_NaN();

    Axis xAxis = Axis::Linear;
    Axis yAxis = Axis::Linear;
    // Titles end with their unit in brackets ("Frequency [Hz]"): the ticks' prefix joins it.
    QString xTitle;
    QString yTitle;
    double xMin = Auto, xMax = Auto, yMin = Auto, yMax = Auto;
    std::vector<Series> series;

    // Into `area` (in the painter's units), text in `font`.
    void Draw(QPainter& painter, const QRectF& area, const QFont& font) const;
};
