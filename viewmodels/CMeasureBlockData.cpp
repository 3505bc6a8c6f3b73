#include "viewmodels/CMeasureBlockData.h"

#include "model/CMeasureBlock.h"
#include "model/CMeasureBlockMapping.h"

CMeasureBlockData::CMeasureBlockData(QObject* parent) : QAbstractTableModel(parent) {}

int CMeasureBlockData::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_Samples.size();
}

int CMeasureBlockData::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant CMeasureBlockData::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_Samples.size())
        return QVariant();
    const CFieldIntensityResult& sample = *m_Samples.at(index.row());
    switch (role)
    {
    case TimestampRole:
        return CMeasureBlock::FormatTimestamp(sample.Timestamp, sample.TimestampNanosecond);
    case BRole:
        return sample.B();
    case dBRole:
        return sample.dBConverted();
    case BBprimeRole:
        return sample.BBprime();
    case BxRole:
        return sample.Bx();
    case ByRole:
        return sample.By();
    case BzRole:
        return sample.Bz();
    case TRole:
        return sample.Temperature();
    case XRole:
    case YRole:
    case ZRole:
        return m_Mapping ? QVariant(m_Position[role - XRole]) : QVariant();
    case RollRole:
    case PitchRole:
    case YawRole:
        return m_Mapping ? QVariant(m_Orientation[role - RollRole]) : QVariant();
    }
    return QVariant();
}

QHash<int, QByteArray> CMeasureBlockData::roleNames() const
{
    return {{TimestampRole, "Timestamp"},
            {BRole, "B"},
            {dBRole, "dB"},
            {BBprimeRole, "BBprime"},
            {BxRole, "Bx"},
            {ByRole, "By"},
            {BzRole, "Bz"},
            {TRole, "T"},
            {XRole, "X"},
            {YRole, "Y"},
            {ZRole, "Z"},
            {RollRole, "Roll"},
            {PitchRole, "Pitch"},
            {YawRole, "Yaw"}};
}

void CMeasureBlockData::Clear()
{
    beginResetModel();
    m_Samples.clear();
    endResetModel();
}

void CMeasureBlockData::DisplayFields(const CMeasureBlock& block)
{
    beginResetModel();
    m_Mapping = false;
    m_Samples += block.Results;
    endResetModel();
}

void CMeasureBlockData::ShowBlock(const CMeasureBlock& block)
{
    beginResetModel();
    m_Mapping = false;
    m_Samples = block.Results;
    endResetModel();
}

void CMeasureBlockData::DisplayFields(const CMeasureBlockMapping& block)
{
    beginResetModel();
    m_Mapping = true;
    m_Position[0] = block.Position.X();
    m_Position[1] = block.Position.Y();
    m_Position[2] = block.Position.Z();
    m_Orientation[0] = block.Orientation.Roll();
    m_Orientation[1] = block.Orientation.Pitch();
    m_Orientation[2] = block.Orientation.Yaw();
    m_Samples += block.Results;
    endResetModel();
}

void CMeasureBlockData::reloadData()
{
    beginResetModel();
    endResetModel();
}
