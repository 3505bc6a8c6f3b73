#include "viewmodels/CFrequencyTableData.h"

#include "compute/FigureOfMerit.h"
#include "files/LimitsXmlFile.h"
#include "model/CMeasureBlock.h"

#include <limits>

CFrequencyTableData::CFrequencyTableData(const LimitsXmlFile* limits, QObject* parent)
    : CRowsModel(parent), m_pLimits(limits)
{
}

void CFrequencyTableData::setFlagNotification(bool value)
{
    if (m_FlagNotification == value)
        return;
    m_FlagNotification = value;
    emit FlagNotificationChanged(value);
}

void CFrequencyTableData::ComputeFigureOfMerit(const CMeasureBlock* block, double sampleRate, int figureIndex)
{
    decltype(m_Figures) figures;
    std::vector<float> upperLimits;
    if (block && !block->Results.isEmpty())
    {
        for (const QSharedPointer<FrequencyRange>& range : m_pLimits->Limits())
            upperLimits.push_back(float(range->UpperFrequencyLimitValue()));
        if (upperLimits.empty())
            upperLimits.push_back(float(sampleRate * 0.5));
        KVL::Instrument::ZRQ5520Types::CFluxList series;
        series.reserve(std::size_t(block->Results.size()));
        for (std::size_t q = 0; q < figures.size(); ++q)
        {
            series.clear();
            for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block->Results))
            {
                const float values[] = {sample->B(), sample->BBprime(), sample->Bx(), sample->By(),
                                        sample->Bz()};
                series.push_back(values[q]);
            }
            // A failed computation (a block of one sample) shows zeros, never a short row.
            if (!KVL::ComputeACFigureOfMeritPerBand(series, float(sampleRate), upperLimits,
                                                    KVL::eFigureOfMerit(figureIndex), figures[q]))
                figures[q].assign(upperLimits.size(), 0.0f);
        }
    }
    ReplaceRows(rowCount(), int(figures[0].size()), [&] {
        m_Figures.swap(figures);
        m_UpperLimits.swap(upperLimits);
        m_SampleRate = sampleRate;
    });
}

void CFrequencyTableData::Clear()
{
    beginResetModel();
    for (auto& figures : m_Figures)
        figures.clear();
    m_UpperLimits.clear();
    endResetModel();
}

QString CFrequencyTableData::BandText(int row) const
{
    const auto& limits = m_pLimits->Limits();
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    if (limits.isEmpty())
        return QStringLiteral("0-") + number(m_SampleRate * 0.5);
    if (row == 0)
        return QStringLiteral("0-") + number(limits.first()->UpperFrequencyLimitValue());
    return number(limits.at(row - 1)->UpperFrequencyLimitValue()) + QLatin1Char('-') +
           number(limits.at(row)->UpperFrequencyLimitValue());
}

double CFrequencyTableData::ExposureLimit(int row) const
{
    const auto& limits = m_pLimits->Limits();
    return row >= 0 && row < limits.size() ? limits.at(row)->ExposureLimitValue() : 0.0;
}

int CFrequencyTableData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_Figures[0].size());
}

int CFrequencyTableData::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant CFrequencyTableData::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    switch (role)
    {
    case FrequencyBandRole:
        return BandText(index.row());
    case BRole:
    case BBprimeRole:
    case BxRole:
    case ByRole:
    case BzRole:
        return double(Figure(role - BRole, index.row()));
    case ExposureLimitRole:
        if (m_pLimits->Limits().isEmpty())
            return QStringLiteral("0");
        return ExposureLimit(index.row());
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> CFrequencyTableData::roleNames() const
{
    return {{FrequencyBandRole, "FrequencyBand"},
            {BRole, "B"},
            {BBprimeRole, "BBprime"},
            {BxRole, "Bx"},
            {ByRole, "By"},
            {BzRole, "Bz"},
            {ExposureLimitRole, "ExposureLimit"}};
}
