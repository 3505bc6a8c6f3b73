#pragma once

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CMeasureBlock;
class QFile;

// A results file written while it is measured: the head at once, then each block in
// order on a thread of its own, behind a bounded queue, and the tail at Finish. Every
// block is handed to the system as soon as it is written and the file is synced to the
// disk at least once a second, so that what a crash leaves is readable up to its last
// complete block. A write that fails (a full disk) ends the writing: what was written
// stays, and the failure is reported once.
class CResultsStreamWriter
{
public:
    // Queued samples beyond which the disk is taken not to keep up (about 40 s at 100 kHz).
    static constexpr qint64 DefaultMaxQueuedSamples = 4'000'000;

    CResultsStreamWriter();
    // Stops the thread; the file is left as written so far.
    ~CResultsStreamWriter();
    CResultsStreamWriter(const CResultsStreamWriter&) = delete;
    CResultsStreamWriter& operator=(const CResultsStreamWriter&) = delete;

    // Creates the file (never over another one) and writes the head; false with the reason.
    bool Open(const QString& path, const QByteArray& head, QString* error);
    // Queues a block, which must not change any more. False once writing failed (the
    // block is not written) or when the queue is full, which fails the writing.
    bool Append(const QSharedPointer<CMeasureBlock>& block);
    // Writes what is queued and the tail, syncs and closes: the file is complete. False
    // with the reason when any write failed (the file then holds what was written).
    bool Finish(QString* error);

    // Called once, on the writer's thread, when writing fails, with the reason.
    void setFailed(std::function<void(const QString&)> handler) { m_Failed = std::move(handler); }
    void setMaxQueuedSamples(qint64 samples) { m_MaxQueuedSamples = samples; }

    QString Path() const { return m_Path; }
    QByteArray Head() const { return m_Head; }
    qint64 BytesWritten() const { return m_Bytes.load(); }
    qint64 BlocksWritten() const { return m_Blocks.load(); }
    bool HasFailed() const { return m_HasFailed.load(); }
    QString Error() const;

private:
    void l_Run();
    // On the writer's thread: writes one block; false on a failed write.
    bool l_Write(const CMeasureBlock& block, QByteArray& rows);
    void l_Sync();
    void l_Fail(const QString& reason);

    QString m_Path;
    QByteArray m_Head;
    std::unique_ptr<QFile> m_pFile;
    std::function<void(const QString&)> m_Failed;
    qint64 m_MaxQueuedSamples = DefaultMaxQueuedSamples;

    mutable std::mutex m_Mutex;
    std::condition_variable m_Arrived;
    std::deque<QSharedPointer<CMeasureBlock>> m_Queue;
    qint64 m_QueuedSamples = 0;
    bool m_Finishing = false;
    QString m_Error;
    std::thread m_Thread;

    std::atomic<qint64> m_Bytes{0};
    std::atomic<qint64> m_Blocks{0};
    std::atomic<bool> m_HasFailed{false};
};
