#pragma once

#include "model/CFieldIntensityResult.h"

#include <QAbstractTableModel>
#include <QSharedPointer>
#include <QVector>

#include <array>

class CMeasureBlock;
class CMeasureBlockMapping;

// The sample table of a page: the samples of the newest block, one row each, with
// timestamps to the nanosecond; for mapping blocks also each row's own position and
// orientation, the blocks of a map one after another up to a retention limit.
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
    // Appends the block's samples, each row with the block's place; beyond MaxRows the
    // oldest rows go.
    void DisplayFields(const CMeasureBlockMapping& block);
    void reloadData();
    // Rows kept at most (0: no limit).
    void setMaxRows(int rows) { m_MaxRows = rows; }
    int MaxRows() const { return m_MaxRows; }

private:
    QVector<QSharedPointer<CFieldIntensityResult>> m_Samples;
    bool m_Mapping = false;
    // Per row of a map: X, Y, Z, roll, pitch, yaw of the row's block.
    QVector<std::array<double, 6>> m_Places;
    int m_MaxRows = 0;
};
