#include "app/CLogFilterProxyModel.h"

#include "app/CLogMessageList.h"

CLogFilterProxyModel::CLogFilterProxyModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    connect(this, &CLogFilterProxyModel::MinLevelChanged, this, &CLogFilterProxyModel::OnMinLevelChanged);
}

void CLogFilterProxyModel::setMinLevel(int value)
{
    if (m_MinLevel == value)
        return;
    m_MinLevel = value;
    emit MinLevelChanged(value);
}

void CLogFilterProxyModel::setFilterString(const QString& string)
{
    setFilterRole(CLogMessageList::MessageRole);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setFilterFixedString(string);
}

void CLogFilterProxyModel::OnMinLevelChanged()
{
    invalidateFilter();
}

bool CLogFilterProxyModel::filterAcceptsRow(int row, const QModelIndex& parent) const
{
    if (!QSortFilterProxyModel::filterAcceptsRow(row, parent))
        return false;
    const QAbstractItemModel* source = sourceModel();
    if (!source)
        return false;
    const QModelIndex index = source->index(row, 0, parent);
    if (!index.isValid())
        return false;
    const QVariant level = source->data(index, CLogMessageList::LevelRole);
    return level.isValid() && level.toInt() >= m_MinLevel;
}
