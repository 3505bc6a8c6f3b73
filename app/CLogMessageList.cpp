#include "app/CLogMessageList.h"

#include "app/CSettings.h"

CLogMessageList::CLogMessageList(CSettings& settings, QObject* parent)
    : QAbstractListModel(parent), m_Settings(settings)
{
}

void CLogMessageList::addData(const QSharedPointer<CLogMessage>& message)
{
    // At most one row goes per addition, and never from an empty list (a limit
    // of 0 would otherwise remove a row that does not exist).
    if (!m_Messages.empty() && m_Messages.size() >= m_Settings.LogMaxHistoryCount())
    {
        beginRemoveRows(QModelIndex(), 0, 0);
        m_Messages.pop_front();
        endRemoveRows();
    }
    const int row = int(m_Messages.size());
    beginInsertRows(QModelIndex(), row, row);
    m_Messages.push_back(message);
    endInsertRows();
}

int CLogMessageList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_Messages.size());
}

QVariant CLogMessageList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= int(m_Messages.size()))
        return QVariant();
    const QSharedPointer<CLogMessage>& message = m_Messages[std::size_t(index.row())];
    if (!message)
        return QVariant();
    switch (role)
    {
    case TimestampRole:
        return message->Timestamp().toString(Qt::ISODateWithMs);
    case LevelRole:
        return int(message->Level());
    case MessageRole:
        return message->Message();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> CLogMessageList::roleNames() const
{
    return {{TimestampRole, "timestamp"}, {LevelRole, "level"}, {MessageRole, "message"}};
}
