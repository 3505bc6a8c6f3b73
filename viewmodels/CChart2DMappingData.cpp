#include "viewmodels/CChart2DMappingData.h"

#include "app/CSettings.h"
#include "compute/FieldRotation.h"
#include "model/CMeasureBlockMapping.h"
#include "operations/COperationMapping.h"

#include <algorithm>
#include <cmath>

CChart2DMappingData::CChart2DMappingData(CSettings& settings, COperationMapping* operation, QObject* parent)
    : CChart2DFieldsData(operation->OperationParameters(), parent), m_Settings(settings),
      m_pOperation(operation), m_HorizontalAxisType(int(settings.Mapping2DPlotHorizontalAxisType())),
      m_AveragingCount(settings.AveragingCount()),
      m_AveragingModeIndex(
          settings.AveragingMode() == 1 || settings.AveragingMode() == 2 ? settings.AveragingMode() : 0)
{
}

QStringList CChart2DMappingData::AveragingModeNames() const
{
    return {tr("Off"), tr("Exponential"), tr("Moving")};
}

void CChart2DMappingData::onAveragingModeIndexChange(int index)
{
    const int mode = index == 1 || index == 2 ? index : 0;
    m_Settings.setAveragingMode(mode);
    if (mode == m_AveragingModeIndex)
        return;
    m_AveragingModeIndex = mode;
    for (Entry& entry : m_Blocks)
        entry.filtered = l_Filter(*entry.block);
    l_Rebuild();
    emit AveragingChanged();
}

void CChart2DMappingData::onAveragingCountIndexChange(uint count)
{
    m_Settings.setAveragingCount(count);
    if (count == m_AveragingCount)
        return;
    m_AveragingCount = count;
    for (Entry& entry : m_Blocks)
        entry.filtered = l_Filter(*entry.block);
    l_Rebuild();
    emit AveragingChanged();
}

void CChart2DMappingData::saveAveragingParameter()
{
    m_Settings.Save();
}

std::vector<float> CChart2DMappingData::Filtered(const std::vector<float>& x, int modeIndex, uint count)
{
    if (modeIndex == 0 || count == 0 || x.empty())
        return x;
    const double n = double(count);
    std::vector<float> y(x.size());
    if (modeIndex == 1)
    {
        double previous = x[0];
        y[0] = x[0];
        for (std::size_t i = 1; i < x.size(); ++i)
        {
            previous = (n - 1.0) / n * previous + double(x[i]) / n;
            y[i] = float(previous);
        }
        return y;
    }
    // Moving: the window starts full of copies of the first value.
    double sum = n * double(x[0]);
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        sum += double(x[i]) - double(x[i >= count ? i - count : 0]);
        y[i] = float(sum / n);
    }
    return y;
}

std::vector<QSharedPointer<CFieldIntensityResult>>
CChart2DMappingData::l_Filter(const CMeasureBlockMapping& block) const
{
    std::vector<QSharedPointer<CFieldIntensityResult>> result(block.Results.begin(), block.Results.end());
    if (m_AveragingModeIndex == 0 || m_AveragingCount == 0)
        return result;
    using Getter = float (CFieldIntensityResult::*)() const;
    using Setter = void (CFieldIntensityResult::*)(float);
    const std::pair<Getter, Setter> quantities[] = {
        {&CFieldIntensityResult::B, &CFieldIntensityResult::setB},
        {&CFieldIntensityResult::BBprime, &CFieldIntensityResult::setBBprime},
        {&CFieldIntensityResult::Bx, &CFieldIntensityResult::setBx},
        {&CFieldIntensityResult::By, &CFieldIntensityResult::setBy},
        {&CFieldIntensityResult::Bz, &CFieldIntensityResult::setBz},
        {&CFieldIntensityResult::dB, &CFieldIntensityResult::setdB}};
    // Averaged copies: the block's own samples stay as measured.
    for (auto& sample : result)
    {
        auto copy = QSharedPointer<CFieldIntensityResult>::create();
        copy->Timestamp = sample->Timestamp;
        copy->TimestampNanosecond = sample->TimestampNanosecond;
        sample = copy;
    }
    for (const auto& [get, set] : quantities)
    {
        std::vector<float> values;
        values.reserve(std::size_t(block.Results.size()));
        for (const auto& sample : block.Results)
            values.push_back(((*sample).*get)());
        const std::vector<float> averaged = Filtered(values, m_AveragingModeIndex, m_AveragingCount);
        for (std::size_t i = 0; i < result.size(); ++i)
            ((*result[i]).*set)(averaged[i]);
    }
    return result;
}

QStringList CChart2DMappingData::HorizontalAxisNames() const
{
    return {tr("Time"), tr("X Position"), tr("Y Position"), tr("Z Position")};
}

bool CChart2DMappingData::XAxisIsTime() const
{
    return m_HorizontalAxisType == 0;
}

QString CChart2DMappingData::XAxisTitle() const
{
    if (m_HorizontalAxisType == 0)
        return CChart2DFieldsData::XAxisTitle();
    // Positions are in millimetres, as the mapping's grid and files give them.
    QString title = HorizontalAxisNames().at(m_HorizontalAxisType) + tr(" [mm]");
    if (!l_SeveralRows())
        return title;
    QStringList at;
    for (int axis = 1; axis <= 3; ++axis)
        if (axis != m_HorizontalAxisType)
            at << QStringLiteral("%1 = %2 mm")
                      .arg(QStringLiteral("XYZ").mid(axis - 1, 1), QString::number(m_Row[axis - 1], 'g', 6));
    return title + tr(" (row at %1)").arg(at.join(QStringLiteral(", ")));
}

bool CChart2DMappingData::l_InRow(const CMeasureBlockMapping& block) const
{
    if (m_HorizontalAxisType == 0)
        return true;
    // Grid positions are sums of steps: equal within far less than any step allowed.
    constexpr double tolerance = 1e-6;
    const double at[3] = {block.Position.X(), block.Position.Y(), block.Position.Z()};
    for (int axis = 1; axis <= 3; ++axis)
        if (axis != m_HorizontalAxisType && std::fabs(at[axis - 1] - m_Row[axis - 1]) > tolerance)
            return false;
    return true;
}

bool CChart2DMappingData::l_SetRow(const CMeasureBlockMapping& block)
{
    const bool changed = !l_InRow(block);
    m_Row[0] = block.Position.X();
    m_Row[1] = block.Position.Y();
    m_Row[2] = block.Position.Z();
    return changed;
}

bool CChart2DMappingData::l_SeveralRows() const
{
    return std::any_of(m_Blocks.begin(), m_Blocks.end(),
                       [this](const Entry& entry) { return !l_InRow(*entry.block); });
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
    emit XAxisTitleChanged();
}

void CChart2DMappingData::RotateOnce(CMeasureBlockMapping& block)
{
    KVL::RotateIntoMappingFrame(block);
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

const CChart2DMappingData::Entry*
CChart2DMappingData::l_Insert(const QSharedPointer<CMeasureBlockMapping>& block)
{
    RotateOnce(*block);
    const Entry entry{l_Key(*block), m_Arrivals++, block, l_Filter(*block)};
    // After the blocks at the same place: several at one position are all kept, in order.
    const auto at = std::upper_bound(m_Blocks.begin(), m_Blocks.end(), entry.key,
                                     [](double key, const Entry& e) { return key < e.key; });
    // At the end of the line drawn: no block of its row after it.
    bool atTheEnd = std::none_of(at, m_Blocks.end(), [this](const Entry& e) { return l_InRow(*e.block); });
    const auto inserted = m_Blocks.insert(at, entry);
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
        return nullptr; // the places moved
    }
    return atTheEnd ? &*inserted : nullptr;
}

void CChart2DMappingData::Plot(const QSharedPointer<CMeasureBlockMapping>& block)
{
    if (!block || block->Results.isEmpty())
        return;
    const bool first = m_Blocks.empty();
    const bool severalRows = l_SeveralRows();
    const bool newRow = l_SetRow(*block);
    // A block after all others of the line (a run in time, or along the axis) only adds
    // its samples; a new row draws that row instead.
    const Entry* inserted = l_Insert(block);
    if (inserted && !newRow)
    {
        l_Append(*inserted);
        l_UpdateBounds();
    }
    else
    {
        l_Rebuild();
    }
    if (first)
    {
        resetAxisXDelta(true);
        resetAxisYDelta();
    }
    if (newRow || severalRows != l_SeveralRows())
        emit XAxisTitleChanged();
    l_ChooseSpreadingAxis();
}

void CChart2DMappingData::l_ChooseSpreadingAxis()
{
    if (m_AxisChosen || m_HorizontalAxisType == 0)
        return;
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (const Entry& entry : m_Blocks)
    {
        const double at[3] = {entry.block->Position.X(), entry.block->Position.Y(),
                              entry.block->Position.Z()};
        for (int a = 0; a < 3; ++a)
        {
            low[a] = any ? std::min(low[a], at[a]) : at[a];
            high[a] = any ? std::max(high[a], at[a]) : at[a];
        }
        any = true;
    }
    const auto spreads = [&](int axis) { return high[axis - 1] > low[axis - 1]; };
    if (!any || !(spreads(1) || spreads(2) || spreads(3)))
        return; // one position so far: nothing to tell yet
    m_AxisChosen = true;
    if (spreads(m_HorizontalAxisType))
        return;
    for (int axis = 1; axis <= 3; ++axis)
        if (spreads(axis))
        {
            setHorizontalAxisType(axis);
            return;
        }
}

void CChart2DMappingData::PlotAll(const std::vector<QSharedPointer<CMeasureBlockMapping>>& blocks)
{
    const bool first = m_Blocks.empty();
    for (const QSharedPointer<CMeasureBlockMapping>& block : blocks)
    {
        if (block && !block->Results.isEmpty())
        {
            l_SetRow(*block); // the newest block's row is drawn
            l_Insert(block);
        }
    }
    l_Rebuild();
    emit XAxisTitleChanged();
    if (first && !m_Blocks.empty())
    {
        resetAxisXDelta(true);
        resetAxisYDelta();
    }
    l_ChooseSpreadingAxis();
}

void CChart2DMappingData::l_Append(const Entry& entry)
{
    const bool time = m_HorizontalAxisType == 0;
    for (std::size_t i = 0; i < entry.filtered.size(); ++i)
    {
        const QSharedPointer<CFieldIntensityResult>& sample = entry.block->Results[int(i)];
        AppendReceivedAt(sample, time ? MeasureToSeconds(*sample) : entry.key);
        AppendFiltered(entry.filtered[i]);
    }
}

void CChart2DMappingData::l_Rebuild()
{
    ClearResults();
    for (const Entry& entry : m_Blocks)
        if (l_InRow(*entry.block))
            l_Append(entry);
    l_UpdateBounds();
}

void CChart2DMappingData::l_UpdateBounds()
{
    setMeasureResultCount(quint64(ReceivedResults().size()));
    if (m_HorizontalAxisType == 0)
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
    // Positions are shown as they are, from their smallest to their largest over the
    // whole map: every row is drawn on the same axis.
    MarkNewData(0.0);
    const double low = m_Blocks.empty() ? 0.0 : m_Blocks.front().key;
    const double high = m_Blocks.empty() ? 1.0 : m_Blocks.back().key;
    setMeasureResultMinX(low);
    setMeasureResultMaxX(high > low ? high : low + 1.0);
}

void CChart2DMappingData::ClearAll()
{
    m_AxisChosen = false;
    m_Row[0] = m_Row[1] = m_Row[2] = 0;
    m_Blocks.clear();
    m_Samples = 0;
    Clear();
    emit XAxisTitleChanged();
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
