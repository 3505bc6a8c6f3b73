#include "viewmodels/CChart2DMappingData.h"

#include "app/CSettings.h"
#include "compute/FieldRotation.h"
#include "model/CMeasureBlockMapping.h"
#include "operations/COperationMapping.h"

#include <algorithm>

CChart2DMappingData::CChart2DMappingData(CSettings& settings, COperationMapping* operation, QObject* parent)
    : CChart2DFieldsData(operation->OperationParameters(), parent), m_Settings(settings),
      m_pOperation(operation), m_HorizontalAxisType(int(settings.Mapping2DPlotHorizontalAxisType()))
{
}

QStringList CChart2DMappingData::HorizontalAxisNames() const
{
    return {tr("Time"), tr("X Position"), tr("Y Position"), tr("Z Position")};
}

void CChart2DMappingData::setHorizontalAxisType(int value)
{
    if (value < 0 || value > 3 || value == m_HorizontalAxisType)
        return;
    m_HorizontalAxisType = value;
    m_Settings.setMapping2DPlotHorizontalAxisType(CSettings::t_Mapping2DPlotHorizontalAxisType(value));
    for (Entry& entry : m_Blocks)
        entry.key = l_Key(*entry.block);
    std::stable_sort(m_Blocks.begin(), m_Blocks.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    l_Rebuild();
    resetAxisXDelta(true);
    emit HorizontalAxisTypeChanged(value);
}

void CChart2DMappingData::RotateOnce(CMeasureBlockMapping& block)
{
    if (block.RotAppliedOnMeasBlock())
        return;
    Eigen::Matrix3f rotation;
    if (KVL::ComputeReverseTransformationMatrix(float(block.Orientation.Roll()),
                                                float(block.Orientation.Pitch()),
                                                float(block.Orientation.Yaw()), rotation))
    {
        for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block.Results))
        {
            const Eigen::Vector3f turned =
                rotation * Eigen::Vector3f(sample->Bx(), sample->By(), sample->Bz());
            sample->setBx(turned.x());
            sample->setBy(turned.y());
            sample->setBz(turned.z());
        }
    }
    block.setRotAppliedOnMeasBlock(true);
}

double CChart2DMappingData::l_Key(const CMeasureBlockMapping& block) const
{
    switch (m_HorizontalAxisType)
    {
    case 1:
        return block.Position.X();
    case 2:
        return block.Position.Y();
    case 3:
        return block.Position.Z();
    default:
        return block.Results.isEmpty() ? 0.0 : MeasureToSeconds(*block.Results.first());
    }
}

void CChart2DMappingData::Plot(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (!block || block->Results.isEmpty())
        return;
    RotateOnce(*block);
    const bool first = m_Blocks.empty();
    const Entry entry{l_Key(*block), m_Arrivals++, block};
    // After the blocks at the same place: several at one position are all kept, in order.
    const auto at = std::upper_bound(m_Blocks.begin(), m_Blocks.end(), entry.key,
                                     [](double key, const Entry& e) { return key < e.key; });
    m_Blocks.insert(at, entry);
    m_Samples += quint64(block->Results.size());
    // The oldest blocks go first once the retained limit is passed.
    const quint64 limit = std::max<quint64>(1, m_pOperation->MaxMeasurementCount());
    while (m_Samples > limit && m_Blocks.size() > 1)
    {
        const auto oldest =
            std::min_element(m_Blocks.begin(), m_Blocks.end(),
                             [](const Entry& a, const Entry& b) { return a.arrival < b.arrival; });
        m_Samples -= quint64(oldest->block->Results.size());
        m_Blocks.erase(oldest);
    }
    l_Rebuild();
    if (first)
    {
        resetAxisXDelta(true);
        resetAxisYDelta();
    }
}

void CChart2DMappingData::l_Rebuild()
{
    ClearResults();
    const bool time = m_HorizontalAxisType == 0;
    for (const Entry& entry : m_Blocks)
    {
        for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(entry.block->Results))
        {
            AppendReceivedAt(sample, time ? MeasureToSeconds(*sample) : entry.key);
            AppendFiltered(sample);
        }
    }
    setMeasureResultCount(quint64(ReceivedResults().size()));
    if (time)
    {
        MarkNewData();
        const double rate = m_pOperation->MeasurementParameters()->AcquisitionRate();
        if (rate > 0)
            setMinDeltaAxisX(1.0 / rate);
        setMeasureResultMinX(0);
        const double maxX = Times().empty() ? 1.0 : (Times().back() - TimeOrigin()) + MinDeltaAxisX();
        setMeasureResultMaxX(maxX > 0.5 ? maxX + 0.5 : maxX);
        return;
    }
    // Positions are shown as they are, from their smallest to their largest.
    MarkNewData(0.0);
    const double low = m_Blocks.empty() ? 0.0 : m_Blocks.front().key;
    const double high = m_Blocks.empty() ? 1.0 : m_Blocks.back().key;
    setMeasureResultMinX(low);
    setMeasureResultMaxX(high > low ? high : low + 1.0);
}

void CChart2DMappingData::ClearAll()
{
    m_Blocks.clear();
    m_Samples = 0;
    Clear();
}

void CChart2DMappingData::ComputeDeltaX() {}

void CChart2DMappingData::UpdateXBoundaries(int count)
{
    if (m_HorizontalAxisType == 0)
    {
        CChart2DFieldsData::UpdateXBoundaries(count);
        return;
    }
    setXmin(MeasureResultMinX());
    setXmax(MeasureResultMaxX());
    UpdateTimeLegend();
}

void CChart2DMappingData::UpdateTimeLegend()
{
    if (m_HorizontalAxisType == 0)
    {
        CChart2DFieldsData::UpdateTimeLegend();
        return;
    }
    const QString axis = QStringLiteral("XYZ").mid(m_HorizontalAxisType - 1, 1);
    setXminDate(QStringLiteral("Min ") + axis + QStringLiteral(" ="));
    setXminTime(QString::number(Xmin(), 'g', 6));
    setXmaxDate(QStringLiteral("Max ") + axis + QStringLiteral(" ="));
    setXmaxTime(QString::number(Xmax(), 'g', 6));
}
