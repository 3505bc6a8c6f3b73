#pragma once

#include "viewmodels/CRowsModel.h"
#include <QSharedPointer>

#include <array>
#include <vector>

class CMeasureBlock;
class LimitsXmlFile;

// The band table of the AC analysis page: the figure of merit of B, B.B', Bx, By
// and Bz in each band of the limits file (one band up to half the acquisition rate
// without one), with the band's exposure limit.
class CFrequencyTableData : public CRowsModel
{
    Q_OBJECT
    Q_PROPERTY(bool FlagNotification READ FlagNotification NOTIFY FlagNotificationChanged)

public:
    enum Role
    {
        FrequencyBandRole = Qt::UserRole + 1,
        BRole,
        BBprimeRole,
        BxRole,
        ByRole,
        BzRole,
        ExposureLimitRole
    };

    // `limits` (not owned) gives the bands; with none loaded the table has the one band up to half the rate.
    explicit CFrequencyTableData(const LimitsXmlFile* limits, QObject* parent = nullptr);

    bool FlagNotification() const { return m_FlagNotification; }
    void setFlagNotification(bool value);

    // The figures of `block` (null: the table empties) measured at `sampleRate`.
    void ComputeFigureOfMerit(const CMeasureBlock* block, double sampleRate, int figureIndex);
    void Clear();
    QString BandText(int row) const;
    // Figure of quantity q (0 B .. 4 Bz) in band `row`.
    float Figure(int quantity, int row) const { return m_Figures[std::size_t(quantity)][std::size_t(row)]; }
    // The band's limit; 0 without a limits file.
    double ExposureLimit(int row) const;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void FlagNotificationChanged(bool value);

private:
    const LimitsXmlFile* m_pLimits;
    std::array<std::vector<float>, 5> m_Figures;
    std::vector<float> m_UpperLimits;
    double m_SampleRate = 0;
    bool m_FlagNotification = false;
};
