#include "model/CMeasureBlock.h"

#include "model/CNumberText.h"

#include <cstdio>
#include <limits>

CMeasureBlock::CMeasureBlock(QObject* parent) : QObject(parent) {}

void CMeasureBlock::setComment(const QString& value)
{
    if (m_Comment == value)
        return;
    m_Comment = value;
    emit CommentChanged(value);
}

namespace
{
char* writeDigits(char* out, unsigned value, int count)
{
    for (int i = count - 1; i >= 0; --i)
    {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + count;
}

// Writes the timestamp text at `out` (room for 48 characters); returns the end, or
// null for a timestamp that only Qt's formatter can write (invalid, or a year
// outside 0..9999).
char* writeTimestamp(char* out, const QDateTime& timestamp, quint64 nanoseconds)
{
    if (!timestamp.isValid())
        return nullptr;
    const QDate date = timestamp.date();
    if (date.year() < 0 || date.year() > 9999)
        return nullptr;
    const int seconds = timestamp.time().msecsSinceStartOfDay() / 1000;
    out = writeDigits(out, unsigned(date.year()), 4);
    *out++ = '.';
    out = writeDigits(out, unsigned(date.month()), 2);
    *out++ = '.';
    out = writeDigits(out, unsigned(date.day()), 2);
    *out++ = 'T';
    out = writeDigits(out, unsigned(seconds / 3600), 2);
    *out++ = ':';
    out = writeDigits(out, unsigned(seconds / 60 % 60), 2);
    *out++ = ':';
    out = writeDigits(out, unsigned(seconds % 60), 2);
    *out++ = '.';
    return writeDigits(out, unsigned(nanoseconds % 1000000000ULL), 9);
}
} // namespace

double CMeasureBlock::TimestampRate() const
{
    if (Results.size() < 2)
        return std::numeric_limits<double>::quiet_NaN();
    const double span = Results.last()->Seconds() - Results.first()->Seconds();
    return span > 0 ? double(Results.size() - 1) / span : std::numeric_limits<double>::quiet_NaN();
}

QString CMeasureBlock::FormatTimestamp(const QDateTime& timestamp, quint64 nanoseconds)
{
    char text[48];
    if (const char* end = writeTimestamp(text, timestamp, nanoseconds))
        return QString::fromLatin1(text, int(end - text));
    const int n = std::snprintf(text, sizeof text, ".%09llu",
                                static_cast<unsigned long long>(nanoseconds % 1000000000ULL));
    return CNumberText::DateTime(timestamp, QStringLiteral("yyyy.MM.dd'T'HH:mm:ss")) + QLatin1String(text, n);
}

QString CMeasureBlock::ToString(const QString& separator) const
{
    QByteArray rows;
    AppendRows(rows, separator.toUtf8());
    return QString::fromUtf8(rows);
}

void CMeasureBlock::AppendRows(QByteArray& out, const QByteArray& separator) const
{
    // Formatted by hand into one buffer: QDateTime::toString and QString arithmetic
    // cost more than the whole rest of a row.
    out.reserve(out.size() + Results.size() * 96);
    char row[48 + 7 * CNumberText::MaxG6Length];
    // Samples of one second share the text up to the fraction; with a fixed UTC offset
    // (how recordings and live blocks carry their time) it is made once per second.
    char prefix[48];
    qint64 prefixSecond = std::numeric_limits<qint64>::min();
    int prefixOffset = 0;
    int prefixLength = 0;
    bool first = true;
    for (const QSharedPointer<CFieldIntensityResult>& sample : Results)
    {
        if (!sample)
            continue;
        if (!first)
            out += '\n';
        first = false;
        const QDateTime& timestamp = sample->Timestamp;
        const Qt::TimeSpec spec = timestamp.timeSpec();
        if ((spec == Qt::OffsetFromUTC || spec == Qt::UTC) && timestamp.isValid())
        {
            const int offset = timestamp.offsetFromUtc();
            const qint64 local = timestamp.toMSecsSinceEpoch() + qint64(offset) * 1000;
            const qint64 second = local / 1000 - (local % 1000 < 0 ? 1 : 0);
            if (second != prefixSecond || offset != prefixOffset)
            {
                const char* end = writeTimestamp(prefix, timestamp, 0);
                prefixLength = end ? int(end - prefix) - 9 : -1; // without the nine fraction digits
                prefixSecond = second;
                prefixOffset = offset;
            }
            if (prefixLength > 0)
            {
                out.append(prefix, prefixLength);
                out.append(
                    row,
                    int(writeDigits(row, unsigned(sample->TimestampNanosecond % 1000000000ULL), 9) - row));
            }
            else
                out += FormatTimestamp(timestamp, sample->TimestampNanosecond).toUtf8();
        }
        else if (char* end = writeTimestamp(row, timestamp, sample->TimestampNanosecond))
            out.append(row, int(end - row));
        else
            out += FormatTimestamp(timestamp, sample->TimestampNanosecond).toUtf8();
        const auto field = [&](float value) {
            out += separator;
            out.append(row, int(CNumberText::WriteG6(row, value) - row));
        };
        field(sample->B());
        field(sample->BBprime());
        field(sample->Bx());
        field(sample->By());
        field(sample->Bz());
        out += separator;
        char* end = writeDigits(row, sample->Temperature(), 5);
        char* digits = row;
        while (digits < end - 1 && *digits == '0')
            ++digits;
        out.append(digits, int(end - digits));
        field(sample->dB());
    }
}
