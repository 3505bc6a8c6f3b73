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
    case RollRole:
    case PitchRole:
    case YawRole:
        return m_Mapping && index.row() < m_Places.size()
                   ? QVariant(m_Places.at(index.row())[std::size_t(role - XRole)])
                   : QVariant();
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
    m_Places.clear();
    endResetModel();
}

void CMeasureBlockData::DisplayFields(const CMeasureBlock& block)
{
    beginResetModel();
    m_Mapping = false;
    m_Places.clear();
    m_Samples += block.Results;
    endResetModel();
}

void CMeasureBlockData::ShowBlock(const CMeasureBlock& block)
{
    beginResetModel();
    m_Mapping = false;
    m_Places.clear();
    m_Samples = block.Results;
    endResetModel();
}

void CMeasureBlockData::DisplayFields(const CMeasureBlockMapping& block)
{
    beginResetModel();
    if (!m_Mapping)
    {
        m_Samples.clear();
        m_Places.clear();
    }
    m_Mapping = true;
    const std::array<double, 6> place = {block.Position.X(),        block.Position.Y(),
                                         block.Position.Z(),        block.Orientation.Roll(),
                                         block.Orientation.Pitch(), block.Orientation.Yaw()};
    m_Samples += block.Results;
    m_Places.insert(m_Places.size(), block.Results.size(), place);
    if (m_MaxRows > 0 && m_Samples.size() > m_MaxRows)
    {
        const int excess = m_Samples.size() - m_MaxRows;
        m_Samples.remove(0, excess);
        m_Places.remove(0, excess);
    }
    endResetModel();
}

void CMeasureBlockData::reloadData()
{
    beginResetModel();
    endResetModel();
}
