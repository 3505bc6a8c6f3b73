#pragma once

#include "operations/CBandTable.h"
#include "viewmodels/CRowsModel.h"
#include <QSharedPointer>

class CMeasureBlock;
class LimitsXmlFile;

// The band table of the AC analysis page: the figure of merit of B, B.B', Bx, By
// and Bz in each band of the limits file (one band up to half the acquisition rate
// without one), with the band's exposure limit.
class CFrequencyTableData : public CRowsModel
{
    Q_OBJECT
    Q_PROPERTY(bool FlagNotification READ FlagNotification NOTIFY FlagNotificationChanged)
    // Said once under the table for the bands of the limits file it does not list.
    Q_PROPERTY(QString AboveRangeText READ AboveRangeText NOTIFY AboveRangeTextChanged)

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
    QString AboveRangeText() const { return m_AboveRangeText; }
    void setFlagNotification(bool value);

    // The figures of `block` (null: the table empties) measured at `sampleRate`.
    void ComputeFigureOfMerit(const CMeasureBlock* block, double sampleRate, int figureIndex);
    void Clear();
    QString BandText(int row) const { return m_Table.BandText(row); }
    // Figure of quantity q (0 B .. 4 Bz) in band `row`.
    float Figure(int quantity, int row) const { return m_Table.Figure(quantity, row); }
    // The band's limit; 0 without a limits file.
    double ExposureLimit(int row) const { return m_Table.ExposureLimit(row); }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void FlagNotificationChanged(bool value);
    void AboveRangeTextChanged(QString value);

private:
    const LimitsXmlFile* m_pLimits;
    CBandTable m_Table; // the figures; this model shows them
    bool m_FlagNotification = false;
    QString m_AboveRangeText;
    void l_SetAboveRangeText(const QString& text);
};
