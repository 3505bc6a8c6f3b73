#include "report/CReportChart.h"

#include "compute/CAxisTicks.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace
{
// One axis: where a value lands between `from` and `to` (painter units).
struct Mapping
{
    CReportChart::Axis axis;
    double min, max;
    double from, to;
    double operator()(double value) const
    {
        if (axis == CReportChart::Axis::Logarithmic)
            return from +
                   (std::log10(value) - std::log10(min)) / (std::log10(max) - std::log10(min)) * (to - from);
        return from + (value - min) / (max - min) * (to - from);
    }
    bool Shows(double value) const
    {
        return std::isfinite(value) && (axis != CReportChart::Axis::Logarithmic || value > 0);
    }
};

// The range of the data on one axis (positive values only on a logarithmic one),
// widened to whole decades or a little margin; the given bounds win.
void rangeOf(const std::vector<CReportChart::Series>& series, bool x, CReportChart::Axis axis, double& min,
             double& max)
{
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const auto& s : series)
        for (const QPointF& p : s.points)
        {
            const double v = x ? p.x() : p.y();
            if (std::isfinite(v) && (axis != CReportChart::Axis::Logarithmic || v > 0))
            {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
    if (!std::isfinite(min))
        min = low;
    if (!std::isfinite(max))
        max = high;
    if (!std::isfinite(min) || !std::isfinite(max))
    {
        min = axis == CReportChart::Axis::Logarithmic ? 1 : 0;
        max = axis == CReportChart::Axis::Logarithmic ? 10 : 1;
    }
    if (axis == CReportChart::Axis::Logarithmic)
    {
        min = std::pow(10.0, std::floor(std::log10(min) + 1e-9));
        max = std::pow(10.0, std::ceil(std::log10(max) - 1e-9));
        if (!(max > min))
            max = min * 10;
    }
    else if (!(max > min))
    {
        const double half = min == 0 ? 0.5 : std::abs(min) * 0.1;
        min -= half;
        max += half;
    }
}

CAxisTicks::Scale scaleOf(CReportChart::Axis axis, double min, double max, int intervals)
{
    switch (axis)
    {
    case CReportChart::Axis::Logarithmic:
        return CAxisTicks::Logarithmic(min, max, std::log10(max / min) > 8 ? 2 : 1);
    case CReportChart::Axis::Time:
    {
        CAxisTicks::Scale scale = CAxisTicks::Time(0, max - min, intervals, 0, min);
        for (CAxisTicks::Tick& tick : scale.ticks)
            tick.value += min;
        return scale;
    }
    case CReportChart::Axis::Linear:
        break;
    }
    return CAxisTicks::Linear(min, max, intervals);
}
} // namespace

void CReportChart::Draw(QPainter& painter, const QRectF& area, const QFont& font) const
{
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height();
    double x0 = xMin, x1 = xMax, y0 = yMin, y1 = yMax;
    rangeOf(series, true, xAxis, x0, x1);
    rangeOf(series, false, yAxis, y0, y1);
    const CAxisTicks::Scale xs = scaleOf(xAxis, x0, x1, 6);
    const CAxisTicks::Scale ys = scaleOf(yAxis, y0, y1, 5);

    // Room for the y labels at the left, the x labels and title below, the y title above.
    double labelWidth = 0;
    for (const CAxisTicks::Tick& tick : ys.ticks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick.text));
    const QRectF plot(area.left() + labelWidth + line * 0.6, area.top() + line * 1.4,
                      area.width() - labelWidth - line * 1.2, area.height() - line * 4.2);
    const Mapping mx{xAxis, x0, x1, plot.left(), plot.right()};
    const Mapping my{yAxis, y0, y1, plot.bottom(), plot.top()};
    const double hair = std::max(0.5, line / 20);

    // Grid and labels.
    painter.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), hair));
    for (const CAxisTicks::Tick& tick : xs.ticks)
        if (tick.value >= x0 && tick.value <= x1)
            painter.drawLine(QPointF(mx(tick.value), plot.top()), QPointF(mx(tick.value), plot.bottom()));
    for (const CAxisTicks::Tick& tick : ys.ticks)
        if (tick.value >= y0 && tick.value <= y1)
            painter.drawLine(QPointF(plot.left(), my(tick.value)), QPointF(plot.right(), my(tick.value)));
    painter.setPen(QPen(Qt::black, hair));
    painter.drawRect(plot);
    for (const CAxisTicks::Tick& tick : xs.ticks)
        if (tick.value >= x0 && tick.value <= x1 && !tick.text.isEmpty())
            painter.drawText(QRectF(mx(tick.value) - line * 4, plot.bottom() + line * 0.2, line * 8, line),
                             Qt::AlignHCenter | Qt::AlignTop, tick.text);
    for (const CAxisTicks::Tick& tick : ys.ticks)
        if (tick.value >= y0 && tick.value <= y1 && !tick.text.isEmpty())
            painter.drawText(QRectF(area.left(), my(tick.value) - line / 2, labelWidth, line),
                             Qt::AlignRight | Qt::AlignVCenter, tick.text);
    painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.3, plot.width(), line), Qt::AlignHCenter,
                     CAxisTicks::Title(xTitle, xs));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
                     CAxisTicks::Title(yTitle, ys));

    // The series, clipped to the plot.
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Series& s : series)
    {
        QPen pen(s.colour, hair * 3);
        if (s.dashed)
            pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        if (s.style == Style::Points)
        {
            painter.setBrush(s.colour);
            for (const QPointF& p : s.points)
                if (mx.Shows(p.x()) && my.Shows(p.y()))
                    painter.drawEllipse(QPointF(mx(p.x()), my(p.y())), line / 5, line / 5);
            painter.setBrush(Qt::NoBrush);
            continue;
        }
        QPainterPath path;
        bool open = false;
        for (const QPointF& p : s.points)
        {
            if (!mx.Shows(p.x()) || !my.Shows(p.y()))
            {
                open = false;
                continue;
            }
            const QPointF at(mx(p.x()), my(p.y()));
            if (!open)
                path.moveTo(at);
            else
                path.lineTo(at);
            open = true;
        }
        painter.drawPath(path);
    }
    painter.restore();

    // The legend, along the top right.
    double right = plot.right();
    for (auto it = series.rbegin(); it != series.rend(); ++it)
    {
        if (it->name.isEmpty())
            continue;
        const double width = metrics.horizontalAdvance(it->name);
        const QRectF text(right - width, area.top(), width, line);
        painter.setPen(Qt::black);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, it->name);
        QPen pen(it->colour, hair * 3);
        if (it->dashed)
            pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(text.left() - line * 1.8, text.center().y()),
                         QPointF(text.left() - line * 0.3, text.center().y()));
        right = text.left() - line * 2.6;
    }
    painter.restore();
}
