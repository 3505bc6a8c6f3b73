#pragma once
// The recordings the file benchmarks and the command-line tool's benchmarks read:
// blocks of 1,000 samples with varied numbers, mapping blocks on a 10 x 10 x N grid.
#include "app/CSettings.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMeasurementParameters.h"

#include <QDateTime>
#include <QSharedPointer>
#include <QTemporaryDir>

#include <type_traits>

namespace
{
template <typename Block> QSharedPointer<Block> makeBlock(int samples, const QDateTime& start, int index)
{
    QSharedPointer<Block> block(new Block());
    block->Results.reserve(samples);
    for (int i = 0; i < samples; ++i)
    {
        QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
        s->Timestamp = start.addMSecs(qint64(index) * samples + i);
        s->TimestampNanosecond = quint64((index * samples + i) % 1000) * 1000000ULL + 123;
        s->setBx(1.23456e-5f * float(i % 97));
        s->setBy(-2.5e-5f + 1e-9f * float(i));
        s->setBz(4.75e-5f);
        s->setB(5.5e-5f + 1e-10f * float(i));
        s->setdB(1.5e-7f);
        s->setBBprime(0.125f);
        s->setTemperature(quint16(30000 + i % 100));
        block->Results.append(s);
    }
    return block;
}

struct Fixture
{
    QTemporaryDir dir;
    CSettings settings{QString(), nullptr, dir.path()};
    CMeasurementParameters parameters;
    // Local wall-clock time at a fixed UTC offset, as live blocks and loaded files carry it.
    QDateTime start = [] {
        const QDateTime local(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::LocalTime);
        return local.toOffsetFromUtc(local.offsetFromUtc());
    }();
    Fixture()
    {
        settings.setMeasurementMaxMeasurementCount(2000000);
        settings.setMappingMaxMeasurementCount(2000000);
        parameters.setBlockSize(1000);
        parameters.setAcquisitionRate(1000); // the samples are 1 ms apart
        // A unit of the field: the exposure analyses refuse a recording without one.
        parameters.setUnits(CUnits::UnitType::TESLA);
    }
};

template <typename DataSet, typename Block> void fill(DataSet& set, Fixture& f, int blocks)
{
    set.setMeasurementParameters(&f.parameters);
    for (int b = 0; b < blocks; ++b)
    {
        QSharedPointer<Block> block = makeBlock<Block>(1000, f.start, b);
        if constexpr (std::is_same<Block, CMeasureBlockMapping>::value)
            block->Position = CPosition(b % 10, b / 10 % 10, b / 100);
        set.AddMeasureBlock(block);
    }
}

} // namespace
