#pragma once

#include "operations/COperation.h"
#include "operations/CRecordingManagerMapping.h"

class CSettings;
class CPluginsManager;
class CMapperPlugin;

// Measures the field at a sequence of probe positions, one block per position.
class COperationMapping : public COperation
{
    Q_OBJECT
    Q_PROPERTY(CRecordingManagerMapping* RecordingManager READ RecordingManager CONSTANT)
    Q_PROPERTY(CMappingParameters* MappingParameters READ MappingParameters CONSTANT)
public:
    COperationMapping(CSettings& settings, CPluginsManager& plugins, CInstrumentSupervisor& supervisor,
                      QObject* parent = nullptr);

    CRecordingManagerMapping* RecordingManager() { return &m_RecordingManager; }
    CMappingParameters* MappingParameters() { return OperationParameters()->MappingParameters(); }

    quint64 MaxMeasurementCount() const override;
    void initialize() override;
    void terminate() override;
    void start() override;
    void stop() override;
    void clear() override;
    bool HasUnsavedData() const override;
    bool IsDataSetEmpty() const override;
    QList<CTriggerPlugin*> AvailableTriggerPlugins() override;
    QList<CMapperPlugin*> AvailableMapperPlugins();
    void WriteCustomParameters(QXmlStreamWriter& writer) override;
    void ReadCustomParameters(QDomElement& element) override;

public slots:
    void OnNewMeasure(QSharedPointer<CMeasureBlock> block) override;
    void OnReplayMeasure(const QSharedPointer<CMeasureBlockMapping>& block);
    void OnAcquire();
    void OnMapperFailed(const QString& reason);

signals:
    void NewMeasure(QSharedPointer<CMeasureBlockMapping> pMeasureBlock);
    // The run stopped because the mapper failed; the points measured are kept.
    void MapperFailed(QString reason);

private:
    void ReadCartesianParameters(const QDomElement& element);
    void l_MoveToNext(CMapperPlugin* mapper, bool firstPoint);

    CRecordingManagerMapping m_RecordingManager;
    CSettings& m_Settings;
    CPluginsManager& m_PluginsManager;
};
