#pragma once

#include <QString>
#include <QVector>

// Where a chart's axis puts its grid lines and what their labels say, for the charts on
// screen, their exported images and reports alike: round values (1, 2 or 5 × 10ⁿ apart),
// decades of a logarithmic axis as powers of ten, time in µs, ms or s as the span needs
// and in time of day over minutes and hours.
class CAxisTicks
{
public:
    struct Tick
    {
        double value = 0;
        QString text; // empty where labels are thinned out
    };
    // The ticks of an axis, and how its title should name the unit of the labels: a
    // prefix or power of ten to put before the unit, or the time unit.
    struct Scale
    {
        QVector<Tick> ticks;
        int exponent = 0; // labels are value / 10^exponent (a multiple of 3)
        QString timeUnit; // of a time axis: "µs", "ms", "s", "h:mm:ss" or the day shown
    };

    // From this span in seconds on, a time axis is labelled in time of day (or elapsed h:mm).
    static constexpr double ClockSpan = 600;
    // Beyond this many decades a logarithmic axis shows nothing useful (and would loop long).
    static constexpr int MaximumDecades = 700;

    // The round step (1, 2 or 5 × 10ⁿ) that divides span into at most `intervals` parts,
    // moved `coarser` rungs up that ladder (to thin out labels that would overlap).
    static double RoundStep(double span, int intervals, int coarser = 0);

    // Every multiple of the round step for about `intervals` parts (up to half as many
    // again) from min to max, labelled with the decimals the step needs. Values far from 1 (below 0.01 or
    // from 10⁴ on) are labelled in a common power of ten (a multiple of 3, so it names a unit prefix) given
    // in `exponent`. A printf-style format of one number, where given, writes the labels instead.
    static Scale Linear(double min, double max, int intervals, int coarser = 0, const QString& format = {});

    // Each power of ten from min to max, every labelEvery-th labelled (by exponent, so that
    // the labelled decades stay put as the range moves).
    static Scale Logarithmic(double min, double max, int labelEvery = 1);

    // The label of the decade 10^e on an axis whose decades run from `first` to `last`:
    // written out (0.1, 1, 10, 100, 1000) when all of them are that short, else as a power
    // of ten (10⁻³, 10⁰, 10⁶), never "1e+01".
    static QString DecadeLabel(int e, int first, int last);

    // A time axis in seconds after `origin` (seconds since the epoch, NaN when not known):
    // below 2 ms in µs, below 2 s in ms, below ten minutes in s; longer spans at round
    // clock times (seconds, minutes, hours, days) in local time of day, "hh:mm" or
    // "hh:mm:ss", a tick at midnight by its date; without an origin as elapsed h:mm:ss.
    static Scale Time(double min, double max, int intervals, int coarser, double origin);

    // An axis title with its unit in brackets ("[T]", "Time [s]") renamed for the scale's
    // labels: a unit prefix where the unit takes one ("[µT]", "[mA/m]"), otherwise the
    // power of ten ("[×10⁻⁶ T·T']"); the time unit of a time axis ("Time [ms]").
    static QString Title(const QString& title, const Scale& scale);

    // The unit in brackets at the end of a title ("T" of "Field [T]"); empty when none.
    static QString UnitOf(const QString& title);
};
