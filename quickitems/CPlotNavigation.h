#pragma once

#include <QPointF>
#include <QString>
#include <QVector>

// What zooming, panning and the cursors of a chart make of its axes and series, apart
// from the pointer and the keys that ask for it: ranges in the axes' values, along a
// linear or a logarithmic axis, and the cursors' readout.
class CPlotNavigation
{
public:
    struct Axis
    {
        double min = 0;
        double max = 1;
        bool logarithmic = false;
    };
    struct Range
    {
        double min = 0;
        double max = 1;
    };
    // A series as the cursors read it: its name, its points (x rising) and whether shown.
    struct Series
    {
        QString name;
        const QVector<QPointF>* points = nullptr;
    };

    // The value at `fraction` (0 … 1) along the axis.
    static double ValueAt(const Axis& axis, double fraction);
    // Zoomed by `factor` (below 1: in) about the value at `fraction`, which stays in place.
    static Range Zoomed(const Axis& axis, double fraction, double factor);
    // Moved by `fraction` of the span (positive: towards larger values).
    static Range Panned(const Axis& axis, double fraction);
    // From the value at one fraction to the value at another, in rising order.
    static Range Between(const Axis& axis, double from, double to);

    // The readout of one cursor (each series' value there) or of two (the time between,
    // 1/Δt, and each series' change), values in engineering notation in `unit`. On a time
    // axis x is in seconds, otherwise in `xUnit`.
    static QString CursorText(const QVector<double>& cursors, const QVector<Series>& series, bool time,
                              const QString& unit, const QString& xUnit = QString());
    // The series' value at x: of its point nearest to x; NaN when it has none.
    static double ValueNear(const QVector<QPointF>& points, double x);
};
