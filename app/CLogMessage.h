#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// One entry of the in-program log history.
class CLogMessage : public QObject
{
    Q_OBJECT
public:
    enum eLevel
    {
        DEBUG = 0,
        INFO = 1,
        WARNING = 2,
        CRITICAL = 3,
        FATAL = 4
    };
    Q_ENUM(eLevel)

private:
    Q_PROPERTY(eLevel Level READ Level WRITE setLevel NOTIFY LevelChanged)
    Q_PROPERTY(QDateTime Timestamp READ Timestamp WRITE setTimestamp NOTIFY TimestampChanged)
    Q_PROPERTY(QString Message READ Message WRITE setMessage NOTIFY MessageChanged)

public:
    explicit CLogMessage(QObject* parent = nullptr);

    eLevel Level() const { return m_Level; }
    QDateTime Timestamp() const { return m_Timestamp; }
    QString Message() const { return m_Message; }

public slots:
    void setLevel(CLogMessage::eLevel value);
    void setTimestamp(const QDateTime& value);
    void setMessage(const QString& value);

signals:
    void LevelChanged(CLogMessage::eLevel value);
    void TimestampChanged(QDateTime value);
    void MessageChanged(QString value);

private:
    eLevel m_Level = DEBUG;
    QDateTime m_Timestamp;
    QString m_Message;
};
