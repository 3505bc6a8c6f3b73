#include "compute/CAxisTicks.h"

#include "compute/CEngineeringNotation.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// Ticks beyond this many on one axis are a range that the numbers cannot resolve.
constexpr double MaximumTicks = 1000;

// One number of a printf-style label format, nothing else: the format comes from the page,
// but a stray %s must not read what is not there.
bool isNumberFormat(const QString& format)
{
    static const QRegularExpression number(QStringLiteral("^[^%]*%[-+ 0#]*\\d*(\\.\\d+)?[eEfgG][^%]*$"));
    return number.match(format).hasMatch();
}

int decimalExponent(double value)
{
    return int(std::floor(std::log10(value) + 1e-9));
}

// The multiples of step from min to max (none when last < first); false where they are too
// many or too close to each other for a double to tell apart (a narrow window far from zero).
bool multiples(double min, double max, double step, double& first, double& last)
{
    if (!(step > 0) || !std::isfinite(step))
        return false;
    first = std::ceil(min / step - 1e-9);
    last = std::floor(max / step + 1e-9);
    return last - first <= MaximumTicks && std::max(std::fabs(first), std::fabs(last)) < 1e15;
}

// Labels as they are when the numbers cannot be resolved into round steps: the two ends.
CAxisTicks::Scale ends(double min, double max)
{
    CAxisTicks::Scale scale;
    scale.ticks = {{min, QString::number(min, 'g', 10)}, {max, QString::number(max, 'g', 10)}};
    return scale;
}

// The rung below a round step: 5 → 2 → 1 → 0.5.
double finerStep(double step)
{
    const double power = std::pow(10.0, decimalExponent(step));
    const double mantissa = std::round(step / power);
    return mantissa >= 5 ? 2 * power : mantissa >= 2 ? power : power / 2;
}

CAxisTicks::Scale linear(double min, double max, int intervals, int coarser, const QString& format,
                         bool scaled)
{
    CAxisTicks::Scale scale;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min))
        return scale;
    // Up to half as many intervals again as asked: 0 … 500 in four is 0, 100 … 500, not 0,
    // 200, 400; labels that would crowd are thinned by the caller (coarser).
    double step = CAxisTicks::RoundStep(max - min, intervals + intervals / 2, coarser);
    double first = 0, last = 0;
    // A step that leaves fewer than two ticks in the range (it may be 2.5 times the span
    // wanted) goes down the ladder until two fit: an axis needs two labels to be read.
    for (int finer = 0; finer < 6 && multiples(min, max, step, first, last) && last - first < 1; ++finer)
        step = finerStep(step);
    if (!multiples(min, max, step, first, last) || last - first < 1)
        return ends(min, max);
    const double biggest = std::max(std::fabs(first), std::fabs(last)) * step;
    const bool formatted = isNumberFormat(format);
    if (scaled && !formatted && biggest > 0 && (biggest < 1e-2 || biggest >= 1e4))
        scale.exponent = 3 * int(std::floor(decimalExponent(biggest) / 3.0));
    const double unit = std::pow(10.0, scale.exponent);
    const int decimals = std::clamp(scale.exponent - decimalExponent(step), 0, 17);
    for (double k = first; k <= last; ++k)
    {
        double value = k * step;
        if (std::fabs(value) < step * 1e-9)
            value = 0; // not "-0.000" where a rounding missed zero
        scale.ticks.append({value, formatted ? QString::asprintf(format.toLatin1().constData(), value)
                                             : QString::number(value / unit, 'f', decimals)});
    }
    return scale;
}

// Round spans of time in seconds: seconds, minutes, hours, then days in 1, 2, 5 steps.
double timeStep(double span, int intervals, int coarser)
{
    static const std::array<double, 17> ladder = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                                  600, 900, 1800, 3600, 7200, 10800, 21600, 43200};
    const double wanted = span / std::max(1, intervals);
    int rung = 0;
    while (rung < int(ladder.size()) && ladder[std::size_t(rung)] < wanted * (1 - 1e-9))
        ++rung;
    rung += std::max(0, coarser);
    if (rung < int(ladder.size()))
        return ladder[std::size_t(rung)];
    return 86400 * CAxisTicks::RoundStep(wanted / 86400, 1, rung - int(ladder.size()));
}

QString elapsed(double seconds, bool withSeconds)
{
    const qint64 whole = qint64(std::llround(std::fabs(seconds)));
    const QString sign = seconds < 0 && whole != 0 ? QStringLiteral("-") : QString();
    const QString minutes =
        QStringLiteral("%1:%2").arg(whole / 3600).arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
    return sign +
           (withSeconds ? minutes + QStringLiteral(":%1").arg(whole % 60, 2, 10, QLatin1Char('0')) : minutes);
}
} // namespace

double CAxisTicks::RoundStep(double span, int intervals, int coarser)
{
    const double wanted = span / std::max(1, intervals);
    if (!(wanted > 0) || !std::isfinite(wanted))
        return 0;
    static const std::array<double, 3> mantissas = {1, 2, 5};
    int e = decimalExponent(wanted);
    int rung = 0;
    while (mantissas[std::size_t(rung)] * std::pow(10.0, e) < wanted * (1 - 1e-9))
    {
        if (++rung == 3)
        {
            rung = 0;
            ++e;
        }
    }
    rung += std::max(0, coarser);
    e += rung / 3;
    return mantissas[std::size_t(rung % 3)] * std::pow(10.0, e);
}

CAxisTicks::Scale CAxisTicks::Linear(double min, double max, int intervals, int coarser,
                                     const QString& format)
{
    return linear(min, max, intervals, coarser, format, true);
}

CAxisTicks::Scale CAxisTicks::Logarithmic(double min, double max, int labelEvery)
{
    Scale scale;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || !(min > 0))
        return scale;
    labelEvery = std::max(1, labelEvery);
    // A little slack so that a bound a rounding short of a power of ten still shows it.
    const int first = int(std::ceil(std::log10(min) - 1e-9));
    const int last = std::min(int(std::floor(std::log10(max) + 1e-9)), first + MaximumDecades);
    for (int e = first; e <= last; ++e)
        scale.ticks.append(
            {std::pow(10.0, e), e % labelEvery == 0 ? DecadeLabel(e, first, last) : QString()});
    return scale;
}

QString CAxisTicks::DecadeLabel(int e, int first, int last)
{
    if (first >= -1 && last <= 3)
        return QString::number(std::pow(10.0, e), 'g', 4);
    return CEngineeringNotation::PowerOfTen(e);
}

CAxisTicks::Scale CAxisTicks::Time(double min, double max, int intervals, int coarser, double origin)
{
    Scale scale;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min))
        return scale;
    const double span = max - min;
    if (span < ClockSpan)
    {
        const double factor = span < 2e-3 ? 1e6 : span < 2 ? 1e3 : 1;
        scale = linear(min * factor, max * factor, intervals, coarser, QString(), false);
        for (Tick& tick : scale.ticks)
            tick.value /= factor;
        scale.timeUnit = factor == 1e6   ? QStringLiteral("\u00b5s")
                         : factor == 1e3 ? QStringLiteral("ms")
                                         : QStringLiteral("s");
        return scale;
    }
    const double step = timeStep(span, intervals, coarser);
    const bool known = std::isfinite(origin) && std::fabs(origin) < 1e12;
    // Clock times are round in local time: the grid is laid in the zone's seconds.
    const double offset =
        known ? QDateTime::fromMSecsSinceEpoch(qint64((origin + min) * 1000)).offsetFromUtc() : 0;
    const double shift = known ? origin + offset : 0;
    double first = 0, last = 0;
    if (!multiples(min + shift, max + shift, step, first, last))
        return ends(min, max);
    const QLocale c = QLocale::c();
    for (double k = first; k <= last; ++k)
    {
        const double at = k * step;
        QString text;
        if (!known)
            text = elapsed(at, step < 60);
        else
        {
            const QDateTime clock = QDateTime::fromMSecsSinceEpoch(qint64(at * 1000), Qt::UTC);
            const bool midnight = std::fmod(at, 86400) == 0;
            text = step >= 86400 || midnight ? c.toString(clock, QStringLiteral("d MMM"))
                   : step < 60               ? c.toString(clock, QStringLiteral("hh:mm:ss"))
                                             : c.toString(clock, QStringLiteral("hh:mm"));
        }
        scale.ticks.append({at - shift, text});
    }
    if (!known)
        scale.timeUnit = step < 60 ? QStringLiteral("h:mm:ss") : QStringLiteral("h:mm");
    else
    {
        const QDateTime start = QDateTime::fromMSecsSinceEpoch(qint64((min + shift) * 1000), Qt::UTC);
        scale.timeUnit = step >= 86400
                             ? c.toString(start, QStringLiteral("yyyy"))
                             : (step < 60 ? QStringLiteral("hh:mm:ss, ") : QStringLiteral("hh:mm, ")) +
                                   c.toString(start, QStringLiteral("yyyy-MM-dd"));
    }
    return scale;
}

QString CAxisTicks::UnitOf(const QString& title)
{
    const int open = title.lastIndexOf(QLatin1Char('['));
    const int close = title.indexOf(QLatin1Char(']'), open);
    return open >= 0 && close > open ? title.mid(open + 1, close - open - 1) : QString();
}

QString CAxisTicks::Title(const QString& title, const Scale& scale)
{
    if (scale.timeUnit.isEmpty() && scale.exponent == 0)
        return title;
    const int open = title.lastIndexOf(QLatin1Char('['));
    const int close = title.indexOf(QLatin1Char(']'), open);
    const bool bracketed = open >= 0 && close > open;
    const QString unit = UnitOf(title);
    QString renamed;
    if (!scale.timeUnit.isEmpty())
        renamed = scale.timeUnit;
    else
    {
        renamed = CEngineeringNotation::PrefixedUnit(unit, scale.exponent);
        if (renamed.isEmpty())
            renamed = QStringLiteral("\u00d7") + CEngineeringNotation::PowerOfTen(scale.exponent) +
                      (unit.isEmpty() ? QString() : QStringLiteral(" ") + unit);
    }
    if (!bracketed)
        return title + (title.isEmpty() ? QString() : QStringLiteral(" ")) + QLatin1Char('[') + renamed +
               QLatin1Char(']');
    return title.left(open + 1) + renamed + title.mid(close);
}
