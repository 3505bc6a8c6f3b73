#pragma once

#include "viewmodels/CChart2DFieldsData.h"

#include <QDateTime>

#include <cmath>

// A time-series chart fed with made-up results, one every `period` seconds from
// 2026.03.04 05:06:07 on, unfiltered: for the chart model's tests and benchmark.
// Bx is a slow sine with one spike of 100 at sample `spike` (500; none when negative).
class ChartFeed : public CChart2DFieldsData
{
public:
    using CChart2DFieldsData::CChart2DFieldsData;

    int spike = 500;

    void feed(int count, double period)
    {
        const QDateTime base(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::LocalTime);
        for (int n = 0; n < count; ++n)
        {
            const int i = int(ReceivedResults().size());
            const qint64 ns = std::llround(i * period * 1e9);
            QSharedPointer<CFieldIntensityResult> result = QSharedPointer<CFieldIntensityResult>::create();
            result->Timestamp = base.addMSecs(ns / 1000000);
            result->TimestampNanosecond = quint64(ns % 1000000000LL);
            result->setBx(i == spike ? 100.0f : float(std::sin(i * 0.01)));
            result->setBy(float(i % 17) * 0.25f);
            result->setBz(-1.5f);
            result->setB(std::sqrt(result->Bx() * result->Bx() + result->By() * result->By() + 2.25f));
            result->setBBprime(float(i % 5));
            result->setdB(0.01f);
            AppendReceived(result);
        }
        ApplyFilter();
        MarkNewData();
        setMinDeltaAxisX(period);
        setMeasureResultCount(quint64(ReceivedResults().size()));
        setMeasureResultMinX(0);
        setMeasureResultMaxX(ReceivedResults().empty() ? 1.0 : Times().back() - TimeOrigin() + period);
    }

    int count() const { return int(FilteredResults().size()); }
    CFieldIntensityResult& received(int i) { return *ReceivedResults()[std::size_t(i)]; }
    double time(int i) const { return Times()[std::size_t(i)] - TimeOrigin(); }
    float value(int i, int column) const
    {
        return ComponentValue(*FilteredResults()[std::size_t(i)], column);
    }

protected:
    void ComputeDeltaX() override {}
    void ApplyFilter() override
    {
        while (FilteredResults().size() < ReceivedResults().size())
            AppendFiltered(ReceivedResults()[FilteredResults().size()]);
    }
};
