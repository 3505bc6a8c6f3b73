#pragma once

#include <QStringList>

class QAbstractItemModel;

// A table of a page as text: tab-separated for the clipboard (a spreadsheet pastes it
// into cells), or CSV for a file. The columns are the roles the page shows, under the
// headings it gives them; numbers as the results files write them.
class CTableText
{
public:
    static QString Text(const QAbstractItemModel& model, const QStringList& roles,
                        const QStringList& headings, QChar separator);
};
