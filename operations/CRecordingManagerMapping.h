#pragma once

#include "model/CDataSetMapping.h"
#include "operations/CRecordingManager.h"

// Recorder of the mapping operation: one block per position.
class CRecordingManagerMapping : public CRecordingManager
{
    Q_OBJECT
    Q_PROPERTY(CDataSetMapping* DataSet READ DataSet CONSTANT)
public:
    explicit CRecordingManagerMapping(CSettings& settings, QObject* parent = nullptr);

    CDataSetMapping* DataSet() { return &m_DataSet; }
    CDataset* BaseDataSet() override { return &m_DataSet; }

public slots:
    void PlayNextStep() override;
    virtual void AddMeasureBlock(QSharedPointer<CMeasureBlockMapping> block);
    void OnDataSetCleared();
    void OnBodyCommentChanged();

signals:
    void ReplayMeasureBlock(QSharedPointer<CMeasureBlockMapping> pMeasureBlock);

protected:
    bool l_SerializeXml(QIODevice* device) override;
    bool l_SerializeCsv(QIODevice* device) override;
    bool l_Deserialize(QIODevice* device) override;
    int l_BlockCount() const override;
    const CMeasureBlock* l_BlockAt(int index) const override;

private:
    CDataSetMapping m_DataSet;
};
