#pragma once

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <vector>

class CMeasureBlock;
class CSettings;

// Where each block of a measurement results file (XML) lies, so that a recording larger
// than memory is opened without being loaded: one pass reads every block once, notes its
// bytes, its samples and its times, and keeps an overview (smallest and largest value of
// each quantity over stretches of blocks); afterwards any run of blocks is read on demand.
// A file that ends early (one still being written) is indexed up to its last whole block.
class CResultsFileIndex
{
public:
    // The quantities of the overview: B, B.B', Bx, By, Bz, dB.
    static constexpr int QuantityCount = 6;
    using Quantities = std::array<float, QuantityCount>;

    struct Block
    {
        qint64 Offset = 0;      // of its "<measurements" in the file
        qint64 Length = 0;      // up to the end of its closing tag
        qint64 FirstSample = 0; // samples in the blocks before it
        int Samples = 0;
        double FirstTime = 0; // seconds since the epoch (NaN without samples)
        double LastTime = 0;
    };

    // Extremes over consecutive blocks; at most OverviewColumns of them whatever the file's
    // size (neighbours are merged as the file goes on).
    struct Column
    {
        int FirstBlock = 0;
        int Blocks = 0;
        double FirstTime = 0;
        double LastTime = 0;
        Quantities Min;
        Quantities Max;
    };
    static constexpr int OverviewColumns = 4096;

    // Indexes `path`. `progress` is called now and then with the bytes read and the file's
    // size; `cancel`, when set, ends the pass (false, "cancelled" in `error`). False with a
    // message in `error` when the file cannot be read as a measurement results file.
    bool Build(const QString& path, CSettings& settings, const std::function<void(qint64, qint64)>& progress,
               const std::atomic<bool>* cancel, QString* error);

    QString Path() const { return m_Path; }
    // Everything before the first block up to its last element: the header, the parameters.
    QByteArray Head() const { return m_Head; }
    // Empty, or what a file that ended early lost (its whole blocks are indexed).
    QString CutShortNotice() const { return m_CutShortNotice; }
    qint64 FileSize() const { return m_FileSize; }

    int BlockCount() const { return int(m_Blocks.size()); }
    const Block& BlockAt(int index) const { return m_Blocks[std::size_t(index)]; }
    qint64 SampleCount() const { return m_Samples; }
    const std::vector<Column>& Overview() const { return m_Overview; }
    // The first block whose samples end at or after `seconds` (the last block when none).
    int BlockAtTime(double seconds) const;

    // Blocks `first` … `first + count - 1` read from the file, in order. False with a
    // message when the file no longer holds them where it did (changed since it was indexed).
    bool Read(int first, int count, std::vector<QSharedPointer<CMeasureBlock>>* blocks, CSettings& settings,
              QString* error) const;

private:
    void l_AddToOverview(int block, const Block& entry, const Quantities& min, const Quantities& max);

    QString m_Path;
    QByteArray m_Head;
    QString m_CutShortNotice;
    qint64 m_FileSize = 0;
    std::vector<Block> m_Blocks;
    qint64 m_Samples = 0;
    std::vector<Column> m_Overview;
    int m_BlocksPerColumn = 1;
};
