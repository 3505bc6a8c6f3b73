#pragma once

#include "app/CLogMessage.h"

#include <QAbstractListModel>
#include <QSharedPointer>

#include <deque>

class CSettings;

// The in-program log history, oldest first, bounded by LogMaxHistoryCount.
class CLogMessageList : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        TimestampRole = 1,
        LevelRole = 2,
        MessageRole = 3
    };

    explicit CLogMessageList(CSettings& settings, QObject* parent = nullptr);

    void addData(const QSharedPointer<CLogMessage>& message);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    CSettings& m_Settings;
    std::deque<QSharedPointer<CLogMessage>> m_Messages;
};
