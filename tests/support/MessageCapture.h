#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtGlobal>

// Collects every message of the process while it lives ("LEVEL text"), and
// still passes them to the handler that was there before.
class MessageCapture
{
public:
    MessageCapture() : m_Previous(qInstallMessageHandler(&MessageCapture::handler)) { s_Current = this; }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_Previous);
        s_Current = nullptr;
    }

    QStringList all() const
    {
        QMutexLocker lock(&m_Mutex);
        return m_Lines;
    }
    int count(const QString& line) const { return all().count(line); }
    bool contains(const QString& part) const
    {
        for (const QString& line : all())
        {
            if (line.contains(part))
                return true;
        }
        return false;
    }
    void clear()
    {
        QMutexLocker lock(&m_Mutex);
        m_Lines.clear();
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        static const char* const names[] = {"DEBUG", "WARN", "CRIT", "FATAL", "INFO"};
        if (MessageCapture* self = s_Current)
        {
            {
                QMutexLocker lock(&self->m_Mutex);
                self->m_Lines << QString::fromLatin1(names[type]) + QLatin1Char(' ') + text;
            }
            if (self->m_Previous)
                self->m_Previous(type, context, text);
        }
    }

    static inline MessageCapture* s_Current = nullptr;
    QtMessageHandler m_Previous;
    mutable QMutex m_Mutex;
    QStringList m_Lines;
};
