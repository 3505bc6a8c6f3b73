#pragma once

#include "files/LimitsXmlFile.h"
#include "operations/COperation.h"
#include "operations/CRecordingManagerMeasure.h"

class CSettings;
class CPluginsManager;

// The operation behind the meter, spectrum and AC analysis pages.
class COperationMeasure : public COperation
{
    Q_OBJECT
    Q_PROPERTY(CRecordingManagerMeasure* RecordingManager READ RecordingManager CONSTANT)
    Q_PROPERTY(LimitsXmlFile* LimitsFile READ LimitsFile CONSTANT)
    Q_PROPERTY(
        bool LimitsFileLoaded READ LimitsFileLoaded WRITE setLimitsFileLoaded NOTIFY LimitsFileLoadedChanged)
public:
    COperationMeasure(CSettings& settings, CPluginsManager& plugins, CInstrumentSupervisor& supervisor,
                      QObject* parent = nullptr);

    CRecordingManagerMeasure* RecordingManager() { return &m_RecordingManager; }
    LimitsXmlFile* LimitsFile() { return &m_LimitsFile; }
    bool LimitsFileLoaded() const { return m_LimitsFileLoaded; }
    void setLimitsFileLoaded(bool value);

    quint64 MaxMeasurementCount() const override;
    void initialize() override;
    void terminate() override;
    void clear() override;
    bool HasUnsavedData() const override;
    bool IsDataSetEmpty() const override;
    QList<CTriggerPlugin*> AvailableTriggerPlugins() override;
    void WriteCustomParameters(QXmlStreamWriter& writer) override;
    void ReadCustomParameters(QDomElement& element) override;

    Q_INVOKABLE void clearLimitsFile();
    Q_INVOKABLE int getLimitsCount() const;
    Q_INVOKABLE double getFrequency(int index) const;
    Q_INVOKABLE double getMaxFrequency() const;
    Q_INVOKABLE double getExposure(int index) const;

public slots:
    void OnNewMeasure(QSharedPointer<CMeasureBlock> block) override;
    void OnReplayMeasure(const QSharedPointer<CMeasureBlock>& block);
    void OnLimitsFilePathChanged();

signals:
    void NewMeasure(QSharedPointer<CMeasureBlock> pMeasureBlock);
    void LimitsFileLoadedChanged(bool value);

private:
    // The limits are compared with the samples shown: a loaded recording's, else the instrument's.
    void l_FollowUnitInUse();

    CRecordingManagerMeasure m_RecordingManager;
    LimitsXmlFile m_LimitsFile;
    bool m_LimitsFileLoaded = false;
    CPluginsManager& m_PluginsManager;
    CSettings& m_Settings;
};
