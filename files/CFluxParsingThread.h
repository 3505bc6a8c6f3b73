#pragma once

#include <QString>
#include <QVector>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CMeasureBlock;

// Parses the flux text of blocks on a second thread, in the order given, while the
// caller reads on through the file: the XML tokenizer and the making of samples
// then share the time of a load. Texts are handed over by swapping buffers, and the
// buffers come back for the next blocks (fresh buffers of this size cost more in
// page faults than the parsing).
class CFluxParsingThread
{
public:
    // Makes a block's samples from its text and returns how many it made. Given with
    // each text: the columns a text is split into may change between texts.
    using Parse = std::function<int(CMeasureBlock*, const QString&)>;

    CFluxParsingThread();
    // Waits for the blocks given.
    ~CFluxParsingThread();
    CFluxParsingThread(const CFluxParsingThread&) = delete;
    CFluxParsingThread& operator=(const CFluxParsingThread&) = delete;

    // Takes the text of `block` (leaving `text` an empty buffer to fill again).
    // While a few blocks are already queued the caller parses this one itself:
    // memory stays bounded and both cores work. A block may come in several texts:
    // they are parsed one after the other, in the order given, never at once.
    void Add(CMeasureBlock* block, QString& text, Parse parse);
    // How many of the blocks given are done, in order.
    int Done() const { return m_Done.load(std::memory_order_acquire); }
    // Waits until every block given is done; the samples made by all of them.
    qint64 Finish();

private:
    struct Job
    {
        CMeasureBlock* block = nullptr;
        QString text;
        Parse parse;
        int index = 0;
    };
    void l_Run();
    // Under the lock: block `index` is done; counts the blocks done in order.
    void l_Finished(int index, int samples);

    static constexpr size_t MaxQueued = 3;
    // Texts waiting, at most (characters; a block bigger than that still queues alone),
    // and the largest buffer kept for reuse: the memory a load takes beyond its data.
    static constexpr qint64 MaxQueuedCharacters = 8 * 1024 * 1024;

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::deque<Job> m_Jobs;
    QVector<QString> m_FreeBuffers;
    bool m_Stopping = false;
    int m_Given = 0;
    qint64 m_QueuedCharacters = 0;
    // Blocks done, by index, past those counted in m_Done.
    std::vector<bool> m_FinishedAhead;
    std::atomic<int> m_Done{0};
    // The block of the last text queued, and that text's index: a later text of the
    // same block waits for it rather than being parsed beside it.
    CMeasureBlock* m_LastQueuedBlock = nullptr;
    int m_LastQueuedIndex = -1;
    qint64 m_Samples = 0;
    std::thread m_Thread;
};
