#include "viewmodels/CFrequencyPeakListData.h"

#include "app/LogCategories.h"
#include "compute/Spectrum.h"
#include "files/LimitsXmlFile.h"

#include <algorithm>

CFrequencyPeakListData::CFrequencyPeakListData(const LimitsXmlFile* limits, QObject* parent)
    : CRowsModel(parent), m_pLimits(limits)
{
}

void CFrequencyPeakListData::ComputeSpectralPeaks(const KVL::Instrument::ZRQ5520Types::CFluxList& spectrum,
                                                  float binWidth, float thresholdDb, double minFrequency)
{
    std::vector<float> frequencies, amplitudes;
    if (!KVL::ComputeSpectralPeaksFrom(spectrum, binWidth, thresholdDb, minFrequency, frequencies,
                                       amplitudes))
        qCWarning(lcUi).noquote() << QStringLiteral("Error with ComputeSpectralPeaks return false: ")
                                  << spectrum.size() << QStringLiteral("bins");
    ReplaceRows(int(m_Frequencies.size()), int(frequencies.size()), [&] {
        m_Frequencies.swap(frequencies);
        m_Amplitudes.swap(amplitudes);
    });
}

void CFrequencyPeakListData::Clear()
{
    beginResetModel();
    m_Frequencies.clear();
    m_Amplitudes.clear();
    endResetModel();
}

double CFrequencyPeakListData::ExposureLimit(double frequency) const
{
    for (const QSharedPointer<FrequencyRange>& range : m_pLimits->Limits())
        if (range->UpperFrequencyLimitValue() > frequency)
            return range->ExposureLimitValue();
    return 0.0;
}

int CFrequencyPeakListData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_Frequencies.size());
}

int CFrequencyPeakListData::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant CFrequencyPeakListData::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const std::size_t row = std::size_t(index.row());
    switch (role)
    {
    case PeakRole:
        return index.row() + 1;
    case AmplitudeRole:
        return double(m_Amplitudes[row]);
    case FrequencyRole:
        return double(m_Frequencies[row]);
    case ExposureLimitRole:
        return ExposureLimit(double(m_Frequencies[row]));
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> CFrequencyPeakListData::roleNames() const
{
    return {{PeakRole, "Peak"},
            {AmplitudeRole, "Amplitude"},
            {FrequencyRole, "Frequency"},
            {ExposureLimitRole, "ExposureLimit"}};
}
