#include "viewmodels/CFrequencyTableData.h"

#include "files/LimitsXmlFile.h"
#include "model/CMeasureBlock.h"

#include <limits>

CFrequencyTableData::CFrequencyTableData(const LimitsXmlFile* limits, QObject* parent)
    : CRowsModel(parent), m_pLimits(limits), m_Table(limits)
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
    CBandTable next(m_pLimits);
    next.Compute(block, sampleRate, figureIndex);
    ReplaceRows(rowCount(), next.Bands(), [&] { m_Table = std::move(next); });
    const int above = m_Table.BandsAboveRange();
    const QString from = QString::number(m_Table.AboveRangeFrom(), 'g', 6);
    l_SetAboveRangeText(above == 0 ? QString()
                        : above == 1
                            ? tr("1 band from %1 Hz: above the measured range").arg(from)
                            : tr("%1 bands from %2 Hz: above the measured range").arg(above).arg(from));
}

void CFrequencyTableData::l_SetAboveRangeText(const QString& text)
{
    if (text == m_AboveRangeText)
        return;
    m_AboveRangeText = text;
    emit AboveRangeTextChanged(text);
}

void CFrequencyTableData::Clear()
{
    beginResetModel();
    m_Table.Clear();
    endResetModel();
    l_SetAboveRangeText(QString());
}

int CFrequencyTableData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_Table.Bands();
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
