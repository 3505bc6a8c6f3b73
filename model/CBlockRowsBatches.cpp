#include "model/CBlockRowsBatches.h"

#include "model/CMeasureBlock.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace
{
// Enough rows per batch that starting a thread costs nothing beside them, few enough
// that the batch's text stays a few megabytes.
constexpr std::size_t RowsPerBatch = 32768;
constexpr std::size_t MaxBlocksPerBatch = 4096;
} // namespace

CBlockRowsBatches::CBlockRowsBatches(std::function<const CMeasureBlock*(std::size_t)> block,
                                     std::size_t count, QByteArray separator)
    : m_Block(std::move(block)), m_Count(count), m_Separator(std::move(separator))
{
}

const QByteArray& CBlockRowsBatches::Rows(std::size_t index)
{
    if (m_Rows.empty() || index < m_First || index >= m_First + m_Rows.size())
        l_Make(index);
    return m_Rows[index - m_First];
}

void CBlockRowsBatches::l_Make(std::size_t first)
{
    std::size_t rows = 0;
    std::size_t last = first;
    while (last < m_Count && last - first < MaxBlocksPerBatch && rows < RowsPerBatch)
        rows += std::size_t(m_Block(last++)->Results.size());
    m_First = first;
    m_Rows.resize(last - first);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < m_Rows.size(); i = next++)
        {
            m_Rows[i].clear();
            m_Block(first + i)->AppendRows(m_Rows[i], m_Separator);
        }
    };
    if (m_Rows.size() < 2 || rows < 4096)
    {
        work();
        return;
    }
    std::thread helper(work);
    work();
    helper.join();
}
