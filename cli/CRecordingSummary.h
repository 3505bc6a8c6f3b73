#pragma once

#include "compute/CRunningStatistics.h"
#include "model/CPosition.h"

#include <QDateTime>

#include <array>
#include <limits>
#include <vector>

class CMeasureBlock;

// What `info` and `stats` report of a recording, gathered a block at a time while the
// file is read: each block's samples can go once added, so a recording larger than
// memory passes through in bounded memory.
class CRecordingSummary
{
public:
    // B, B.B', Bx, By, Bz: the quantities the statistics are of.
    static constexpr int QuantityCount = 5;
    using Figures = std::array<CRunningStatistics, QuantityCount>;
    struct Block
    {
        Figures figures;
        bool mapped = false;
        CPosition position;
    };

    // With `perBlock`, the figures of each block are kept too.
    explicit CRecordingSummary(bool perBlock = false) : m_PerBlock(perBlock) {}

    void Add(const CMeasureBlock& block);

    quint64 BlockCount() const { return m_Blocks; }
    // The first and last sample's time (invalid without samples) and nanoseconds.
    QDateTime FirstTime() const { return m_FirstTime; }
    quint64 FirstNanoseconds() const { return m_FirstNanoseconds; }
    QDateTime LastTime() const { return m_LastTime; }
    quint64 LastNanoseconds() const { return m_LastNanoseconds; }
    bool HasSamples() const { return m_HasSamples; }
    // The rate the first block that tells one gives by its timestamps (NaN: none did).
    double TimestampRate() const { return m_TimestampRate; }
    // B.B' is there when the probe gave it: any sample with a value.
    bool HasBprime() const { return m_HasBprime; }
    const Figures& All() const { return m_All; }
    const std::vector<Block>& Blocks() const { return m_EachBlock; }

private:
    bool m_PerBlock;
    quint64 m_Blocks = 0;
    bool m_HasSamples = false;
    QDateTime m_FirstTime, m_LastTime;
    quint64 m_FirstNanoseconds = 0, m_LastNanoseconds = 0;
    double m_TimestampRate = std::numeric_limits<double>::quiet_NaN();
    bool m_HasBprime = false;
    Figures m_All;
    std::vector<Block> m_EachBlock;
};
