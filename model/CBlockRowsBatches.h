#pragma once

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <vector>

class CMeasureBlock;

// The row texts of many blocks (CMeasureBlock::AppendRows), made a batch at a time
// on two threads and handed out in order: the text of a million samples is most of
// what a save costs, and the machine has a second core for it.
class CBlockRowsBatches
{
public:
    // `block(i)` gives block i of `count`; the blocks must not change while rows are made.
    CBlockRowsBatches(std::function<const CMeasureBlock*(std::size_t)> block, std::size_t count,
                      QByteArray separator);

    // The rows of a data set's queue of blocks (shared pointers, in file order).
    template <typename Queue> static CBlockRowsBatches Of(const Queue& blocks, QByteArray separator)
    {
        return CBlockRowsBatches([&blocks](std::size_t i) { return blocks[i].data(); }, blocks.size(),
                                 std::move(separator));
    }

    // The rows of block `index`, asked for in increasing order.
    const QByteArray& Rows(std::size_t index);

private:
    void l_Make(std::size_t first);

    std::function<const CMeasureBlock*(std::size_t)> m_Block;
    std::size_t m_Count;
    QByteArray m_Separator;
    std::size_t m_First = 0;
    std::vector<QByteArray> m_Rows;
};
