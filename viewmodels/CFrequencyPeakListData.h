#pragma once

#include "model/CFluxList.h"

#include "viewmodels/CRowsModel.h"

#include <vector>

class LimitsXmlFile;

// The spectral peaks of the shown spectrum, with the exposure limit that holds at
// each peak's frequency.
class CFrequencyPeakListData : public CRowsModel
{
    Q_OBJECT

public:
    enum Role
    {
        PeakRole = Qt::UserRole + 1,
        AmplitudeRole,
        FrequencyRole,
        ExposureLimitRole
    };

    explicit CFrequencyPeakListData(const LimitsXmlFile* limits, QObject* parent = nullptr);

    void ComputeSpectralPeaks(const KVL::Instrument::ZRQ5520Types::CFluxList& spectrum, float binWidth,
                              float thresholdDb, double minFrequency);
    void Clear();
    // The limit of the first entry strictly above the frequency; 0 when there is none.
    double ExposureLimit(double frequency) const;
    const std::vector<float>& Frequencies() const { return m_Frequencies; }
    const std::vector<float>& Amplitudes() const { return m_Amplitudes; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    const LimitsXmlFile* m_pLimits;
    std::vector<float> m_Frequencies;
    std::vector<float> m_Amplitudes;
};
