#include "viewmodels/CChart2DSpectrumData.h"

#include "app/CConstants.h"
#include "app/LogCategories.h"
#include "compute/Spectrum.h"
#include "model/CMeasureBlock.h"
#include "model/CMeasurementParameters.h"
#include "operations/COperationMeasure.h"

#include <QtCharts/QAbstractAxis>
#include <QtCharts/QXYSeries>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr float SmallestFloat = 1.1754944e-38f;
constexpr float LargestFloat = 3.4028235e38f;

} // namespace

CChart2DSpectrumData::CChart2DSpectrumData(COperationMeasure* operation, QObject* parent)
    : CChart2D(parent), m_pOperation(operation), m_pParameters(operation->MeasurementParameters()),
      m_X(std::size_t(m_NbPointsAxeX), 0.0), m_Y(std::size_t(m_NbPointsAxeX), 1.0f)
{
    setYmin(0.01);
    setYmax(CConstants::Chart2DDefaultYMax);
    setYminAllSignal(0.01);
    setYmaxAllSignal(CConstants::Chart2DDefaultYMax);
}

void CChart2DSpectrumData::setMeasurementParameters(CMeasurementParameters* parameters)
{
    m_pParameters = parameters ? parameters : m_pOperation->MeasurementParameters();
}

void CChart2DSpectrumData::l_Set(double& member, double value, void (CChart2DSpectrumData::*signal)(double))
{
    if (member == value)
        return;
    member = value;
    emit(this->*signal)(value);
}

void CChart2DSpectrumData::l_SetLength(int value)
{
    if (m_DownsampledSignalLength == value)
        return;
    m_DownsampledSignalLength = value;
    emit DownsampledSignalLengthChanged(value);
}

double CChart2DSpectrumData::l_FrequencyMax() const
{
    // Parameters that never set the upper bound show up to the Nyquist frequency.
    const double maximum = m_pParameters->FrequencyMax();
    return maximum > m_pParameters->FrequencyMin() ? maximum : m_pParameters->AcquisitionRate() * 0.5;
}

void CChart2DSpectrumData::Plot(const CMeasureBlock& block, int fieldIndex)
{
    if (block.Results.isEmpty())
        return;
    setVisible(false);
    m_Series.clear();
    if (fieldIndex >= 0 && fieldIndex <= 4)
    {
        m_Series.reserve(std::size_t(block.Results.size()));
        for (const QSharedPointer<CFieldIntensityResult>& sample : block.Results)
            m_Series.push_back(sample->Quantity(fieldIndex));
    }
    if (!KVL::ComputeSpectrum(m_Series, m_Spectrum))
    {
        static const char* const names[] = {"B", "B.B'", "Bx", "By", "Bz"};
        const QString name =
            fieldIndex >= 0 && fieldIndex <= 4 ? QString::fromLatin1(names[fieldIndex]) : QString();
        qCWarning(lcUi).noquote() << QStringLiteral("Error with ComputeSpectrum: ") + name;
    }
    // The bins of a block are its own length apart, whatever the block size asked for.
    m_DeltaFrequency = m_Series.empty() ? 0.0 : m_pParameters->AcquisitionRate() / double(m_Series.size());
    // Without a rate that is a number the bins have no frequency: no spectrum is shown
    // (the page says why), rather than one drawn at "inf Hz".
    if (!(m_DeltaFrequency > 0) || !std::isfinite(m_DeltaFrequency))
    {
        m_Spectrum.clear();
        m_DeltaFrequency = 0;
    }
    l_Set(m_MinFrequency, m_pParameters->FrequencyMin(), &CChart2DSpectrumData::MinFrequencyChanged);
    setXmin(m_MinFrequency);
    l_Set(m_MaxFrequency, l_FrequencyMax(), &CChart2DSpectrumData::MaxFrequencyChanged);
    setXmax(m_MaxFrequency);
    UpdateDownsampling();
    setVisible(true);
}

void CChart2DSpectrumData::refreshAxisX(double axeXMin, double axeXMax)
{
    setXmax(std::min(m_MaxFrequency, axeXMax));
    setXmin(std::max(m_MinFrequency, axeXMin));
    UpdateDownsampling();
}

void CChart2DSpectrumData::UpdateDownsampling()
{
    beginResetModel();
    UpdatePlot();
    endResetModel();
    UpdateYMinMax();
    emit seriesUpdated();
}

void CChart2DSpectrumData::UpdatePlot()
{
    const double df = m_DeltaFrequency;
    if (!(df > 0))
    {
        l_SetLength(0);
        return;
    }
    const long bins = long(m_Spectrum.size());
    // A line's amplitude, as the peak table lists it: the window halves a tone in its
    // bin, the bin at 0 Hz is a constant and is not doubled.
    const auto amplitude = [this](long k) {
        return k == 0 ? m_Spectrum[0] : 2.0f * m_Spectrum[std::size_t(k)];
    };
    float localMax = SmallestFloat;
    float localMin = LargestFloat;
    long len = 0;
    if (bins > 0)
    {
        const long iStart = std::max(long(std::floor(Xmin() / df)), 0L);
        long iEnd = long(std::ceil(Xmax() / df));
        if (iEnd >= bins)
            iEnd = bins - 1;
        const long span = iEnd - iStart;
        len = span < m_NbPointsAxeX ? span + 1 : m_NbPointsAxeX;
        if (len >= 1 && iStart < bins)
        {
            m_X[0] = df * double(iStart);
            m_Y[0] = amplitude(iStart);
            ComputeMin(localMin, m_Y[0]);
            ComputeMax(localMax, m_Y[0]);
            // Points 1 … len − 1 share out the bins after the first, the last one included,
            // in consecutive spans; each point shows the bin of its span that deviates most
            // from the point before, drawn at that bin's own frequency.
            const long spans = len - 1;
            for (long j = 1; j < len; ++j)
            {
                const long from = iStart + 1 + (j - 1) * span / spans;
                const long to = iStart + j * span / spans;
                long chosen = from;
                float deviation = 0;
                for (long c = from; c <= to; ++c)
                {
                    const float candidate = amplitude(c);
                    const float d = std::fabs(m_Y[std::size_t(j - 1)] - candidate);
                    if (d > deviation)
                    {
                        deviation = d;
                        chosen = c;
                    }
                    ComputeMin(localMin, candidate);
                    ComputeMax(localMax, candidate);
                }
                m_X[std::size_t(j)] = df * double(chosen);
                m_Y[std::size_t(j)] = amplitude(chosen);
            }
        }
        else
        {
            len = 0;
        }
    }
    l_SetLength(int(std::max(0L, len)));
    l_Set(m_MaxSpectrum, double(localMax), &CChart2DSpectrumData::MaxSpectrumChanged);
    l_Set(m_MinSpectrum, double(localMin), &CChart2DSpectrumData::MinSpectrumChanged);
}

std::pair<double, double> CChart2DSpectrumData::YRange(double minimum, double maximum, bool limitsLoaded,
                                                       double smallestLimit, double largestLimit)
{
    if (!limitsLoaded)
        return {minimum * 0.2, 2.0 * maximum};
    const double lo = minimum < smallestLimit || smallestLimit <= 0 ? minimum : smallestLimit;
    const double hi = maximum > largestLimit || largestLimit <= 0 ? maximum : largestLimit;
    return {lo * 0.2, 2.0 * hi};
}

void CChart2DSpectrumData::UpdateYMinMax()
{
    const LimitsXmlFile& limits = *m_pOperation->LimitsFile();
    const auto [low, high] = YRange(m_MinSpectrum, m_MaxSpectrum, m_pOperation->LimitsFileLoaded(),
                                    limits.ValueMinimum(), limits.ValueMaximum());
    setYmin(low);
    setYmax(high);
}

void CChart2DSpectrumData::UpdateBoundaries()
{
    setXmin(m_pParameters->FrequencyMin());
    setXmax(l_FrequencyMax());
    UpdateYMinMax();
    emit seriesUpdated();
}

void CChart2DSpectrumData::Clear()
{
    beginResetModel();
    m_Spectrum.clear();
    l_SetLength(0);
    endResetModel();
    // The limits' own span, from the smallest that is above 0: the axis is logarithmic.
    double smallest = std::numeric_limits<double>::infinity();
    for (const QSharedPointer<FrequencyRange>& range : m_pOperation->LimitsFile()->Limits())
        if (range->ExposureLimitValue() > 0)
            smallest = std::min(smallest, range->ExposureLimitValue());
    if (m_pOperation->LimitsFileLoaded() && std::isfinite(smallest))
    {
        setYmin(smallest);
        setYmax(std::max(smallest * 10, m_pOperation->LimitsFile()->ValueMaximum()));
    }
    else
    {
        setYmin(CConstants::Chart2DDefaultYMin);
        setYmax(CConstants::Chart2DDefaultYMax);
    }
    emit seriesUpdated();
}

int CChart2DSpectrumData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_Spectrum.size());
}

int CChart2DSpectrumData::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant CChart2DSpectrumData::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_DownsampledSignalLength ||
        index.column() > 1)
        return QVariant();
    return index.column() == 0 ? QVariant(m_X[std::size_t(index.row())])
                               : QVariant(double(m_Y[std::size_t(index.row())]));
}

void CChart2DSpectrumData::updateSeries(QObject* series, QObject* axisY) const
{
    auto* xy = qobject_cast<QtCharts::QXYSeries*>(series);
    if (!xy)
        return;
    // A logarithmic axis has no place for 0: such bins sit on the bottom of the chart.
    const double floor = std::max(Ymin(), std::numeric_limits<double>::min());
    QVector<QPointF> points;
    points.reserve(m_DownsampledSignalLength);
    for (int row = 0; row < m_DownsampledSignalLength; ++row)
        points.append(QPointF(m_X[std::size_t(row)], std::max(double(m_Y[std::size_t(row)]), floor)));
    // The Y range follows each spectrum: set in one step, the axis is laid out once
    // per redraw, not once for its bottom and again for its top.
    if (auto* axis = qobject_cast<QtCharts::QAbstractAxis*>(axisY))
        axis->setRange(floor, std::max(Ymax(), Ymin() * 10));
    xy->replace(points);
}

void CChart2DSpectrumData::updateLimitSeries(QObject* series) const
{
    auto* xy = qobject_cast<QtCharts::QXYSeries*>(series);
    if (!xy)
        return;
    QVector<QPointF> points;
    if (m_pOperation->LimitsFileLoaded())
    {
        // Each entry holds its value from the previous entry's frequency up to its own.
        double from = 0;
        for (const QSharedPointer<FrequencyRange>& range : m_pOperation->LimitsFile()->Limits())
        {
            const double to = range->UpperFrequencyLimitValue();
            const double value = range->ExposureLimitValue();
            if (to >= Xmin() && from <= Xmax() && value > 0)
            {
                points.append(QPointF(std::max(from, Xmin()), value));
                points.append(QPointF(std::min(to, Xmax()), value));
            }
            from = to;
        }
    }
    xy->replace(points);
}
