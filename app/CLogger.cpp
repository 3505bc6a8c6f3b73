#include "app/CLogger.h"

#include "app/LogCategories.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>

#include <cstdio>

CLogger::CLogger(const QString& folder, QObject* parent)
    : QObject(parent), m_pFile(new QFile(folder + QStringLiteral("/Tesvana.log"), this)), m_StdOut(stdout)
{
    // The folder is created here as well: on a first run nothing else has made
    // it yet, and that run's log must not be lost.
    QDir().mkpath(folder);
    if (m_pFile->exists())
        m_pFile->remove();
    if (m_pFile->open(QIODevice::Append | QIODevice::Text))
    {
        m_FileStream.setDevice(m_pFile);
        m_FileStream.setCodec("UTF-8");
    }
    else
    {
        // Said once on the default output; the history and the console go on without the file.
        qCWarning(lcApp).noquote() << QStringLiteral("Cannot open the log file ") + m_pFile->fileName() +
                                          QStringLiteral(": ") + m_pFile->errorString();
    }
}

CLogger::~CLogger()
{
    QMutexLocker lock(&m_Mutex);
    m_FileStream.flush();
    m_FileStream.setDevice(nullptr);
    m_pFile->close();
}

QString CLogger::filePath() const
{
    return m_pFile->fileName();
}

QString CLogger::label(QtMsgType type)
{
    switch (type)
    {
    case QtDebugMsg:
        return QStringLiteral("DEBUG");
    case QtWarningMsg:
        return QStringLiteral("WARN");
    case QtCriticalMsg:
        return QStringLiteral("CRIT");
    case QtFatalMsg:
        return QStringLiteral("FATAL");
    case QtInfoMsg:
        return QStringLiteral("INFO");
    }
    return QString();
}

void CLogger::logMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    QMutexLocker lock(&m_Mutex);
    if (!m_FileStream.device())
        return;
    // Concatenated rather than arg()-chained: a message may itself contain "%1".
    const QString line = QLatin1Char('[') + label(type) + QStringLiteral("] ") +
                         QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QStringLiteral(" - ") +
                         msg + QStringLiteral(" (") + QString::fromUtf8(context.file ? context.file : "") +
                         QLatin1Char(':') + QString::number(context.line) + QStringLiteral(", ") +
                         QString::fromUtf8(context.function ? context.function : "") + QStringLiteral(")\n");
    m_FileStream << line;
    m_FileStream.flush();
}
