#include "files/CResultsFileIndex.h"

#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasureBlock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
const QByteArray OpenTag = QByteArrayLiteral("<measurements");
const QByteArray CloseTag = QByteArrayLiteral("</measurements>");

QString tr(const char* text)
{
    return QCoreApplication::translate("CResultsFileIndex", text);
}

// The file as the XML reader reads it, noting where each block's element opens and
// closes as the bytes go by: one pass both parses the blocks and places them.
class ScanningDevice : public QIODevice
{
public:
    ScanningDevice(QFile& file, const std::function<void(qint64, qint64)>& progress,
                   const std::atomic<bool>* cancel)
        : m_File(file), m_Progress(progress), m_pCancel(cancel)
    {
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_File.size(); }

    std::vector<qint64> Opens;
    std::vector<qint64> Closes;
    bool Cancelled = false;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_pCancel && m_pCancel->load(std::memory_order_relaxed))
        {
            Cancelled = true;
            return -1;
        }
        const qint64 read = m_File.read(data, maxSize);
        if (read <= 0)
            return read;
        // A tag may straddle two reads: the tail of the last one is searched again.
        const int carried = m_Carry.size();
        m_Carry.append(data, int(read));
        const qint64 base = m_Offset - carried;
        for (int at = m_Carry.indexOf('<'); at >= 0; at = m_Carry.indexOf('<', at + 1))
        {
            if (m_Carry.size() - at < CloseTag.size())
            {
                // Too near the end to tell: decided with the next read.
                m_Carry.remove(0, at);
                m_Offset += read;
                l_Report();
                return read;
            }
            const char* p = m_Carry.constData() + at;
            if (qstrncmp(p, OpenTag.constData(), uint(OpenTag.size())) == 0 &&
                (p[OpenTag.size()] == ' ' || p[OpenTag.size()] == '>'))
                Opens.push_back(base + at);
            else if (qstrncmp(p, CloseTag.constData(), uint(CloseTag.size())) == 0)
                Closes.push_back(base + at + CloseTag.size());
        }
        m_Carry.clear();
        m_Offset += read;
        l_Report();
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void l_Report()
    {
        if (m_Progress && m_Offset - m_Reported >= (8 << 20))
        {
            m_Reported = m_Offset;
            m_Progress(m_Offset, m_File.size());
        }
    }

    QFile& m_File;
    const std::function<void(qint64, qint64)>& m_Progress;
    const std::atomic<bool>* m_pCancel;
    QByteArray m_Carry;
    qint64 m_Offset = 0;
    qint64 m_Reported = 0;
};

constexpr float FloatMax = std::numeric_limits<float>::max();
} // namespace

bool CResultsFileIndex::Build(const QString& path, CSettings& settings,
                              const std::function<void(qint64, qint64)>& progress,
                              const std::atomic<bool>* cancel, QString* error)
{
    m_Path = path;
    m_Head.clear();
    m_CutShortNotice.clear();
    m_Blocks.clear();
    m_Overview.clear();
    m_BlocksPerColumn = 1;
    m_Samples = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        *error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    m_FileSize = file.size();
    ScanningDevice device(file, progress, cancel);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);

    // Every block is read once: its samples summarised, then let go.
    CDataSetMeasurement dataSet(settings);
    CXMLResultsSerializer reader;
    reader.setBlockRead([&](const QSharedPointer<CMeasureBlock>& block) {
        Block entry;
        entry.FirstSample = m_Samples;
        entry.Samples = block->Results.size();
        entry.FirstTime = entry.LastTime = std::numeric_limits<double>::quiet_NaN();
        Quantities min, max;
        min.fill(FloatMax);
        max.fill(-FloatMax);
        if (!block->Results.isEmpty())
        {
            entry.FirstTime = block->Results.front()->Seconds();
            entry.LastTime = block->Results.back()->Seconds();
        }
        for (const auto& sample : qAsConst(block->Results))
        {
            const Quantities values{sample->B(),  sample->BBprime(), sample->Bx(),
                                    sample->By(), sample->Bz(),      sample->dB()};
            for (std::size_t q = 0; q < values.size(); ++q)
            {
                // NaN fails both comparisons: a missing value widens nothing.
                if (values[q] < min[q])
                    min[q] = values[q];
                if (values[q] > max[q])
                    max[q] = values[q];
            }
        }
        m_Samples += entry.Samples;
        l_AddToOverview(int(m_Blocks.size()), entry, min, max);
        m_Blocks.push_back(entry);
        block->Results = {};
        dataSet.DropOldestLoadedBlocks(1);
    });
    const bool read = reader.Deserialize(&device, &dataSet);
    if (progress)
        progress(device.pos(), m_FileSize);
    if (device.Cancelled)
    {
        *error = tr("cancelled");
        return false;
    }
    if (!read)
    {
        *error = reader.LastErrorMessage();
        return false;
    }
    // Each block read whole was seen opening and closing, in the same order.
    const std::size_t blocks = m_Blocks.size();
    bool placed = device.Opens.size() >= blocks && device.Closes.size() >= blocks;
    for (std::size_t i = 0; placed && i < blocks; ++i)
    {
        placed = device.Opens[i] < device.Closes[i] && (i == 0 || device.Closes[i - 1] <= device.Opens[i]);
        m_Blocks[i].Offset = device.Opens[i];
        m_Blocks[i].Length = device.Closes[i] - device.Opens[i];
    }
    if (!placed)
    {
        *error = tr("The blocks of %1 could not be located in the file").arg(path);
        m_Blocks.clear();
        return false;
    }
    m_CutShortNotice = reader.CutShortNotice();
    if (!file.seek(0))
        return false;
    m_Head = file.read(blocks ? m_Blocks.front().Offset : 0);
    // Up to the end of its last element, as a recording's head is written: the white space
    // before the first block belongs to the blocks.
    while (!m_Head.isEmpty() && QChar::isSpace(uchar(m_Head.back())))
        m_Head.chop(1);
    return true;
}

void CResultsFileIndex::l_AddToOverview(int block, const Block& entry, const Quantities& min,
                                        const Quantities& max)
{
    if (m_Overview.empty() || m_Overview.back().Blocks >= m_BlocksPerColumn)
    {
        if (int(m_Overview.size()) == OverviewColumns)
        {
            // Full: neighbours merge, and every column now covers twice the blocks.
            for (std::size_t i = 0; i < m_Overview.size() / 2; ++i)
            {
                Column merged = m_Overview[2 * i];
                const Column& next = m_Overview[2 * i + 1];
                merged.Blocks += next.Blocks;
                if (std::isnan(merged.FirstTime))
                    merged.FirstTime = next.FirstTime;
                if (!std::isnan(next.LastTime))
                    merged.LastTime = next.LastTime;
                for (std::size_t q = 0; q < std::size_t(QuantityCount); ++q)
                {
                    merged.Min[q] = std::min(merged.Min[q], next.Min[q]);
                    merged.Max[q] = std::max(merged.Max[q], next.Max[q]);
                }
                m_Overview[i] = merged;
            }
            m_Overview.resize(m_Overview.size() / 2);
            m_BlocksPerColumn *= 2;
        }
        if (m_Overview.empty() || m_Overview.back().Blocks >= m_BlocksPerColumn)
        {
            Column column;
            column.FirstBlock = block;
            column.FirstTime = entry.FirstTime;
            column.LastTime = entry.LastTime;
            column.Min = min;
            column.Max = max;
            column.Blocks = 1;
            m_Overview.push_back(column);
            return;
        }
    }
    Column& column = m_Overview.back();
    ++column.Blocks;
    if (std::isnan(column.FirstTime))
        column.FirstTime = entry.FirstTime;
    if (!std::isnan(entry.LastTime))
        column.LastTime = entry.LastTime;
    for (std::size_t q = 0; q < std::size_t(QuantityCount); ++q)
    {
        column.Min[q] = std::min(column.Min[q], min[q]);
        column.Max[q] = std::max(column.Max[q], max[q]);
    }
}

int CResultsFileIndex::BlockAtTime(double seconds) const
{
    const auto at = std::partition_point(m_Blocks.begin(), m_Blocks.end(), [seconds](const Block& block) {
        return !(block.LastTime >= seconds);
    });
    return at == m_Blocks.end() ? std::max(0, BlockCount() - 1) : int(at - m_Blocks.begin());
}

bool CResultsFileIndex::Read(int first, int count, std::vector<QSharedPointer<CMeasureBlock>>* blocks,
                             CSettings& settings, QString* error) const
{
    blocks->clear();
    if (first < 0 || count < 1 || first + count > BlockCount())
    {
        *error = tr("No blocks %1 to %2 in %3").arg(first).arg(first + count - 1).arg(m_Path);
        return false;
    }
    const qint64 from = BlockAt(first).Offset;
    const qint64 to = BlockAt(first + count - 1).Offset + BlockAt(first + count - 1).Length;
    QFile file(m_Path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly) && file.seek(from))
        text = file.read(to - from);
    const QString changed = tr("%1 changed since it was opened: block %2 is no longer where it was. "
                               "Open the file again.")
                                .arg(m_Path)
                                .arg(first);
    if (text.size() != to - from || !text.startsWith(OpenTag) || !text.endsWith(CloseTag))
    {
        *error = changed;
        return false;
    }
    // The run of blocks between the file's own head and the closing tags is a results
    // file of its own, read as any other.
    QByteArray whole = m_Head + text + CXMLResultsSerializer::Tail();
    text.clear();
    QBuffer buffer(&whole);
    buffer.open(QIODevice::ReadOnly);
    CDataSetMeasurement dataSet(settings);
    CXMLResultsSerializer reader;
    if (!reader.Deserialize(&buffer, &dataSet) || int(dataSet.MeasureBlocks()->size()) != count ||
        !reader.CutShortNotice().isEmpty())
    {
        *error = changed;
        return false;
    }
    blocks->assign(dataSet.MeasureBlocks()->begin(), dataSet.MeasureBlocks()->end());
    return true;
}
