#include "viewmodels/CChart2DMeterData.h"

#include "app/CSettings.h"
#include "model/CMeasureBlock.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationMeasure.h"

#include <cmath>
#include <limits>

namespace
{
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

std::array<float, 6> quantities(const CFieldIntensityResult& r)
{
    return {r.B(), r.Bx(), r.By(), r.Bz(), r.BBprime(), r.dB()};
}

QSharedPointer<CFieldIntensityResult> averaged(const std::array<float, 6>& values,
                                               const CFieldIntensityResult& last)
{
    QSharedPointer<CFieldIntensityResult> result = QSharedPointer<CFieldIntensityResult>::create();
    result->setB(values[0]);
    result->setBx(values[1]);
    result->setBy(values[2]);
    result->setBz(values[3]);
    result->setBBprime(values[4]);
    result->setdB(values[5]);
    result->setdBConverted(NaN);
    // The time of the sample it ends on, so the chart's date and time labels stay right.
    result->Timestamp = last.Timestamp;
    result->TimestampNanosecond = last.TimestampNanosecond;
    return result;
}
} // namespace

CChart2DMeterData::CChart2DMeterData(CSettings& settings, COperationMeasure* operation, QObject* parent)
    : CChart2DFieldsData(operation->OperationParameters(), parent), m_Settings(settings),
      m_pOperation(operation)
{
    m_AveragingModeNames = QStringList{tr("Off"), tr("Exponential"), tr("Moving")};
    setAveragingCount(std::max(1u, m_Settings.AveragingCount()));
    onAveragingModeIndexChange(m_Settings.AveragingMode());
    connect(this, &CChart2DMeterData::AveragingModeChanged, this, &CChart2DFieldsData::RecomputeFullFilter);
    connect(this, &CChart2DMeterData::AveragingCountChanged, this, &CChart2DFieldsData::RecomputeFullFilter);
}

void CChart2DMeterData::onAveragingModeIndexChange(int index)
{
    const AveragingModes mode = index == 2 ? Moving : index == 1 ? Exponential : Off;
    setAveragingModeIndex(mode == Off ? 0 : index);
    setAveragingMode(mode);
    m_Settings.setAveragingMode(m_AveragingModeIndex);
}

void CChart2DMeterData::onAveragingCountIndexChange(uint count)
{
    setAveragingCount(count);
    m_Settings.setAveragingCount(count);
}

void CChart2DMeterData::saveAveragingParameter()
{
    m_Settings.Save();
}

void CChart2DMeterData::ComputeDeltaX()
{
    m_DeltaX = int(m_pOperation->MeasurementParameters()->AcquisitionRate() * 10);
}

void CChart2DMeterData::ResetFilter()
{
    m_WindowCount = 0;
    m_Sums.fill(0);
    m_Counts.fill(0);
}

void CChart2DMeterData::ApplyFilter()
{
    const auto& received = ReceivedResults();
    const std::size_t window = std::min<std::size_t>(received.size(), m_AveragingCount);
    for (std::size_t i = FilteredResults().size(); i < received.size(); ++i)
    {
        const QSharedPointer<CFieldIntensityResult>& result = received[i];
        if (m_AveragingMode == Off || m_AveragingCount == 0 || window == 0)
        {
            AppendFiltered(result);
            continue;
        }
        const std::array<float, 6> values = quantities(*result);
        if (m_AveragingMode == Moving)
        {
            const auto add = [this](const std::array<float, 6>& entering, int sign) {
                for (std::size_t q = 0; q < 6; ++q)
                {
                    if (!std::isfinite(entering[q]))
                        continue;
                    m_Sums[q] += float(sign) * entering[q];
                    m_Counts[q] += sign;
                }
            };
            if (m_WindowCount < int(window))
            {
                if (++m_WindowCount == 1)
                {
                    m_Sums.fill(0);
                    m_Counts.fill(0);
                }
                add(values, 1);
            }
            else if (i >= window) // always, unless the retained limit is below the averaging count
            {
                add(values, 1);
                add(quantities(*received[i - window]), -1);
            }
            std::array<float, 6> mean;
            for (std::size_t q = 0; q < 6; ++q)
                mean[q] = m_Counts[q] > 0 ? m_Sums[q] / float(m_Counts[q]) : NaN;
            AppendFiltered(m_WindowCount == 1 ? result : averaged(mean, *result));
        }
        else if (FilteredResults().empty() || m_WindowCount == 0)
        {
            m_WindowCount = 1;
            AppendFiltered(result);
        }
        else
        {
            // A value that is not finite leaves the average where it was; an average that
            // is not finite yet (a first sample of NaN) starts again from the next value.
            const std::array<float, 6> previous = quantities(*FilteredResults().back());
            std::array<float, 6> next;
            for (std::size_t q = 0; q < 6; ++q)
                next[q] = !std::isfinite(values[q]) ? previous[q]
                          : !std::isfinite(previous[q])
                              ? values[q]
                              : (float(window - 1) * previous[q] + values[q]) / float(window);
            AppendFiltered(averaged(next, *result));
        }
    }
}

void CChart2DMeterData::Plot(const CMeasureBlock& block)
{
    if (ReceivedResults().empty())
    {
        resetAxisXDelta(false);
        resetAxisYDelta();
    }
    l_InternalPlot(block);
}

void CChart2DMeterData::XmaxUntilCurrentStep(const CMeasureBlock& block)
{
    if (block.Results.isEmpty() || Times().empty())
        return;
    const double end = MeasureToSeconds(*block.Results.last()) - TimeOrigin() + MinDeltaAxisX();
    const double start = end - 10.0;
    setXmax(end);
    setXmin(start > 0 ? start : MeasureResultMinX());
    UpdateTimeLegend();
    emit refreshLimitSliderX();
}

void CChart2DMeterData::l_InternalPlot(const CMeasureBlock& block)
{
    for (const QSharedPointer<CFieldIntensityResult>& sample : block.Results)
        AppendReceived(sample);
    ApplyFilter();
    const quint64 limit = std::max<quint64>(1, m_pOperation->MaxMeasurementCount());
    if (ReceivedResults().size() > limit)
        DropOldest(std::size_t(ReceivedResults().size() - limit));
    MarkNewData();
    setMeasureResultCount(quint64(ReceivedResults().size()));
    const double rate = m_pOperation->MeasurementParameters()->AcquisitionRate();
    if (rate > 0)
        setMinDeltaAxisX(1.0 / rate);
    setMeasureResultMinX(0);
    const double maxX = ReceivedResults().empty() ? 1.0 : (Times().back() - TimeOrigin()) + MinDeltaAxisX();
    setMeasureResultMaxX(maxX > 0.5 ? maxX + 0.5 : maxX);
}

TESVANA_SETTER(CChart2DMeterData, uint, AveragingCount)
TESVANA_SETTER(CChart2DMeterData, CChart2DMeterData::AveragingModes, AveragingMode)
TESVANA_SETTER(CChart2DMeterData, int, AveragingModeIndex)
