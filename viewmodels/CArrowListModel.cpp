#include "viewmodels/CArrowListModel.h"

CArrowListModel::CArrowListModel(QObject* parent) : QAbstractListModel(parent) {}

void CArrowListModel::Append(const QVector3D& position, const QQuaternion& rotation, double scale, int cap)
{
    const int row = int(m_Arrows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_Arrows.push_back({position, rotation, scale});
    endInsertRows();
    if (cap > 0 && int(m_Arrows.size()) > cap)
    {
        const int extra = int(m_Arrows.size()) - cap;
        beginRemoveRows(QModelIndex(), 0, extra - 1);
        m_Arrows.erase(m_Arrows.begin(), m_Arrows.begin() + extra);
        endRemoveRows();
    }
    emit countChanged();
}

void CArrowListModel::Clear()
{
    beginResetModel();
    m_Arrows.clear();
    endResetModel();
    emit countChanged();
}

int CArrowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_Arrows.size());
}

QVariant CArrowListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Arrow& arrow = m_Arrows[std::size_t(index.row())];
    switch (role)
    {
    case XRole:
        return arrow.position.x();
    case YRole:
        return arrow.position.y();
    case ZRole:
        return arrow.position.z();
    case RotationRole:
        return arrow.rotation;
    case ScaleRole:
        return arrow.scale;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> CArrowListModel::roleNames() const
{
    return {{XRole, "x"}, {YRole, "y"}, {ZRole, "z"}, {RotationRole, "rotation"}, {ScaleRole, "scale"}};
}
