#pragma once

#include <QFile>
#include <QMutex>
#include <QObject>
#include <QTextStream>

// Writes every log message, one flushed line each, to "Tesvana.log".
class CLogger : public QObject
{
    Q_OBJECT
public:
    explicit CLogger(const QString& folder, QObject* parent = nullptr);
    ~CLogger() override;

    void logMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg);
    QString filePath() const;

    static QString label(QtMsgType type);

private:
    QFile* m_pFile;
    QTextStream m_FileStream;
    QTextStream m_StdOut;
    QMutex m_Mutex;
};
