#pragma once

#include "model/CTrigger.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

#include <functional>

class COperation;
class CInstrument;
class CMeasurementParameters;
class CBoundedParm;

// The "Measurement" box of the operation pages: what the instrument offers
// (units, ranges, trigger modes) and the loaded trigger plug-ins as lists for
// combo boxes, their selections kept in step with the operation's measurement
// parameters both ways, which rate inputs the trigger mode shows, and the
// numeric inputs checked against the instrument's bounds.
class CMeasurementParametersViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList UnitsList READ UnitsList NOTIFY UnitsListChanged)
    Q_PROPERTY(QStringList UncertaintyUnitsList READ UncertaintyUnitsList NOTIFY UncertaintyUnitsListChanged)
    Q_PROPERTY(bool HasAdc READ HasAdc NOTIFY HasAdcChanged)
    Q_PROPERTY(int SelectedUnitIndex READ SelectedUnitIndex WRITE setSelectedUnitIndex NOTIFY
                   SelectedUnitIndexChanged)
    Q_PROPERTY(int PreviousUnitIndex READ PreviousUnitIndex NOTIFY PreviousUnitIndexChanged)
    Q_PROPERTY(int SelectedUncertaintyUnitIndex READ SelectedUncertaintyUnitIndex WRITE
                   setSelectedUncertaintyUnitIndex NOTIFY SelectedUncertaintyUnitIndexChanged)
    Q_PROPERTY(QVariantList Ranges READ Ranges NOTIFY RangesChanged)
    Q_PROPERTY(int SelectedRangeIndex READ SelectedRangeIndex WRITE setSelectedRangeIndex NOTIFY
                   SelectedRangeIndexChanged)
    Q_PROPERTY(QStringList Triggers READ Triggers NOTIFY TriggersChanged)
    Q_PROPERTY(int SelectedTriggerIndex READ SelectedTriggerIndex WRITE setSelectedTriggerIndex NOTIFY
                   SelectedTriggerIndexChanged)
    Q_PROPERTY(QStringList TriggerPlugins READ TriggerPlugins NOTIFY TriggerPluginsChanged)
    Q_PROPERTY(int SelectedTriggerPluginIndex READ SelectedTriggerPluginIndex WRITE
                   setSelectedTriggerPluginIndex NOTIFY SelectedTriggerPluginIndexChanged)
    Q_PROPERTY(bool TriggerPluginVisible READ TriggerPluginVisible NOTIFY TriggerPluginVisibleChanged)
    Q_PROPERTY(bool IsDisplayEnable READ IsDisplayEnable NOTIFY IsDisplayEnableChanged)
    Q_PROPERTY(bool IsDisplayRateVisible READ IsDisplayRateVisible NOTIFY IsDisplayRateVisibleChanged)
    Q_PROPERTY(
        bool IsAcquisitionRateEnable READ IsAcquisitionRateEnable NOTIFY IsAcquisitionRateEnableChanged)
    Q_PROPERTY(
        bool IsAcquisitionRateVisible READ IsAcquisitionRateVisible NOTIFY IsAcquisitionRateVisibleChanged)
    Q_PROPERTY(bool IsImmediateAcquisitionRateVisible READ IsImmediateAcquisitionRateVisible NOTIFY
                   IsImmediateAcquisitionRateVisibleChanged)
    // The numeric inputs as the panel shows them, and why the last entry was refused.
    Q_PROPERTY(CMeasurementParameters* Parameters READ Parameters CONSTANT)
    // The pages' defaults, applied by their "Default" button (setDefaultParameters).
    Q_PROPERTY(double FrequencyMinSpectrumDefaultValue MEMBER FrequencyMinSpectrumDefault CONSTANT)
    Q_PROPERTY(double FrequencyMaxSpectrumDefaultValue MEMBER FrequencyMaxSpectrumDefault CONSTANT)
    Q_PROPERTY(double DisplayRateSpectrumDefaultValue MEMBER DisplayRateSpectrumDefault CONSTANT)
    Q_PROPERTY(quint16 AveragingSpectrumDefaultValue MEMBER AveragingSpectrumDefault CONSTANT)
    Q_PROPERTY(double AcquisitionRateAcAnalysisDefaultValue MEMBER AcquisitionRateAcAnalysisDefault CONSTANT)
    Q_PROPERTY(double DisplayRateAcAnalysisDefaultValue MEMBER DisplayRateAcAnalysisDefault CONSTANT)
    Q_PROPERTY(quint16 AveragingAcAnalysisDefaultValue MEMBER AveragingAcAnalysisDefault CONSTANT)
    Q_PROPERTY(double AcquisitionRateMappingDefaultValue MEMBER AcquisitionRateMappingDefault CONSTANT)
    Q_PROPERTY(double DisplayRateMappingDefaultValue MEMBER DisplayRateMappingDefault CONSTANT)
    Q_PROPERTY(quint16 AveragingMappingDefaultValue MEMBER AveragingMappingDefault CONSTANT)
    // The spectrum's frequency window is entered here on the spectrum page.
    Q_PROPERTY(
        bool IsFrequencyRangeVisible READ IsFrequencyRangeVisible NOTIFY IsFrequencyRangeVisibleChanged)
    Q_PROPERTY(QString InputError READ InputError NOTIFY InputErrorChanged)
public:
    CMeasurementParametersViewModel(COperation* operation, bool mapping, QObject* parent = nullptr);

    QStringList UnitsList() const { return m_UnitsList; }
    QStringList UncertaintyUnitsList() const { return m_UncertaintyUnitsList; }
    bool HasAdc() const { return m_HasAdc; }
    int SelectedUnitIndex() const { return m_SelectedUnitIndex; }
    int PreviousUnitIndex() const { return m_PreviousUnitIndex; }
    int SelectedUncertaintyUnitIndex() const { return m_SelectedUncertaintyUnitIndex; }
    QVariantList Ranges() const { return m_Ranges; }
    int SelectedRangeIndex() const { return m_SelectedRangeIndex; }
    QStringList Triggers() const { return m_Triggers; }
    int SelectedTriggerIndex() const { return m_SelectedTriggerIndex; }
    QStringList TriggerPlugins() const { return m_TriggerPlugins; }
    int SelectedTriggerPluginIndex() const { return m_SelectedTriggerPluginIndex; }
    bool TriggerPluginVisible() const { return m_TriggerPluginVisible; }
    bool IsDisplayEnable() const { return m_IsDisplayEnable; }
    bool IsDisplayRateVisible() const { return m_IsDisplayRateVisible; }
    bool IsAcquisitionRateEnable() const { return m_IsAcquisitionRateEnable; }
    bool IsAcquisitionRateVisible() const { return m_IsAcquisitionRateVisible; }
    bool IsImmediateAcquisitionRateVisible() const { return m_IsImmediateAcquisitionRateVisible; }
    CMeasurementParameters* Parameters() const { return m_pParameters; }
    QString InputError() const { return m_InputError; }

    void setSelectedUnitIndex(int value);
    void setSelectedUncertaintyUnitIndex(int value);
    void setSelectedRangeIndex(int value);
    void setSelectedTriggerIndex(int value);
    void setSelectedTriggerPluginIndex(int value);
    void setIsImmediateAcquisitionRateVisible(bool value);

    static CTrigger::TriggerMode StringToTriggerMode(const QString& name);
    static QString TriggerModeToString(CTrigger::TriggerMode mode);

    // The numeric inputs: a value outside the instrument's bounds (or not a number)
    // is refused with a reason in InputError and changes nothing. True when taken.
    Q_INVOKABLE bool applyAcquisitionRate(double value);
    Q_INVOKABLE bool applyDisplayRate(double value);
    Q_INVOKABLE bool applyBlockSize(double value);
    Q_INVOKABLE bool applyAveraging(double value);
    // Within the instrument's bounds, the minimum below the maximum.
    Q_INVOKABLE bool applyFrequencyMin(double value);
    Q_INVOKABLE bool applyFrequencyMax(double value);
    bool IsFrequencyRangeVisible() const { return m_IsFrequencyRangeVisible; }

    static constexpr double FrequencyMinSpectrumDefault = 0.0;
    static constexpr double FrequencyMaxSpectrumDefault = 100.0;
    static constexpr double DisplayRateSpectrumDefault = 1.0;
    static constexpr quint16 AveragingSpectrumDefault = 1;
    static constexpr double AcquisitionRateAcAnalysisDefault = 200.0;
    static constexpr double DisplayRateAcAnalysisDefault = 1.0;
    static constexpr quint16 AveragingAcAnalysisDefault = 1;
    static constexpr double AcquisitionRateMappingDefault = 1.0;
    static constexpr double DisplayRateMappingDefault = 1.0;
    static constexpr quint16 AveragingMappingDefault = 1000;
    void setIsFrequencyRangeVisible(bool value);

public slots:
    void OnSelectedUnitIndexChanged(int selectedUnitIndex);
    void OnSelectedUncertaintyUnitIndexChanged(int index);
    void OnSelectedRangeIndexChanged(int selectedRangeIndex);
    void OnSelectedTriggerModeIndexChanged(int selectedTriggerModeIndex);
    void OnSelectedTriggerPluginIndexChanged(int selectedTriggerPluginIndex);
    void OnParametersUnitsChange();
    void OnParametersUncertaintyUnitsChange();
    void OnParametersRangeChange();
    void OnTriggerModeChanged();
    void OnParametersTriggerPluginsChanged();
    void OnParametersEnableAdcUnitChanged();
    void OnInstrumentMeasurementParametersUpdated();
    void OnParametersLoadChangedUnit();

signals:
    void UnitsListChanged(QStringList value);
    void UncertaintyUnitsListChanged(QStringList value);
    void HasAdcChanged(bool value);
    void SelectedUnitIndexChanged(int value);
    void PreviousUnitIndexChanged(int value);
    void SelectedUncertaintyUnitIndexChanged(int value);
    void RangesChanged(QVariantList value);
    void SelectedRangeIndexChanged(int value);
    void TriggersChanged(QStringList value);
    void SelectedTriggerIndexChanged(int value);
    void TriggerPluginsChanged(QStringList value);
    void SelectedTriggerPluginIndexChanged(int value);
    void TriggerPluginVisibleChanged(bool value);
    void IsDisplayEnableChanged(bool value);
    void IsDisplayRateVisibleChanged(bool value);
    void IsAcquisitionRateEnableChanged(bool value);
    void IsAcquisitionRateVisibleChanged(bool value);
    void IsImmediateAcquisitionRateVisibleChanged(bool value);
    void IsFrequencyRangeVisibleChanged(bool value);
    void InputErrorChanged(QString value);

private:
    CInstrument* l_Instrument() const;
    QList<int> l_ShownUnits() const;
    void l_BuildUnits();
    void l_BuildUncertaintyUnits();
    void l_BuildRanges();
    void l_BuildTriggers();
    void l_SetInputFlags();
    bool l_Check(double value, double minimum, double maximum, const QString& name);
    bool l_Apply(double value, CBoundedParm* (CInstrument::*bound)(), const QString& name, bool whole,
                 const std::function<void(double)>& apply);
    void l_SetInputError(const QString& value);

    COperation* m_pOperation;
    CMeasurementParameters* m_pParameters;
    bool m_Mapping;
    QStringList m_UnitsList;
    QStringList m_UncertaintyUnitsList;
    bool m_HasAdc = false;
    int m_SelectedUnitIndex = -1;
    int m_PreviousUnitIndex = -1;
    int m_SelectedUncertaintyUnitIndex = -1;
    QVariantList m_Ranges;
    int m_SelectedRangeIndex = 0;
    QStringList m_Triggers;
    int m_SelectedTriggerIndex = -1;
    QStringList m_TriggerPlugins;
    int m_SelectedTriggerPluginIndex = -1;
    bool m_TriggerPluginVisible = false;
    bool m_IsDisplayEnable = true;
    bool m_IsDisplayRateVisible = true;
    bool m_IsAcquisitionRateEnable = true;
    bool m_IsAcquisitionRateVisible = true;
    bool m_IsImmediateAcquisitionRateVisible = false;
    bool m_IsFrequencyRangeVisible = false;
    QString m_InputError;

private:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setUnitsList(const QStringList& value);
    void setUncertaintyUnitsList(const QStringList& value);
    void setHasAdc(bool value);
    void setPreviousUnitIndex(int value);
    void setRanges(const QVariantList& value);
    void setTriggers(const QStringList& value);
    void setTriggerPlugins(const QStringList& value);
    void setTriggerPluginVisible(bool value);
    void setIsDisplayEnable(bool value);
    void setIsDisplayRateVisible(bool value);
    void setIsAcquisitionRateEnable(bool value);
    void setIsAcquisitionRateVisible(bool value);
};
