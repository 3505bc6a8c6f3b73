#include "files/CResultsStreamWriter.h"

#include "files/CXMLResultsSerializer.h"
#include "files/ResultsFileFormat.h"
#include "model/CMeasureBlock.h"

#include <QCoreApplication>
#include <QFile>

#include <chrono>

#ifdef Q_OS_UNIX
#include <pthread.h>
#include <unistd.h>
#endif

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CResultsStreamWriter", text);
}

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds SyncPeriod(1);
} // namespace

CResultsStreamWriter::CResultsStreamWriter() = default;

CResultsStreamWriter::~CResultsStreamWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Finishing = true;
        m_Queue.clear();
    }
    m_Arrived.notify_all();
    if (m_Thread.joinable())
        m_Thread.join();
}

QString CResultsStreamWriter::Error() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Error;
}

bool CResultsStreamWriter::Open(const QString& path, const QByteArray& head, QString* error)
{
    m_Path = path;
    m_Head = head;
    m_pFile = std::make_unique<QFile>(path);
    // Never over another file: a recording is only ever written into a name of its own.
    if (!m_pFile->open(QIODevice::WriteOnly | QIODevice::NewOnly) || m_pFile->write(head) != head.size() ||
        !m_pFile->flush())
    {
        if (error)
            *error = tr("cannot write %1: %2").arg(path, m_pFile->errorString());
        m_pFile.reset();
        return false;
    }
    m_Bytes = head.size();
    m_Thread = std::thread([this] { l_Run(); });
    return true;
}

bool CResultsStreamWriter::Append(const QSharedPointer<CMeasureBlock>& block)
{
    if (!block)
        return true;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_HasFailed || m_Finishing || !m_pFile)
            return false;
        const qint64 samples = block->Results.size();
        if (!m_Queue.empty() && m_QueuedSamples + samples > m_MaxQueuedSamples)
        {
            m_Queue.clear();
            m_QueuedSamples = 0;
        }
        else
        {
            m_Queue.push_back(block);
            m_QueuedSamples += samples;
            m_Arrived.notify_one();
            return true;
        }
    }
    l_Fail(tr("the disk does not keep up with the recording (%1)").arg(m_Path));
    return false;
}

bool CResultsStreamWriter::Finish(QString* error)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Finishing = true;
    }
    m_Arrived.notify_all();
    if (m_Thread.joinable())
        m_Thread.join();
    if (!m_pFile)
    {
        if (error)
            *error = Error();
        return false;
    }
    if (!m_HasFailed)
    {
        const QByteArray tail = CXMLResultsSerializer::Tail();
        if (m_pFile->write(tail) != tail.size() || !m_pFile->flush())
            l_Fail(tr("cannot write %1: %2").arg(m_Path, m_pFile->errorString()));
        else
            m_Bytes += tail.size();
    }
    l_Sync();
    m_pFile->close();
    m_pFile.reset();
    if (m_HasFailed && error)
        *error = Error();
    return !m_HasFailed;
}

void CResultsStreamWriter::l_Run()
{
#ifdef Q_OS_LINUX
    // Named, so that its share of the program's time can be told apart (top -H, /proc).
    pthread_setname_np(pthread_self(), "result-writer");
#endif
    QByteArray rows;
    Clock::time_point synced = Clock::now();
    bool unsynced = false;
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;)
    {
        m_Arrived.wait_for(lock, SyncPeriod, [this] { return !m_Queue.empty() || m_Finishing; });
        if (m_Queue.empty())
        {
            if (m_Finishing)
                return; // Finish syncs
            if (unsynced)
            {
                lock.unlock();
                l_Sync();
                lock.lock();
                synced = Clock::now();
                unsynced = false;
            }
            continue;
        }
        QSharedPointer<CMeasureBlock> block = m_Queue.front();
        m_Queue.pop_front();
        m_QueuedSamples -= block->Results.size();
        lock.unlock();
        if (!m_HasFailed && !l_Write(*block, rows))
            l_Fail(tr("cannot write %1: %2").arg(m_Path, m_pFile->errorString()));
        block.reset();
        unsynced = true;
        if (Clock::now() - synced >= SyncPeriod)
        {
            l_Sync();
            synced = Clock::now();
            unsynced = false;
        }
        lock.lock();
    }
}

bool CResultsStreamWriter::l_Write(const CMeasureBlock& block, QByteArray& rows)
{
    rows.resize(0);
    block.AppendRows(rows, ResultsFileFormat::ColumnSeparatorBytes());
    // Handed to the system at once: a killed program loses nothing written.
    if (!CXMLResultsSerializer::WriteBlock(*m_pFile, block, rows) || !m_pFile->flush())
        return false;
    m_Bytes = m_pFile->pos();
    ++m_Blocks;
    return true;
}

void CResultsStreamWriter::l_Sync()
{
#ifdef Q_OS_UNIX
    // On the disk, not only in the system's cache: a power cut loses at most the last second.
    if (m_pFile && m_pFile->isOpen())
        ::fdatasync(m_pFile->handle());
#endif
}

void CResultsStreamWriter::l_Fail(const QString& reason)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_HasFailed)
            return;
        m_HasFailed = true;
        m_Error = reason;
    }
    if (m_Failed)
        m_Failed(reason);
}
