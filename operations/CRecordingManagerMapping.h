#pragma once

#include "model/CDataSetMapping.h"
#include "operations/CRecordingManagerOf.h"

// Recorder of the mapping operation: one block per position.
class CRecordingManagerMapping : public CRecordingManagerOf<CDataSetMapping>
{
    Q_OBJECT
    Q_PROPERTY(CDataSetMapping* DataSet READ DataSet CONSTANT)
public:
    explicit CRecordingManagerMapping(CSettings& settings, QObject* parent = nullptr);

public slots:
    void PlayNextStep() override;
    virtual void AddMeasureBlock(const QSharedPointer<CMeasureBlockMapping>& block);
    void OnDataSetCleared();
    void OnBodyCommentChanged();

signals:
    void ReplayMeasureBlock(QSharedPointer<CMeasureBlockMapping> pMeasureBlock);
};
