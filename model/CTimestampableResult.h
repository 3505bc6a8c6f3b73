#pragma once

#include <QDateTime>
#include <QMetaType>

// Base of every timestamped sample: date and time plus the sub-second part in
// nanoseconds. A plain value (a gadget, not a QObject): a recording holds millions
// of samples, and a QObject's own private part would be most of their memory and
// most of the time spent loading them.
class CTimestampableResult
{
    Q_GADGET
public:
    QDateTime Timestamp;
    quint64 TimestampNanosecond = 0;

    // Seconds since the epoch: whole milliseconds from the date and time, the rest
    // from the nanoseconds.
    double Seconds() const
    {
        return double(Timestamp.toMSecsSinceEpoch()) / 1e3 + double(TimestampNanosecond % 1000000) / 1e9;
    }
};
