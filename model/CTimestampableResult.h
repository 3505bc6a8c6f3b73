#pragma once

#include <QDateTime>
#include <QObject>

// Base of every timestamped sample: date and time plus the sub-second part in nanoseconds.
class CTimestampableResult : public QObject
{
    Q_OBJECT
public:
    explicit CTimestampableResult(QObject* parent = nullptr);

    QDateTime Timestamp;
    quint64 TimestampNanosecond = 0;
};
