#include "quickitems/CPlotNavigation.h"

#include "compute/CEngineeringNotation.h"

#include <QCoreApplication>
#include <QPointF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CPlotNavigation", text);
}

// A span too small for a double to tell its ends apart is not zoomed into any further.
bool resolvable(double min, double max)
{
    return std::isfinite(min) && std::isfinite(max) && max > min &&
           (max - min) > 1e-12 * std::max(std::fabs(min), std::fabs(max));
}

// Seconds as a reader wants them: µs, ms or s by size, five significant digits.
QString seconds(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude > 0 && magnitude < 1e-3)
        return CEngineeringNotation::Fixed(value * 1e6, 5) + QStringLiteral(" \u00b5s");
    if (magnitude > 0 && magnitude < 1)
        return CEngineeringNotation::Fixed(value * 1e3, 5) + QStringLiteral(" ms");
    return CEngineeringNotation::Fixed(value, 5) + QStringLiteral(" s");
}
} // namespace

double CPlotNavigation::ValueAt(const Axis& axis, double fraction)
{
    if (axis.logarithmic && axis.min > 0 && axis.max > 0)
        return axis.min * std::pow(axis.max / axis.min, fraction);
    return axis.min + fraction * (axis.max - axis.min);
}

CPlotNavigation::Range CPlotNavigation::Zoomed(const Axis& axis, double fraction, double factor)
{
    const Range unchanged{axis.min, axis.max};
    if (!(factor > 0) || !std::isfinite(factor))
        return unchanged;
    fraction = std::clamp(fraction, 0.0, 1.0);
    Range range;
    if (axis.logarithmic && axis.min > 0 && axis.max > 0)
    {
        const double low = std::log10(axis.min), high = std::log10(axis.max);
        const double at = low + fraction * (high - low);
        range = {std::pow(10.0, at - (at - low) * factor), std::pow(10.0, at + (high - at) * factor)};
    }
    else
    {
        const double at = ValueAt(axis, fraction);
        range = {at - (at - axis.min) * factor, at + (axis.max - at) * factor};
    }
    return resolvable(range.min, range.max) ? range : unchanged;
}

CPlotNavigation::Range CPlotNavigation::Panned(const Axis& axis, double fraction)
{
    const Range range{ValueAt(axis, fraction), ValueAt(axis, 1 + fraction)};
    return resolvable(range.min, range.max) ? range : Range{axis.min, axis.max};
}

CPlotNavigation::Range CPlotNavigation::Between(const Axis& axis, double from, double to)
{
    const double a = ValueAt(axis, std::clamp(from, 0.0, 1.0)), b = ValueAt(axis, std::clamp(to, 0.0, 1.0));
    const Range range{std::min(a, b), std::max(a, b)};
    return resolvable(range.min, range.max) ? range : Range{axis.min, axis.max};
}

double CPlotNavigation::ValueNear(const QVector<QPointF>& points, double x)
{
    if (points.isEmpty() || !std::isfinite(x))
        return std::numeric_limits<double>::quiet_NaN();
    const auto after = std::lower_bound(points.begin(), points.end(), x,
                                        [](const QPointF& p, double v) { return p.x() < v; });
    if (after == points.begin())
        return after->y();
    if (after == points.end())
        return points.last().y();
    const auto before = after - 1;
    return x - before->x() <= after->x() - x ? before->y() : after->y();
}

QString CPlotNavigation::CursorText(const QVector<double>& cursors, const QVector<Series>& series, bool time,
                                    const QString& unit, const QString& xUnit)
{
    if (cursors.isEmpty())
        return QString();
    const auto at = [time, &xUnit](double x) {
        return time ? seconds(x) : CEngineeringNotation::Format(x, xUnit, 5);
    };
    QStringList parts;
    if (cursors.size() == 1)
    {
        parts << (time ? QStringLiteral("t = ") : QStringLiteral("x = ")) + at(cursors[0]);
        for (const Series& s : series)
            parts << s.name + QStringLiteral(" ") +
                         CEngineeringNotation::Format(ValueNear(*s.points, cursors[0]), unit, 5);
        return parts.join(QStringLiteral("   "));
    }
    const double delta = cursors[1] - cursors[0];
    parts << (time ? QStringLiteral("\u0394t = ") : QStringLiteral("\u0394x = ")) + at(delta);
    if (time && delta != 0)
        parts << QStringLiteral("1/\u0394t = ") + CEngineeringNotation::Fixed(1 / std::fabs(delta), 5) +
                     QStringLiteral(" Hz");
    for (const Series& s : series)
        parts << QStringLiteral("\u0394") + s.name + QStringLiteral(" ") +
                     CEngineeringNotation::Format(
                         ValueNear(*s.points, cursors[1]) - ValueNear(*s.points, cursors[0]), unit, 5);
    if (series.isEmpty())
        parts << tr("no series shown");
    return parts.join(QStringLiteral("   "));
}
