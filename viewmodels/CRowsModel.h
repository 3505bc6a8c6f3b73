#pragma once

#include <QAbstractTableModel>

#include <functional>

// A table whose rows are all replaced at once (a new block's peaks or bands): the
// rows kept are changed in place and only the difference is inserted or removed,
// so a view keeps its delegates instead of building them anew for every block.
class CRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    // `assign` puts the new rows in place; `before` and `after` are the row counts.
    void ReplaceRows(int before, int after, const std::function<void()>& assign);
};
