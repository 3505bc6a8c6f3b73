#include "files/CFluxParsingThread.h"

CFluxParsingThread::CFluxParsingThread()
{
    m_Thread = std::thread([this] { l_Run(); });
}

CFluxParsingThread::~CFluxParsingThread()
{
    Finish();
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping = true;
    }
    m_Changed.notify_all();
    m_Thread.join();
}

void CFluxParsingThread::Add(CMeasureBlock* block, QString& text, Parse parse)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    const auto full = [this, &text] {
        return m_Jobs.size() >= MaxQueued ||
               (!m_Jobs.empty() && m_QueuedCharacters + text.size() > MaxQueuedCharacters);
    };
    // An earlier text of this block may still be queued or parsing: the samples of one
    // block are appended by one thread at a time, in file order, so this text queues
    // behind it (waiting for room if need be).
    const bool follows = block == m_LastQueuedBlock && m_Done.load() <= m_LastQueuedIndex;
    if (follows)
        m_Changed.wait(lock, [&] { return !full() || m_Done.load() > m_LastQueuedIndex; });
    const int index = m_Given++;
    if (full())
    {
        lock.unlock();
        const int samples = parse(block, text);
        text.resize(0);
        lock.lock();
        l_Finished(index, samples);
        return;
    }
    Job job;
    job.block = block;
    job.index = index;
    job.parse = std::move(parse);
    m_LastQueuedBlock = block;
    m_LastQueuedIndex = index;
    job.text.swap(text);
    m_QueuedCharacters += job.text.size();
    if (!m_FreeBuffers.isEmpty())
    {
        text.swap(m_FreeBuffers.last());
        m_FreeBuffers.removeLast();
    }
    m_Jobs.push_back(std::move(job));
    lock.unlock();
    m_Changed.notify_all();
}

qint64 CFluxParsingThread::Finish()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this] { return m_Done.load() == m_Given; });
    return m_Samples;
}

void CFluxParsingThread::l_Finished(int index, int samples)
{
    m_Samples += samples;
    const int done = m_Done.load();
    const size_t ahead = size_t(index - done);
    if (m_FinishedAhead.size() <= ahead)
        m_FinishedAhead.resize(ahead + 1, false);
    m_FinishedAhead[ahead] = true;
    int advance = 0;
    while (size_t(advance) < m_FinishedAhead.size() && m_FinishedAhead[size_t(advance)])
        ++advance;
    m_FinishedAhead.erase(m_FinishedAhead.begin(), m_FinishedAhead.begin() + advance);
    m_Done.store(done + advance, std::memory_order_release);
    m_Changed.notify_all();
}

void CFluxParsingThread::l_Run()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;)
    {
        m_Changed.wait(lock, [this] { return m_Stopping || !m_Jobs.empty(); });
        if (m_Jobs.empty())
            return;
        Job job = std::move(m_Jobs.front());
        m_Jobs.pop_front();
        m_QueuedCharacters -= job.text.size();
        lock.unlock();

        const int samples = job.parse(job.block, job.text);
        job.text.resize(0);
        job.parse = nullptr;

        if (job.text.capacity() > MaxQueuedCharacters)
            job.text = QString();
        lock.lock();
        m_FreeBuffers.append(std::move(job.text));
        l_Finished(job.index, samples);
    }
}
