#pragma once

#include "model/CDataset.h"
#include "model/CMeasureBlock.h"

#include <QSharedPointer>

#include <deque>

using MeasureBlockQueue = std::deque<QSharedPointer<CMeasureBlock>>;

// A recording of the measurement operation, bounded in samples by the setting
// MeasurementMaxMeasurementCount; the oldest blocks go first.
class CDataSetMeasurement : public CDataset
{
    Q_OBJECT
    Q_PROPERTY(const MeasureBlockQueue* MeasureBlocks READ MeasureBlocks CONSTANT)
public:
    explicit CDataSetMeasurement(CSettings& settings, QObject* parent = nullptr);

    const MeasureBlockQueue* MeasureBlocks() const { return &m_MeasureBlocks; }

    void AddMeasureBlock(const QSharedPointer<CMeasureBlock>& block);
    void Clear() override;
    // A block read from a results file: appended as it is, without the size bound
    // and without counting (the reader sets ResultsCount once the file is read).
    void AppendLoadedBlock(const QSharedPointer<CMeasureBlock>& block);
    // Takes back the last block read: a file cut short inside it.
    void DropLastLoadedBlock();
    // Lets go of all but the newest `keep` blocks read: a reader that only passes through.
    void DropOldestLoadedBlocks(std::size_t keep);
    // The blocks read replaced by `blocks`, the header kept: another stretch of a file.
    void ReplaceLoadedBlocks(MeasureBlockQueue blocks);

private:
    MeasureBlockQueue m_MeasureBlocks;
};

Q_DECLARE_METATYPE(const MeasureBlockQueue*)
