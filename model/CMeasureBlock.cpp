#include "model/CMeasureBlock.h"

#include "model/CNumberText.h"

#include <cstdio>

CMeasureBlock::CMeasureBlock(QObject* parent) : QObject(parent) {}

void CMeasureBlock::setComment(const QString& value)
{
    if (m_Comment == value)
        return;
    m_Comment = value;
    emit CommentChanged(value);
}

QString CMeasureBlock::FormatTimestamp(const QDateTime& timestamp, quint64 nanoseconds)
{
    // Formatted by hand: QDateTime::toString costs more than the whole rest of a row.
    char text[48];
    const unsigned long long fraction = static_cast<unsigned long long>(nanoseconds % 1000000000ULL);
    const QDate date = timestamp.date();
    const QTime time = timestamp.time();
    if (timestamp.isValid() && date.year() >= 0 && date.year() <= 9999)
    {
        const int n =
            std::snprintf(text, sizeof text, "%04d.%02d.%02dT%02d:%02d:%02d.%09llu", date.year(),
                          date.month(), date.day(), time.hour(), time.minute(), time.second(), fraction);
        return QString::fromLatin1(text, n);
    }
    const int n = std::snprintf(text, sizeof text, ".%09llu", fraction);
    return timestamp.toString(QStringLiteral("yyyy.MM.dd'T'HH:mm:ss")) + QLatin1String(text, n);
}

QString CMeasureBlock::ToString(const QString& separator) const
{
    QString out;
    if (Results.isEmpty())
        return out;
    out.reserve(Results.size() * 96);
    bool first = true;
    for (const QSharedPointer<CFieldIntensityResult>& sample : Results)
    {
        if (!sample)
            continue;
        if (!first)
            out += QLatin1Char('\n');
        first = false;
        out += FormatTimestamp(sample->Timestamp, sample->TimestampNanosecond);
        out += separator;
        CNumberText::AppendG6(out, sample->B());
        out += separator;
        CNumberText::AppendG6(out, sample->BBprime());
        out += separator;
        CNumberText::AppendG6(out, sample->Bx());
        out += separator;
        CNumberText::AppendG6(out, sample->By());
        out += separator;
        CNumberText::AppendG6(out, sample->Bz());
        out += separator;
        out += QString::number(sample->Temperature());
        out += separator;
        CNumberText::AppendG6(out, sample->dB());
    }
    return out;
}
