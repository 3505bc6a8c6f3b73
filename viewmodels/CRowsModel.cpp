#include "viewmodels/CRowsModel.h"

#include <algorithm>

void CRowsModel::ReplaceRows(int before, int after, const std::function<void()>& assign)
{
    if (after < before)
    {
        beginRemoveRows(QModelIndex(), after, before - 1);
        assign();
        endRemoveRows();
    }
    else if (after > before)
    {
        beginInsertRows(QModelIndex(), before, after - 1);
        assign();
        endInsertRows();
    }
    else
    {
        assign();
    }
    const int kept = std::min(before, after);
    if (kept > 0)
        emit dataChanged(index(0, 0), index(kept - 1, std::max(0, columnCount() - 1)));
}
