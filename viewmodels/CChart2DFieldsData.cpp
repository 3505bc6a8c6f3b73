#include "viewmodels/CChart2DFieldsData.h"

#include "app/CConstants.h"
#include "compute/CRunningStatistics.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationParameters.h"

#include <QXYSeries>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr float FloatMax = 3.4028235e38f;
} // namespace

CChart2DFieldsData::CChart2DFieldsData(COperationParameters* parameters, QObject* parent)
    : CChart2D(parent), m_pParameters(parameters)
{
    m_ComponentVisible.fill(true);
    // Allocated once: the chart never gets more points than this.
    m_Series.resize(std::size_t(m_NbPointsAxeX));
    m_SeriesX.resize(std::size_t(m_NbPointsAxeX));
    if (m_pParameters)
    {
        CMeasurementParameters* m = m_pParameters->MeasurementParameters();
        connect(m, &CMeasurementParameters::DisplayRateChanged, this,
                &CChart2DFieldsData::OnMeasurementParametersRateChanged);
        connect(m, &CMeasurementParameters::AcquisitionRateChanged, this,
                &CChart2DFieldsData::OnMeasurementParametersRateChanged);
    }
    // New points are drawn through the pacer, with whatever else the page shows of the
    // block; this timer only follows the ranges a user sets.
    m_RedrawTimer.setInterval(CDisplayPacer::IntervalMs);
    connect(&m_RedrawTimer, &QTimer::timeout, this, [this] {
        if (!m_NewData && !m_Pacer.Held())
            UpdatePlot();
    });
    m_RedrawTimer.start();
    QTimer::singleShot(0, this, &CChart2DFieldsData::OnMeasurementParametersRateChanged);
}

int CChart2DFieldsData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, m_DownsampledSignalLength);
}

int CChart2DFieldsData::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ComponentCount + 1;
}

QVariant CChart2DFieldsData::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.column() >= ComponentCount + 1 ||
        index.row() >= m_DownsampledSignalLength)
        return QVariant();
    if (index.column() == 0)
        return m_SeriesX[std::size_t(index.row())];
    return PointValue(index.row(), index.column());
}

void CChart2DFieldsData::updateSeries(QObject* series, int column) const
{
    auto* xy = qobject_cast<QtCharts::QXYSeries*>(series);
    if (!xy || column < 1 || column > ComponentCount)
        return;
    QVector<QPointF> points;
    points.reserve(std::max(0, m_DownsampledSignalLength));
    for (int row = 0; row < m_DownsampledSignalLength; ++row)
        points.append(QPointF(m_SeriesX[std::size_t(row)], double(PointValue(row, column))));
    xy->replace(points);
}

float CChart2DFieldsData::PointValue(int row, int column) const
{
    return m_Series[std::size_t(row)][std::size_t(column - 1)];
}

float CChart2DFieldsData::ComponentValue(const CFieldIntensityResult& result, int column)
{
    switch (column)
    {
    case 1:
        return result.B();
    case 2:
        return result.BBprime();
    case 3:
        return result.Bx();
    case 4:
        return result.By();
    case 5:
        return result.Bz();
    case 6:
        return result.B() - result.dB();
    case 7:
        return result.B() + result.dB();
    }
    return 0;
}

double CChart2DFieldsData::MeasureToSeconds(const CFieldIntensityResult& result)
{
    return double(result.Timestamp.toSecsSinceEpoch()) + double(result.TimestampNanosecond) / 1e9;
}

double CChart2DFieldsData::niceNumber(double x, bool ceiling)
{
    const double exponent = std::floor(std::log10(x));
    const double fraction = x / std::pow(10.0, exponent);
    double nice = 10;
    if (ceiling)
        nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    else
        nice = fraction < 1.5 ? 1 : fraction < 3 ? 2 : fraction < 7 ? 5 : 10;
    return nice * std::pow(10.0, exponent);
}

// The times are in arrival order: both searches are binary.
int CChart2DFieldsData::GetIndexFromTimeStart(double x) const
{
    if (m_Times.empty())
        return 0;
    if (m_Times.back() - m_T0 <= x)
        return int(m_Times.size()) - 1;
    const auto first = std::lower_bound(m_Times.begin(), m_Times.end(), x,
                                        [this](double time, double value) { return time - m_T0 < value; });
    return int(first - m_Times.begin());
}

int CChart2DFieldsData::GetIndexFromTimeEnd(double x) const
{
    const auto after = std::upper_bound(m_Times.begin(), m_Times.end(), x,
                                        [this](double value, double time) { return value < time - m_T0; });
    const int last = int(after - m_Times.begin()) - 1;
    return last >= 1 ? last : 0;
}

void CChart2DFieldsData::AppendReceived(const QSharedPointer<CFieldIntensityResult>& result)
{
    m_Received.push_back(result);
    m_Times.push_back(MeasureToSeconds(*result));
}

void CChart2DFieldsData::AppendFiltered(const QSharedPointer<CFieldIntensityResult>& result)
{
    m_Filtered.push_back(result);
    Values values;
    for (int c = 1; c <= ComponentCount; ++c)
        values[std::size_t(c - 1)] = ComponentValue(*result, c);
    const qint64 at = m_Dropped + qint64(m_FilteredValues.size());
    m_FilteredValues.push_back(values);
    const qint64 bucket = at / BucketSize;
    if (m_Buckets.empty())
        m_FirstBucket = bucket;
    if (bucket - m_FirstBucket == qint64(m_Buckets.size()))
        m_Buckets.push_back(l_NoExtremes());
    l_Widen(m_Buckets.back(), values, at);
}

void CChart2DFieldsData::DropOldest(std::size_t count)
{
    const auto drop = [count](auto& queue) {
        queue.erase(queue.begin(), queue.begin() + std::min(count, queue.size()));
    };
    drop(m_Received);
    drop(m_Times);
    drop(m_Filtered);
    m_Dropped += qint64(std::min(count, m_FilteredValues.size()));
    drop(m_FilteredValues);
    while (!m_Buckets.empty() && (m_FirstBucket + 1) * BucketSize <= m_Dropped)
    {
        m_Buckets.pop_front();
        ++m_FirstBucket;
    }
}

CChart2DFieldsData::Extremes CChart2DFieldsData::l_NoExtremes()
{
    Extremes extremes;
    extremes.min.fill(std::numeric_limits<float>::infinity());
    extremes.max.fill(-std::numeric_limits<float>::infinity());
    extremes.minAt.fill(-1);
    extremes.maxAt.fill(-1);
    return extremes;
}

void CChart2DFieldsData::l_Widen(Extremes& extremes, const Values& values, qint64 at)
{
    // Strictly: the first occurrence stays; NaN never compares, as the scan skips it.
    for (std::size_t c = 0; c < std::size_t(ComponentCount); ++c)
    {
        if (values[c] < extremes.min[c])
        {
            extremes.min[c] = values[c];
            extremes.minAt[c] = at;
        }
        if (values[c] > extremes.max[c])
        {
            extremes.max[c] = values[c];
            extremes.maxAt[c] = at;
        }
    }
}

void CChart2DFieldsData::l_ClearFiltered()
{
    m_Filtered.clear();
    m_FilteredValues.clear();
    m_Buckets.clear();
    m_FirstBucket = 0;
    m_Dropped = 0;
}

CChart2DFieldsData::Extremes CChart2DFieldsData::l_SpanExtremes(int from, int to) const
{
    Extremes extremes = l_NoExtremes();
    const auto scan = [&](qint64 first, qint64 last) {
        for (qint64 at = first; at <= last; ++at)
            l_Widen(extremes, m_FilteredValues[std::size_t(at - m_Dropped)], at);
    };
    const qint64 first = m_Dropped + from, last = m_Dropped + to;
    const qint64 wholeFrom = (first + BucketSize - 1) / BucketSize; // the groups wholly inside
    const qint64 wholeTo = (last + 1) / BucketSize;
    if (wholeFrom >= wholeTo)
    {
        scan(first, last);
        return extremes;
    }
    scan(first, wholeFrom * BucketSize - 1);
    for (qint64 bucket = wholeFrom; bucket < wholeTo; ++bucket)
    {
        const Extremes& group = m_Buckets[std::size_t(bucket - m_FirstBucket)];
        for (std::size_t c = 0; c < std::size_t(ComponentCount); ++c)
        {
            if (group.min[c] < extremes.min[c])
            {
                extremes.min[c] = group.min[c];
                extremes.minAt[c] = group.minAt[c];
            }
            if (group.max[c] > extremes.max[c])
            {
                extremes.max[c] = group.max[c];
                extremes.maxAt[c] = group.maxAt[c];
            }
        }
    }
    scan(wholeTo * BucketSize, last);
    return extremes;
}

void CChart2DFieldsData::AppendReceivedAt(const QSharedPointer<CFieldIntensityResult>& result, double x)
{
    m_Received.push_back(result);
    m_Times.push_back(x);
}

double CChart2DFieldsData::XTimeOrigin() const
{
    return XAxisIsTime() && !m_Times.empty() ? m_T0 : std::numeric_limits<double>::quiet_NaN();
}

void CChart2DFieldsData::MarkNewData(double origin)
{
    m_T0 = origin;
    m_NewData = true;
    m_Pacer.Defer(this, [this] { UpdatePlot(); });
}

void CChart2DFieldsData::ClearResults()
{
    m_Received.clear();
    m_Times.clear();
    l_ClearFiltered();
}

void CChart2DFieldsData::MarkNewData()
{
    m_T0 = m_Times.empty() ? 0 : m_Times.front();
    m_NewData = true;
    m_Pacer.Defer(this, [this] { UpdatePlot(); });
}

void CChart2DFieldsData::setShown(bool shown)
{
    m_Pacer.SetHeld(!shown);
}

void CChart2DFieldsData::OnMeasurementParametersRateChanged()
{
    resetAxisXDelta(false);
}

void CChart2DFieldsData::UpdatePlot()
{
    if (Xmin() == m_LastXmin && Xmax() == m_LastXmax && !m_NewData)
        return;
    beginResetModel();
    if (m_NewData)
    {
        UpdateXBoundaries(int(m_MeasureResultCount));
        m_LastCount = m_MeasureResultCount;
    }
    UpdateDownsampling();
    endResetModel();
    m_LastXmin = Xmin();
    m_LastXmax = Xmax();
    m_NewData = false;
    // Told on the pacer's beat with the points, not with every block: at 100 kHz the oldest
    // samples leave, and the origin moves, a hundred times a second, and each change would
    // draw the chart again.
    const double origin = XTimeOrigin();
    if (!(origin == m_ToldTimeOrigin || (std::isnan(origin) && std::isnan(m_ToldTimeOrigin))))
    {
        m_ToldTimeOrigin = origin;
        emit XTimeOriginChanged();
    }
    emit seriesUpdated();
}

void CChart2DFieldsData::UpdateXBoundaries(int count)
{
    if (m_Filtered.size() < 2)
    {
        setXmin(0);
        setXmax(1);
        return;
    }
    m_WindowStart = Xmax() - WindowSeconds;
    if (!m_Times.empty())
    {
        setXmin(m_WindowStart <= 0 ? m_MeasureResultMinX : m_WindowStart);
        const std::size_t k = std::size_t(std::max(count, 1) - 1);
        const double newest = k < m_Times.size() ? m_Times[k] : m_Times.back();
        const double v = (newest - m_T0) + m_MinDeltaAxisX;
        setXmax(v > 0.5 && m_MeasureResultMaxX > 0.5 ? m_MeasureResultMaxX : v);
    }
    if (m_KeepRange)
    {
        m_KeepRange = false;
        setXmin(std::max(m_MeasureResultMinX, m_KeptFrom));
        setXmax(std::min(m_MeasureResultMaxX, m_KeptTo));
        m_WindowStart = Xmin();
        emit refreshLimitSliderX();
    }
    if (!m_Filtered.empty())
        UpdateTimeLegend();
}

void CChart2DFieldsData::KeepXRange(double from, double to)
{
    m_KeepRange = true;
    m_KeptFrom = from;
    m_KeptTo = to;
}

void CChart2DFieldsData::resetAxisXDelta(bool resetFullAxis)
{
    if (m_Times.empty())
        return;
    m_WindowStart = Xmax() - WindowSeconds;
    if (resetFullAxis)
    {
        setXmin(m_MeasureResultMinX);
        const double v = (m_Times.back() - m_T0) + m_MinDeltaAxisX;
        setXmax(v > 0.5 && m_MeasureResultMaxX > 0.5 ? m_MeasureResultMaxX : v);
    }
    else
        setXmin(m_WindowStart <= 0 ? m_MeasureResultMinX : m_WindowStart);
    emit refreshLimitSliderX();
}

void CChart2DFieldsData::resetAxisYDelta()
{
    setYminMaxReseted(true);
    UpdateDownsampling();
    emit refreshLimitSliderY();
}

void CChart2DFieldsData::refreshLegendData(double axeXMin, double axeXMax)
{
    if (m_Filtered.size() < 2)
    {
        setXmin(0);
        setXmax(1);
        return;
    }
    setXmax(std::min(m_MeasureResultMaxX, axeXMax));
    setXmin(std::max(m_MeasureResultMinX, axeXMin));
    m_WindowStart = Xmin();
    if (!m_Filtered.empty())
        UpdateTimeLegend();
    emit XRangeChosen(Xmin(), Xmax());
}

void CChart2DFieldsData::UpdateTimeLegend()
{
    const int end = GetIndexFromTimeStart(Xmax());
    const int start = GetIndexFromTimeEnd(Xmin());
    if (start >= end || end >= int(m_Filtered.size()))
        return;
    const CFieldIntensityResult& first = *m_Filtered[std::size_t(start)];
    const CFieldIntensityResult& last = *m_Filtered[std::size_t(end)];
    const QString format = first.Timestamp.msecsTo(last.Timestamp) <= 999 ? QStringLiteral("HH:mm:ss.zzz")
                                                                          : QStringLiteral("HH:mm:ss");
    setXminDate(first.Timestamp.toString(QStringLiteral("yyyy.MM.dd")));
    setXminTime(first.Timestamp.toString(format));
    setXmaxDate(last.Timestamp.toString(QStringLiteral("yyyy.MM.dd")));
    setXmaxTime(last.Timestamp.toString(format));
}

void CChart2DFieldsData::setStatisticsShown(bool shown)
{
    if (m_StatisticsShown == shown)
        return;
    m_StatisticsShown = shown;
    emit StatisticsShownChanged();
    UpdateDownsampling();
}

void CChart2DFieldsData::l_UpdateWindowStatistics(int from, int to)
{
    QVariantList statistics;
    to = std::min(to, int(m_FilteredValues.size()) - 1);
    for (int c = 0; c < ComponentCount && m_StatisticsShown; ++c)
    {
        if (!m_ComponentVisible[std::size_t(c)])
            continue;
        // Not a number or infinite (a missing value) counts in none of the figures.
        CRunningStatistics figures;
        for (int k = std::max(0, from); k <= to; ++k)
        {
            const float v = m_FilteredValues[std::size_t(k)][std::size_t(c)];
            if (std::isfinite(v))
                figures.Add(v);
        }
        if (figures.Count() == 0)
            continue;
        statistics.append(QVariantMap{{"index", c},
                                      {"min", double(figures.Min())},
                                      {"max", double(figures.Max())},
                                      {"mean", figures.Mean()},
                                      {"rms", double(figures.Rms())},
                                      {"sigma", double(figures.StdDev())},
                                      {"pp", double(figures.PeakToPeak())}});
    }
    if (statistics != m_WindowStatistics)
    {
        m_WindowStatistics = statistics;
        emit WindowStatisticsChanged();
    }
}

void CChart2DFieldsData::UpdateDownsampling()
{
    float localMax = -FloatMax;
    float localMin = FloatMax;
    const int filtered = int(m_Filtered.size());
    // The bounds of every visible value scanned; the bounds over all data seen
    // follow from them once, at the end.
    const auto widen = [&](const Values& values) {
        for (int c = 0; c < ComponentCount; ++c)
        {
            if (!m_ComponentVisible[std::size_t(c)])
                continue;
            localMin = std::min(localMin, values[std::size_t(c)]);
            localMax = std::max(localMax, values[std::size_t(c)]);
        }
    };

    if (filtered == 1)
    {
        m_SeriesX[0] = 0.0;
        m_SeriesX[1] = 0.1;
        m_Series[0] = m_Series[1] = m_FilteredValues.front();
        widen(m_FilteredValues.front());
        setDownsampledSignalLength(2);
        setYminMaxReseted(true);
        setFirstDataInit(true);
    }
    else
    {
        const int iEnd = m_Times.empty() ? 0 : GetIndexFromTimeStart(Xmax());
        const int iStart = GetIndexFromTimeEnd(Xmin());
        const int span = iEnd - iStart;
        const int length = span < m_NbPointsAxeX ? span + 1 : m_NbPointsAxeX;
        if (length < 1)
        {
            m_Ratio = 1.0;
            setDownsampledSignalLength(length);
            setFirstDataInit(true);
        }
        else
        {
            m_Ratio = std::max(1.0, double(span) / double(length));
            if (iStart >= filtered)
            {
                setDownsampledSignalLength(0);
                return;
            }
            // Point 0 is the window's first result; points 1 … length − 1 share out the
            // rest, the newest result included, in consecutive spans of at least one
            // result: every result of the window is looked at by exactly one point, so
            // a one-sample spike anywhere shows and widens the Y range.
            const int last = std::min(iEnd, filtered - 1);
            const int shared = last - iStart;
            const int points = std::min(length, shared + 1);
            const int spans = points - 1;
            m_SeriesX[0] = m_Times[std::size_t(iStart)] - m_T0;
            m_Series[0] = m_FilteredValues[std::size_t(iStart)];
            widen(m_Series[0]);
            for (int j = 1; j < points; ++j)
            {
                const int from = iStart + 1 + int(qint64(j - 1) * shared / spans);
                const int to = iStart + int(qint64(j) * shared / spans);
                // Drawn at the span's end; of its results, the one that moves furthest from
                // the point before (per component) is kept, so peaks survive.
                m_SeriesX[std::size_t(j)] = m_Times[std::size_t(to)] - m_T0;
                const Values& before = m_Series[std::size_t(j - 1)];
                Values chosen = m_FilteredValues[std::size_t(from)];
                // The deviation |before - v| is largest at the span's smallest or largest v:
                // the first of those two in the span when both deviate as much.
                const Extremes span = l_SpanExtremes(from, to);
                for (std::size_t c = 0; c < std::size_t(ComponentCount); ++c)
                {
                    const float low = span.min[c], high = span.max[c];
                    if (!std::isfinite(low) || !std::isfinite(high))
                    {
                        // Infinite or missing values: the plain scan decides.
                        float deviation = 0;
                        for (int k = from; k <= to; ++k)
                        {
                            const float candidate = m_FilteredValues[std::size_t(k)][c];
                            const float d = std::fabs(before[c] - candidate);
                            if (d > deviation)
                            {
                                deviation = d;
                                chosen[c] = candidate;
                            }
                        }
                        continue;
                    }
                    const float toLow = std::fabs(before[c] - low), toHigh = std::fabs(before[c] - high);
                    if (toLow > toHigh)
                        chosen[c] = low;
                    else if (toHigh > toLow)
                        chosen[c] = high;
                    else if (toLow > 0)
                        chosen[c] = span.minAt[c] < span.maxAt[c] ? low : high;
                }
                // The Y range as every value of the span would widen it (NaN never does).
                for (std::size_t c = 0; c < std::size_t(ComponentCount); ++c)
                {
                    if (!m_ComponentVisible[c])
                        continue;
                    for (const auto& [value, at] :
                         {std::pair(span.min[c], span.minAt[c]), std::pair(span.max[c], span.maxAt[c])})
                    {
                        if (at < 0)
                            continue;
                        localMin = std::min(localMin, value);
                        localMax = std::max(localMax, value);
                    }
                }
                m_Series[std::size_t(j)] = chosen;
            }
            setDownsampledSignalLength(points);
            setFirstDataInit(true);
        }
    }

    if (m_StatisticsShown || !m_WindowStatistics.isEmpty())
    {
        const bool any = filtered > 0 && !m_Times.empty();
        l_UpdateWindowStatistics(any ? GetIndexFromTimeEnd(Xmin()) : 0,
                                 any ? GetIndexFromTimeStart(Xmax()) : -1);
    }

    // The Y range.
    if (localMin != FloatMax)
    {
        float unused = localMin;
        ComputeMin(unused, localMin);
        ComputeMax(unused, localMax);
    }
    if (localMin == FloatMax)
    {
        setYmin(CConstants::Chart2DDefaultYMin);
        setYmax(CConstants::Chart2DDefaultYMax);
        setYTickCount(11);
        setYminMaxReseted(true);
        return;
    }
    const auto widenAllSignal = [this] {
        if (YmaxAllSignal() == UnsetYmax || Ymax() > YmaxAllSignal())
            setYmaxAllSignal(Ymax());
        if (YminAllSignal() == UnsetYmin || Ymin() < YminAllSignal())
            setYminAllSignal(Ymin());
    };
    if (AutoScaling())
    {
        refreshYminYmax(localMin, localMax);
        widenAllSignal();
        setYminMaxReseted(true);
    }
    else if (YminMaxReseted())
    {
        refreshYminYmax(localMin, localMax);
        widenAllSignal();
        setYmin(YminAllSignal());
        setYmax(YmaxAllSignal());
        if (m_DownsampledSignalLength >= 2)
            setYminMaxReseted(false);
    }
}

void CChart2DFieldsData::refreshYminYmax(double yMin, double yMax)
{
    if (yMin == UnsetYmax || yMin == UnsetYmin || yMax == UnsetYmax || yMax == UnsetYmin ||
        !std::isfinite(yMin) || !std::isfinite(yMax))
        return;
    if (yMax <= yMin)
    {
        // A constant window (one result, a steady field) has no span to divide into
        // ticks: it gets a small range around its value, never a step of 0.
        const double middle = (yMin + yMax) / 2;
        const double half = middle != 0 ? std::fabs(middle) * 0.1 : 1e-3;
        yMin = middle - half;
        yMax = middle + half;
    }
    const double step = niceNumber((yMax - yMin) / (std::max(m_YTickCount, 2) - 1), false);
    if (!(step > 0) || !std::isfinite(step))
        return;
    const double lo = std::floor(yMin / step);
    const double hi = std::ceil(yMax / step);
    const int n = int(hi - lo);
    setYTickCount(n < 11 ? n + 1 : n / 2 + 1);
    setYmin(step * lo);
    setYmax(step * hi);
}

void CChart2DFieldsData::refreshYmin(double sliderValue)
{
    if (m_MeasureResultCount != 0)
        setYmin(std::max(YminAllSignal(), sliderValue));
}

void CChart2DFieldsData::chooseYRange(double low, double high)
{
    if (m_MeasureResultCount == 0)
        return;
    setAutoScaling(false);
    setYminMaxReseted(false);
    refreshYmin(std::min(low, high));
    refreshYmax(std::max(low, high));
}

void CChart2DFieldsData::refreshYmax(double sliderValue)
{
    if (m_MeasureResultCount != 0)
        setYmax(std::min(YmaxAllSignal(), sliderValue));
}

void CChart2DFieldsData::setComponantVisibility(int index, bool visible, bool updateDownsample)
{
    if (index < 0 || index >= ComponentCount)
        return;
    m_ComponentVisible[std::size_t(index)] = visible;
    // Inside a model reset, so that the chart reads the new points at once.
    if (updateDownsample)
    {
        beginResetModel();
        UpdateDownsampling();
        endResetModel();
        emit seriesUpdated();
    }
}

void CChart2DFieldsData::RecomputeFullFilter()
{
    beginResetModel();
    l_ClearFiltered();
    ResetFilter();
    ApplyFilter();
    UpdateDownsampling();
    endResetModel();
    emit seriesUpdated();
}

void CChart2DFieldsData::Clear()
{
    m_RedrawTimer.stop();
    setVisible(false);
    beginResetModel();
    setNumberValidPoints(0);
    m_Received.clear();
    m_Times.clear();
    setDownsampledSignalLength(0);
    RecomputeFullFilter();
    setMeasureResultMinX(0);
    setMeasureResultMaxX(1.0);
    setMeasureResultCount(0);
    setMinDeltaAxisX(0.1);
    setXTickCount(10);
    setYTickCount(11);
    setXmaxDate(QString());
    setXminDate(QString());
    setXmaxTime(QString());
    setXminTime(QString());
    setYmin(CConstants::Chart2DDefaultYMin);
    setYmax(CConstants::Chart2DDefaultYMax);
    setYminAllSignal(UnsetYmin);
    setYmaxAllSignal(UnsetYmax);
    setFirstDataInit(false);
    setYminMaxReseted(true);
    setXmin(0);
    setXmax(1.0);
    m_WindowStart = 0;
    m_LastXmin = m_LastXmax = 0;
    resetAxisXDelta(true);
    resetAxisYDelta();
    endResetModel();
    emit clearCharts();
    setVisible(true);
    m_RedrawTimer.start();
}

TESVANA_PACED_SETTER(CChart2DFieldsData, quint64, MeasureResultCount)
TESVANA_PACED_SETTER(CChart2DFieldsData, double, MeasureResultMinX)
TESVANA_PACED_SETTER(CChart2DFieldsData, double, MeasureResultMaxX)
TESVANA_SETTER(CChart2DFieldsData, double, MinDeltaAxisX)
TESVANA_SETTER(CChart2DFieldsData, const QString&, XmaxDate)
TESVANA_SETTER(CChart2DFieldsData, const QString&, XminDate)
TESVANA_SETTER(CChart2DFieldsData, const QString&, XmaxTime)
TESVANA_SETTER(CChart2DFieldsData, const QString&, XminTime)
TESVANA_SETTER(CChart2DFieldsData, int, NbPointsAxeX)
TESVANA_SETTER(CChart2DFieldsData, int, DownsampledSignalLength)
TESVANA_SETTER(CChart2DFieldsData, int, XTickCount)
TESVANA_SETTER(CChart2DFieldsData, int, YTickCount)
TESVANA_SETTER(CChart2DFieldsData, int, NumberValidPoints)
