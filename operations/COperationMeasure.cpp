#include "operations/COperationMeasure.h"

#include "app/CConstants.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/TesvanaSetter.h"

COperationMeasure::COperationMeasure(CSettings& settings, CPluginsManager& plugins,
                                     CInstrumentSupervisor& supervisor, QObject* parent)
    : COperation(supervisor, parent), m_RecordingManager(settings),
      m_LimitsFile(OperationParameters()->LimitsParameters(), this), m_PluginsManager(plugins),
      m_Settings(settings)
{
    setName(QStringLiteral("MeterSpectrumAc"));
    connect(&m_RecordingManager, &CRecordingManagerMeasure::ReplayMeasureBlock, this,
            &COperationMeasure::OnReplayMeasure);
    connect(&m_LimitsFile, &LimitsXmlFile::FileLost, this, [this] { setLimitsFileLoaded(false); });
    connect(OperationParameters()->LimitsParameters(), &CLimitsParameters::LimitsFilePathChanged, this,
            &COperationMeasure::OnLimitsFilePathChanged);
    connect(MeasurementParameters(), &CMeasurementParameters::UnitsChanged, this,
            &COperationMeasure::l_FollowUnitInUse);
    connect(&m_RecordingManager, &CRecordingManager::IsDataLoadedChanged, this,
            &COperationMeasure::l_FollowUnitInUse);
    connect(m_RecordingManager.BaseDataSet(), &CDataset::MeasurementParametersUpdated, this,
            &COperationMeasure::l_FollowUnitInUse);
    l_FollowUnitInUse();
}

void COperationMeasure::l_FollowUnitInUse()
{
    const CMeasurementParameters* loaded = m_RecordingManager.BaseDataSet()->MeasurementParameters();
    m_LimitsFile.SetUnit(m_RecordingManager.IsDataLoaded() && loaded ? loaded->Units()
                                                                     : MeasurementParameters()->Units());
}

quint64 COperationMeasure::MaxMeasurementCount() const
{
    return m_Settings.MeasurementMaxMeasurementCount();
}

void COperationMeasure::initialize()
{
    if (!LoadParametersInDefaultFolder(CConstants::MeasureParametersSettingsFilename))
    {
        CMeasurementParameters& m = *MeasurementParameters();
        m.setApplyConfiguration(false);
        m.setAcquisitionRate(20.0);
        m.setDisplayRate(10.0);
        m.setAveraging(10);
        m.setEnableAdcUnit(false);
        m.setTriggerMode(CTrigger::TriggerMode::CONTINUOUS);
        m.setApplyConfiguration(true);
    }
}

void COperationMeasure::terminate()
{
    SaveParametersInDefaultFolder(CConstants::MeasureParametersSettingsFilename);
    l_EndAcquisitionSession();
}

void COperationMeasure::clear()
{
    m_RecordingManager.ResetForClear();
}

bool COperationMeasure::HasUnsavedData() const
{
    return m_RecordingManager.HasUnsavedData();
}

bool COperationMeasure::IsDataSetEmpty() const
{
    return m_RecordingManager.IsDataSetEmpty();
}

QList<CTriggerPlugin*> COperationMeasure::AvailableTriggerPlugins()
{
    return m_PluginsManager.GetTriggerPlugins();
}

void COperationMeasure::WriteCustomParameters(QXmlStreamWriter&) {}

void COperationMeasure::ReadCustomParameters(QDomElement&) {}

void COperationMeasure::OnNewMeasure(QSharedPointer<CMeasureBlock> block)
{
    if (!block)
        return;
    m_RecordingManager.AddMeasureBlock(block);
    emit NewMeasure(block);
}

void COperationMeasure::OnReplayMeasure(const QSharedPointer<CMeasureBlock>& block)
{
    if (block)
        emit NewMeasure(block);
}

void COperationMeasure::OnLimitsFilePathChanged()
{
    CLimitsParameters& limits = *OperationParameters()->LimitsParameters();
    const QString path = limits.LimitsFilePath();
    if (path.isEmpty())
        return;
    m_LimitsFile.ClearLimits();
    if (m_LimitsFileLoaded)
        setLimitsFileLoaded(false);
    m_LimitsFile.ReadLimits(path);
    if (m_LimitsFile.FileError())
    {
        limits.setLimitsFileName(QString());
        return;
    }
    limits.setLimitsFileName(path);
    setLimitsFileLoaded(true);
}

void COperationMeasure::clearLimitsFile()
{
    CLimitsParameters& limits = *OperationParameters()->LimitsParameters();
    limits.setLimitsFilePath(QString());
    limits.setLimitsFileName(QString());
    m_LimitsFile.ClearLimits();
    setLimitsFileLoaded(false);
}

int COperationMeasure::getLimitsCount() const
{
    return m_LimitsFile.Limits().size();
}

double COperationMeasure::getFrequency(int index) const
{
    if (index < 0 || index >= m_LimitsFile.Limits().size())
        return 0.0;
    return m_LimitsFile.Limits().at(index)->UpperFrequencyLimitValue();
}

double COperationMeasure::getExposure(int index) const
{
    if (index < 0 || index >= m_LimitsFile.Limits().size())
        return 0.0;
    return m_LimitsFile.Limits().at(index)->ExposureLimitValue();
}

double COperationMeasure::getMaxFrequency() const
{
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    return instrument ? instrument->FrequencyMaxBound()->Max() : -1.0;
}

TESVANA_SETTER(COperationMeasure, bool, LimitsFileLoaded)
