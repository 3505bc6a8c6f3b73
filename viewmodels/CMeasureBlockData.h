#pragma once

#include "model/CFieldIntensityResult.h"

#include <QAbstractTableModel>
#include <QSharedPointer>
#include <QVector>

class CMeasureBlock;
class CMeasureBlockMapping;

// The sample table of a page: the samples of the newest block, one row each, with
// timestamps to the nanosecond; for mapping blocks also the position and orientation.
class CMeasureBlockData : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Roles
    {
        TimestampRole = Qt::UserRole + 1,
        BRole,
        dBRole,
        BBprimeRole,
        BxRole,
        ByRole,
        BzRole,
        TRole,
        XRole,
        YRole,
        ZRole,
        RollRole,
        PitchRole,
        YawRole
    };

    explicit CMeasureBlockData(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void Clear();
    void DisplayFields(const CMeasureBlock& block);
    // The block's samples in place of the shown ones, in one model reset: a view
    // never sees the empty table in between.
    void ShowBlock(const CMeasureBlock& block);
    void DisplayFields(const CMeasureBlockMapping& block);
    void reloadData();

private:
    QVector<QSharedPointer<CFieldIntensityResult>> m_Samples;
    bool m_Mapping = false;
    double m_Position[3] = {0, 0, 0};
    double m_Orientation[3] = {0, 0, 0};
};
