#pragma once

#include "model/CFieldIntensityResult.h"
#include "model/CMeasureBlock.h"

#include <QDateTime>
#include <QSharedPointer>

// `count` samples of B = Bz = 1 (in the unit in force), 10 ms apart from `startMs` (UTC).
inline QSharedPointer<CMeasureBlock> timed(qint64 startMs, int count)
{
    QSharedPointer<CMeasureBlock> b(new CMeasureBlock());
    for (int i = 0; i < count; ++i)
    {
        const qint64 ms = startMs + 10 * i;
        QSharedPointer<CFieldIntensityResult> s = QSharedPointer<CFieldIntensityResult>::create();
        s->Timestamp = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
        s->TimestampNanosecond = quint64(ms % 1000) * 1000000ULL;
        s->setBz(1);
        s->setB(1);
        b->Results.append(s);
    }
    return b;
}
