#pragma once

#include "model/CDataset.h"
#include "model/CMeasureBlockMapping.h"

#include <QSharedPointer>

#include <deque>

using MeasureBlockMappingQueue = std::deque<QSharedPointer<CMeasureBlockMapping>>;

// A mapping recording: one block per position, bounded by the setting
// MappingMaxMeasurementCount (in samples) divided by the block size.
class CDataSetMapping : public CDataset
{
    Q_OBJECT
    Q_PROPERTY(const MeasureBlockMappingQueue* MeasureBlocks READ MeasureBlocks CONSTANT)
public:
    explicit CDataSetMapping(CSettings& settings, QObject* parent = nullptr);

    const MeasureBlockMappingQueue* MeasureBlocks() const { return &m_MeasureBlocks; }

    void AddMeasureBlock(const QSharedPointer<CMeasureBlockMapping>& block);
    void Clear() override;
    // A block read from a results file: appended as it is, without the size bound
    // and without counting (the reader sets ResultsCount once the file is read).
    void AppendLoadedBlock(const QSharedPointer<CMeasureBlockMapping>& block);
    // Takes back the last block read: a file cut short inside it.
    void DropLastLoadedBlock();

private:
    MeasureBlockMappingQueue m_MeasureBlocks;
};

Q_DECLARE_METATYPE(const MeasureBlockMappingQueue*)
