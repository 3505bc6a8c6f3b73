#pragma once

#include "model/CFluxList.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"

#include <QObject>
#include <QString>

class CTriggerPlugin;
// The chosen trigger plug-in is a parameter of the measurement, but the plug-ins
// live above the model: the model only carries the pointer.
Q_DECLARE_OPAQUE_POINTER(CTriggerPlugin*)

// What the instrument acquires with. Acquisition rate, display rate, block
// size, maximum frequency and number of bins are coupled: each handler below
// runs inside the setter that changed its quantity.
class CMeasurementParameters : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Averaging READ Averaging WRITE setAveraging NOTIFY AveragingChanged)
    Q_PROPERTY(
        double AcquisitionRate READ AcquisitionRate WRITE setAcquisitionRate NOTIFY AcquisitionRateChanged)
    Q_PROPERTY(double ImmediateAcquisitionRate READ ImmediateAcquisitionRate WRITE setImmediateAcquisitionRate
                   NOTIFY ImmediateAcquisitionRateChanged)
    Q_PROPERTY(int BlockSize READ BlockSize WRITE setBlockSize NOTIFY BlockSizeChanged)
    Q_PROPERTY(double DisplayRate READ DisplayRate WRITE setDisplayRate NOTIFY DisplayRateChanged)
    Q_PROPERTY(double FrequencyMin READ FrequencyMin WRITE setFrequencyMin NOTIFY FrequencyMinChanged)
    Q_PROPERTY(double FrequencyMax READ FrequencyMax WRITE setFrequencyMax NOTIFY FrequencyMaxChanged)
    Q_PROPERTY(double NumberOfBins READ NumberOfBins WRITE setNumberOfBins NOTIFY NumberOfBinsChanged)
    Q_PROPERTY(CUnits::UnitType Units READ Units WRITE setUnits NOTIFY UnitsChanged)
    Q_PROPERTY(
        CUnits::UnitType DisplayUnits READ DisplayUnits WRITE setDisplayUnits NOTIFY DisplayUnitsChanged)
    Q_PROPERTY(QList<CUnits::UnitType> UncertaintyUnitList READ UncertaintyUnitList WRITE
                   setUncertaintyUnitList NOTIFY UncertaintyUnitListChanged)
    Q_PROPERTY(CUnits::UnitType UncertaintyUnits READ UncertaintyUnits WRITE setUncertaintyUnits NOTIFY
                   UncertaintyUnitsChanged)
    Q_PROPERTY(bool EnableAdcUnit READ EnableAdcUnit WRITE setEnableAdcUnit NOTIFY EnableAdcUnitChanged)
    Q_PROPERTY(bool AutoRange READ AutoRange WRITE setAutoRange NOTIFY AutoRangeChanged)
    Q_PROPERTY(float Range READ Range WRITE setRange NOTIFY RangeChanged)
    Q_PROPERTY(
        CTrigger::TriggerMode TriggerMode READ TriggerMode WRITE setTriggerMode NOTIFY TriggerModeChanged)
    Q_PROPERTY(
        CTriggerPlugin* TriggerPlugin READ TriggerPlugin WRITE setTriggerPlugin NOTIFY TriggerPluginChanged)
    Q_PROPERTY(bool ApplyConfiguration READ ApplyConfiguration WRITE setApplyConfiguration NOTIFY
                   ApplyConfigurationChanged)

public:
    explicit CMeasurementParameters(QObject* parent = nullptr);

    int Averaging() const { return m_Averaging; }
    double AcquisitionRate() const { return m_AcquisitionRate; }
    double ImmediateAcquisitionRate() const { return m_ImmediateAcquisitionRate; }
    int BlockSize() const { return m_BlockSize; }
    double DisplayRate() const { return m_DisplayRate; }
    double FrequencyMin() const { return m_FrequencyMin; }
    double FrequencyMax() const { return m_FrequencyMax; }
    double NumberOfBins() const { return m_NumberOfBins; }
    CUnits::UnitType Units() const { return m_Units; }
    CUnits::UnitType DisplayUnits() const { return m_DisplayUnits; }
    QList<CUnits::UnitType> UncertaintyUnitList() const { return m_UncertaintyUnitList; }
    CUnits::UnitType UncertaintyUnits() const { return m_UncertaintyUnits; }
    bool EnableAdcUnit() const { return m_EnableAdcUnit; }
    bool AutoRange() const { return m_AutoRange; }
    tFlux Range() const { return m_Range; }
    CTrigger::TriggerMode TriggerMode() const { return m_TriggerMode; }
    CTriggerPlugin* TriggerPlugin() const { return m_TriggerPlugin; }
    bool ApplyConfiguration() const { return m_ApplyConfiguration; }

    // Spectral resolution: AcquisitionRate / BlockSize, 0 for an empty block.
    Q_INVOKABLE double DeltaFrequency() const;
    QString ToString(const QString& separator) const;

public slots:
    void setAveraging(int value);
    void setAcquisitionRate(double value);
    void setImmediateAcquisitionRate(double value);
    void setBlockSize(int value);
    void setDisplayRate(double value);
    void setFrequencyMin(double value);
    void setFrequencyMax(double value);
    void setNumberOfBins(double value);
    void setUnits(CUnits::UnitType value);
    void setDisplayUnits(CUnits::UnitType value);
    void setUncertaintyUnitList(const QList<CUnits::UnitType>& value);
    void setUncertaintyUnits(CUnits::UnitType value);
    void setEnableAdcUnit(bool value);
    void setAutoRange(bool value);
    void setRange(float value);
    void setTriggerMode(CTrigger::TriggerMode value);
    void setTriggerPlugin(CTriggerPlugin* value);
    void setApplyConfiguration(bool value);

    void OnAcquisitionRateChanged();
    void OnDisplayRateChanged();
    void OnFrequencyMaxChanged();
    void OnFrequencyMinChanged();
    void OnBlockSizeChanged();
    void OnNumberOfBinsChanged();
    void OnImmediateAcquisitionRateChanged();
    void OnTriggerModeChanged();

signals:
    void AveragingChanged(int value);
    void AcquisitionRateChanged(double value);
    void ImmediateAcquisitionRateChanged(double value);
    void BlockSizeChanged(int value);
    void DisplayRateChanged(double value);
    void FrequencyMinChanged(double value);
    void FrequencyMaxChanged(double value);
    void NumberOfBinsChanged(double value);
    void UnitsChanged(CUnits::UnitType value);
    void DisplayUnitsChanged(CUnits::UnitType value);
    void UncertaintyUnitListChanged(QList<CUnits::UnitType> value);
    void UncertaintyUnitsChanged(CUnits::UnitType value);
    void EnableAdcUnitChanged(bool value);
    void AutoRangeChanged(bool value);
    void RangeChanged(float value);
    void TriggerModeChanged(CTrigger::TriggerMode value);
    void TriggerPluginChanged(CTriggerPlugin* value);
    void ApplyConfigurationChanged(bool value);

private:
    // Lowers ApplyConfiguration around `rules` (only the outermost handler of a
    // cascade sees it true) and marks the handler as in progress.
    template <typename Rules> void l_RunHandler(bool& inProgress, Rules rules);
    bool l_ImmediateOrExternal() const;
    static int l_TruncateToInt(double value);

    int m_Averaging = 1;
    double m_AcquisitionRate = 0;
    double m_ImmediateAcquisitionRate = 0;
    int m_BlockSize = 1;
    double m_DisplayRate = 1.0;
    double m_FrequencyMin = 0;
    double m_FrequencyMax = 0;
    double m_NumberOfBins = 0;
    CUnits::UnitType m_Units = CUnits::UnitType::UNKNOWN;
    CUnits::UnitType m_DisplayUnits = CUnits::UnitType::UNKNOWN;
    QList<CUnits::UnitType> m_UncertaintyUnitList;
    CUnits::UnitType m_UncertaintyUnits = CUnits::UnitType::UNKNOWN;
    bool m_EnableAdcUnit = false;
    bool m_AutoRange = false;
    tFlux m_Range = 0;
    CTrigger::TriggerMode m_TriggerMode = CTrigger::TriggerMode::IMMEDIATE;
    CTriggerPlugin* m_TriggerPlugin = nullptr;
    bool m_ApplyConfiguration = true;

    bool m_InAcquisitionRate = false;
    bool m_InBlockSize = false;
    bool m_InNumberOfBins = false;
    bool m_InDisplayRate = false;
    bool m_InFrequencyMax = false;
    bool m_InFrequencyMin = false;
    bool m_InImmediateAcquisitionRate = false;
};
