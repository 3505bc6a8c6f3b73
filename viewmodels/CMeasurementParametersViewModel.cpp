#include "viewmodels/CMeasurementParametersViewModel.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "instruments/CInstrument.h"
#include "instruments/CTriggerPlugin.h"
#include "model/CBoundedParm.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"
#include "operations/COperation.h"

#include <QSignalBlocker>
#include <QVariantMap>

#include <cmath>

namespace
{
const QString None = QStringLiteral("--");
} // namespace

CMeasurementParametersViewModel::CMeasurementParametersViewModel(COperation* operation, bool mapping,
                                                                 QObject* parent)
    : QObject(parent), m_pOperation(operation), m_pParameters(operation->MeasurementParameters()),
      m_Mapping(mapping)
{
    m_HasAdc = m_pParameters->EnableAdcUnit();
    l_BuildUnits();
    OnParametersUnitsChange();
    l_BuildUncertaintyUnits();
    OnParametersUncertaintyUnitsChange();
    l_BuildRanges();
    l_BuildTriggers();
    const auto plugins = m_pOperation->AvailableTriggerPlugins();
    for (CTriggerPlugin* plugin : plugins)
        m_TriggerPlugins << plugin->GetName();
    if (!m_TriggerPlugins.isEmpty())
        m_SelectedTriggerPluginIndex = 0;
    OnParametersTriggerPluginsChanged();
    OnTriggerModeChanged();
    l_SetInputFlags();
    OnParametersRangeChange();

    connect(this, &CMeasurementParametersViewModel::SelectedUnitIndexChanged, this,
            &CMeasurementParametersViewModel::OnSelectedUnitIndexChanged);
    connect(this, &CMeasurementParametersViewModel::SelectedUncertaintyUnitIndexChanged, this,
            &CMeasurementParametersViewModel::OnSelectedUncertaintyUnitIndexChanged);
    connect(this, &CMeasurementParametersViewModel::SelectedRangeIndexChanged, this,
            &CMeasurementParametersViewModel::OnSelectedRangeIndexChanged);
    connect(this, &CMeasurementParametersViewModel::SelectedTriggerIndexChanged, this,
            &CMeasurementParametersViewModel::OnSelectedTriggerModeIndexChanged);
    connect(this, &CMeasurementParametersViewModel::SelectedTriggerPluginIndexChanged, this,
            &CMeasurementParametersViewModel::OnSelectedTriggerPluginIndexChanged);
    CMeasurementParameters* m = m_pParameters;
    connect(m, &CMeasurementParameters::UnitsChanged, this,
            &CMeasurementParametersViewModel::OnParametersUnitsChange);
    connect(m, &CMeasurementParameters::UncertaintyUnitsChanged, this,
            &CMeasurementParametersViewModel::OnParametersUncertaintyUnitsChange);
    connect(m, &CMeasurementParameters::AutoRangeChanged, this,
            &CMeasurementParametersViewModel::OnParametersRangeChange);
    connect(m, &CMeasurementParameters::RangeChanged, this,
            &CMeasurementParametersViewModel::OnParametersRangeChange);
    connect(m, &CMeasurementParameters::TriggerModeChanged, this,
            &CMeasurementParametersViewModel::OnTriggerModeChanged);
    connect(m, &CMeasurementParameters::TriggerPluginChanged, this,
            &CMeasurementParametersViewModel::OnParametersTriggerPluginsChanged);
    connect(m, &CMeasurementParameters::EnableAdcUnitChanged, this,
            &CMeasurementParametersViewModel::OnParametersEnableAdcUnitChanged);
    if (CInstrument* instrument = l_Instrument())
    {
        for (auto signal : {&CInstrument::OnUnitListUpdated, &CInstrument::OnRangeListUpdated,
                            &CInstrument::OnTriggerListUpdated})
            connect(instrument, signal, this,
                    &CMeasurementParametersViewModel::OnInstrumentMeasurementParametersUpdated);
    }
    connect(m_pOperation, &COperation::OnLoadMeasParametersDone, this,
            &CMeasurementParametersViewModel::OnParametersLoadChangedUnit);
}

CInstrument* CMeasurementParametersViewModel::l_Instrument() const
{
    return m_pOperation->Instrument();
}

// Positions in the instrument's unit list of the units offered: ADC only when enabled.
QList<int> CMeasurementParametersViewModel::l_ShownUnits() const
{
    QList<int> shown;
    if (const CInstrument* instrument = l_Instrument())
    {
        const QList<CUnits::UnitType> units = instrument->UnitList();
        for (int i = 0; i < units.size(); ++i)
        {
            if (units.at(i) != CUnits::UnitType::ADC || m_HasAdc)
                shown << i;
        }
    }
    return shown;
}

void CMeasurementParametersViewModel::l_BuildUnits()
{
    const CInstrument* instrument = l_Instrument();
    QStringList texts;
    const auto shown = l_ShownUnits();
    for (const int i : shown)
        texts << CUnitsToQString(instrument->UnitList().at(i));
    setUnitsList(instrument ? texts : QStringList{None});
}

void CMeasurementParametersViewModel::l_BuildUncertaintyUnits()
{
    const CInstrument* instrument = l_Instrument();
    if (!instrument || instrument->UnitList().isEmpty())
    {
        setUncertaintyUnitsList({None});
        return;
    }
    const QList<CUnits::UnitType> units = instrument->UnitList();
    const int index =
        m_SelectedUnitIndex < 0 || m_SelectedUnitIndex >= units.size() ? 0 : m_SelectedUnitIndex;
    const CUnits::UnitType u = ConvertUnitsToUncertaintyUnits(units.at(index));
    m_pParameters->setUncertaintyUnitList({u, CUnits::UnitType::PERCENT});
    if (m_pParameters->UncertaintyUnits() != CUnits::UnitType::PERCENT)
    {
        if (m_pParameters->UncertaintyUnits() == u)
            emit m_pParameters->UncertaintyUnitsChanged(u);
        else
            m_pParameters->setUncertaintyUnits(u);
    }
    setUncertaintyUnitsList({CUnitsToQString(u), CUnitsToQString(CUnits::UnitType::PERCENT)});
}

void CMeasurementParametersViewModel::l_BuildRanges()
{
    const CInstrument* instrument = l_Instrument();
    QVariantList ranges;
    if (!instrument)
        ranges << QVariantMap{{QStringLiteral("first"), None}};
    else
    {
        ranges << QVariantMap{{QStringLiteral("first"), tr("Auto")}, {QStringLiteral("second"), QString()}};
        const auto instrumentRanges = instrument->RangeList();
        for (const float r : instrumentRanges)
            ranges << QVariantMap{{QStringLiteral("first"), CNumberText::G6(r)},
                                  {QStringLiteral("second"), QStringLiteral("[T]")}};
    }
    setRanges(ranges);
}

void CMeasurementParametersViewModel::l_BuildTriggers()
{
    const CInstrument* instrument = l_Instrument();
    QStringList names;
    if (!instrument)
        names << None;
    else if (m_Mapping)
        names << TriggerModeToString(CTrigger::TriggerMode::IMMEDIATE)
              << TriggerModeToString(CTrigger::TriggerMode::TIMER)
              << TriggerModeToString(CTrigger::TriggerMode::EXTERNAL);
    else
    {
        const auto modes = instrument->TriggerList();
        for (const CTrigger::TriggerMode mode : modes)
        {
            if (int(mode) >= 1 && int(mode) <= 4)
                names << TriggerModeToString(mode);
        }
    }
    setTriggers(names);
}

CTrigger::TriggerMode CMeasurementParametersViewModel::StringToTriggerMode(const QString& name)
{
    if (name == CConstants::TriggerModeContinuousName)
        return CTrigger::TriggerMode::CONTINUOUS;
    if (name == CConstants::TriggerModeTimerName)
        return CTrigger::TriggerMode::TIMER;
    if (name == CConstants::TriggerModeExternalName)
        return CTrigger::TriggerMode::EXTERNAL;
    return CTrigger::TriggerMode::IMMEDIATE;
}

QString CMeasurementParametersViewModel::TriggerModeToString(CTrigger::TriggerMode mode)
{
    switch (mode)
    {
    case CTrigger::TriggerMode::CONTINUOUS:
        return CConstants::TriggerModeContinuousName;
    case CTrigger::TriggerMode::TIMER:
        return CConstants::TriggerModeTimerName;
    case CTrigger::TriggerMode::EXTERNAL:
        return CConstants::TriggerModeExternalName;
    default:
        return CConstants::TriggerModeImmediateName;
    }
}

void CMeasurementParametersViewModel::OnSelectedUnitIndexChanged(int selectedUnitIndex)
{
    CInstrument* instrument = l_Instrument();
    const QList<int> shown = l_ShownUnits();
    if (!instrument || selectedUnitIndex < 0 || m_SelectedUnitIndex == m_PreviousUnitIndex ||
        selectedUnitIndex >= shown.size())
        return;
    if (m_pOperation->HasUnsavedData() &&
        !CUtils::askDataLoseConfirmation(CConstants::ChangeUnitConfirmationMessage,
                                         CConstants::ChangeUnitConfirmationInformationMessage))
    {
        setSelectedUnitIndex(m_PreviousUnitIndex);
        return;
    }
    const CUnits::UnitType unit = instrument->UnitList().at(shown.at(selectedUnitIndex));
    // Both signalled in any case: the pages re-read their units.
    if (m_pParameters->DisplayUnits() == unit)
        emit m_pParameters->DisplayUnitsChanged(unit);
    else
        m_pParameters->setDisplayUnits(unit);
    if (m_pParameters->Units() == unit)
        emit m_pParameters->UnitsChanged(unit);
    else
        m_pParameters->setUnits(unit);
    l_BuildUncertaintyUnits();
    if (m_pParameters->UncertaintyUnits() == CUnits::UnitType::PERCENT)
        setSelectedUncertaintyUnitIndex(
            m_pParameters->UncertaintyUnitList().indexOf(CUnits::UnitType::PERCENT));
    m_pOperation->clear();
    m_pOperation->ApplyUnitChange();
    setPreviousUnitIndex(m_SelectedUnitIndex);
}

void CMeasurementParametersViewModel::OnSelectedUncertaintyUnitIndexChanged(int index)
{
    const QList<CUnits::UnitType> list = m_pParameters->UncertaintyUnitList();
    if (!l_Instrument() || index < 0 || index >= list.size())
        return;
    if (m_pParameters->UncertaintyUnits() == list.at(index))
        emit m_pParameters->UncertaintyUnitsChanged(list.at(index));
    else
        m_pParameters->setUncertaintyUnits(list.at(index));
}

void CMeasurementParametersViewModel::OnSelectedRangeIndexChanged(int selectedRangeIndex)
{
    const CInstrument* instrument = l_Instrument();
    if (!instrument)
        return;
    m_pParameters->setAutoRange(selectedRangeIndex == 0);
    if (selectedRangeIndex >= 1 && selectedRangeIndex <= instrument->RangeList().size())
        m_pParameters->setRange(instrument->RangeList().at(selectedRangeIndex - 1));
}

void CMeasurementParametersViewModel::OnSelectedTriggerModeIndexChanged(int selectedTriggerModeIndex)
{
    const CInstrument* instrument = l_Instrument();
    if (!instrument || selectedTriggerModeIndex < 0 || selectedTriggerModeIndex >= m_Triggers.size() ||
        (!m_Mapping && selectedTriggerModeIndex >= instrument->TriggerList().size()))
        return;
    // A list made before the instrument came holds only "--", which names no mode.
    if (m_Triggers.at(selectedTriggerModeIndex) == None)
        return;
    m_pParameters->setTriggerMode(StringToTriggerMode(m_Triggers.at(selectedTriggerModeIndex)));
    l_SetInputFlags();
}

void CMeasurementParametersViewModel::l_SetInputFlags()
{
    const CTrigger::TriggerMode mode = m_pParameters->TriggerMode();
    const bool continuous = mode == CTrigger::TriggerMode::CONTINUOUS;
    setIsDisplayEnable(continuous);
    setIsDisplayRateVisible(continuous);
    setIsAcquisitionRateEnable(continuous || mode == CTrigger::TriggerMode::TIMER);
    setIsAcquisitionRateVisible(true);
    setIsImmediateAcquisitionRateVisible(mode == CTrigger::TriggerMode::IMMEDIATE);
}

void CMeasurementParametersViewModel::OnSelectedTriggerPluginIndexChanged(int selectedTriggerPluginIndex)
{
    const QList<CTriggerPlugin*> plugins = m_pOperation->AvailableTriggerPlugins();
    if (selectedTriggerPluginIndex >= 0 && selectedTriggerPluginIndex < plugins.size())
        m_pParameters->setTriggerPlugin(plugins.at(selectedTriggerPluginIndex));
}

void CMeasurementParametersViewModel::OnParametersUnitsChange()
{
    int index = -1;
    if (const CInstrument* instrument = l_Instrument())
    {
        const int position = instrument->UnitList().indexOf(m_pParameters->Units());
        index = l_ShownUnits().indexOf(position);
    }
    setPreviousUnitIndex(index);
    setSelectedUnitIndex(index);
}

void CMeasurementParametersViewModel::OnParametersUncertaintyUnitsChange()
{
    setSelectedUncertaintyUnitIndex(
        m_pParameters->UncertaintyUnitList().indexOf(m_pParameters->UncertaintyUnits()));
}

void CMeasurementParametersViewModel::OnParametersRangeChange()
{
    const QSignalBlocker blocker(m_pParameters);
    const CInstrument* instrument = l_Instrument();
    int index = 0;
    if (instrument && !m_pParameters->AutoRange())
    {
        const QList<float> ranges = instrument->RangeList();
        const int position = ranges.indexOf(m_pParameters->Range());
        if (position >= 0)
            index = position + 1;
        else if (!ranges.isEmpty())
        {
            // A range the instrument does not list is pinned to its last one, and the box
            // shows that range: it must never read "Auto" for a fixed range.
            m_pParameters->setRange(ranges.last());
            index = ranges.size();
        }
    }
    setSelectedRangeIndex(index);
}

void CMeasurementParametersViewModel::OnTriggerModeChanged()
{
    int index = -1;
    if (const CInstrument* instrument = l_Instrument())
        index = instrument->TriggerList().indexOf(m_pParameters->TriggerMode());
    if (m_Mapping)
        index = std::max(0, index - 1);
    setSelectedTriggerIndex(index);
    setTriggerPluginVisible(m_pParameters->TriggerMode() == CTrigger::TriggerMode::EXTERNAL);
}

void CMeasurementParametersViewModel::OnParametersTriggerPluginsChanged()
{
    const CTriggerPlugin* plugin = m_pParameters->TriggerPlugin();
    setSelectedTriggerPluginIndex(plugin ? m_TriggerPlugins.indexOf(plugin->GetName()) : -1);
}

void CMeasurementParametersViewModel::OnParametersEnableAdcUnitChanged()
{
    setHasAdc(m_pParameters->EnableAdcUnit());
}

void CMeasurementParametersViewModel::OnInstrumentMeasurementParametersUpdated()
{
    l_BuildUnits();
    OnParametersUnitsChange();
    l_BuildUncertaintyUnits();
    l_BuildRanges();
    l_BuildTriggers();
    OnTriggerModeChanged();
}

void CMeasurementParametersViewModel::OnParametersLoadChangedUnit()
{
    QStringList texts;
    const auto units = m_pParameters->UncertaintyUnitList();
    for (const CUnits::UnitType unit : units)
        texts << CUnitsToQString(unit);
    if (texts.size() == m_UncertaintyUnitsList.size())
        setUncertaintyUnitsList(texts);
}

void CMeasurementParametersViewModel::l_SetInputError(const QString& value)
{
    if (m_InputError == value)
        return;
    m_InputError = value;
    emit InputErrorChanged(value);
}

bool CMeasurementParametersViewModel::l_Check(double value, double minimum, double maximum,
                                              const QString& name)
{
    if (!std::isfinite(value))
    {
        l_SetInputError(tr("%1: not a number").arg(name));
        return false;
    }
    if (value < minimum || value > maximum)
    {
        l_SetInputError(tr("%1 must lie between %2 and %3")
                            .arg(name, CNumberText::G6(minimum), CNumberText::G6(maximum)));
        return false;
    }
    l_SetInputError(QString());
    return true;
}

bool CMeasurementParametersViewModel::l_Apply(double value, CBoundedParm* (CInstrument::*bound)(),
                                              const QString& name, bool whole,
                                              const std::function<void(double)>& apply)
{
    CInstrument* instrument = l_Instrument();
    if (!instrument)
        return false;
    const CBoundedParm* limits = (instrument->*bound)();
    if (!l_Check(value, limits->Min(), limits->Max(), name))
        return false;
    if (whole && value != std::floor(value))
    {
        l_SetInputError(tr("%1: a whole number").arg(name));
        return false;
    }
    apply(value);
    return true;
}

bool CMeasurementParametersViewModel::applyAcquisitionRate(double value)
{
    return l_Apply(value, &CInstrument::AcquisitionRateBound, tr("Acquisition rate"), false,
                   [this](double v) { m_pParameters->setAcquisitionRate(v); });
}

bool CMeasurementParametersViewModel::applyDisplayRate(double value)
{
    return l_Apply(value, &CInstrument::DisplayRateBound, tr("Display rate"), false,
                   [this](double v) { m_pParameters->setDisplayRate(v); });
}

bool CMeasurementParametersViewModel::applyBlockSize(double value)
{
    return l_Apply(value, &CInstrument::BlockSizeBound, tr("Block size"), true,
                   [this](double v) { m_pParameters->setBlockSize(int(v)); });
}

bool CMeasurementParametersViewModel::applyAveraging(double value)
{
    return l_Apply(value, &CInstrument::AveragingBound, tr("Averaging"), true,
                   [this](double v) { m_pParameters->setAveraging(int(v)); });
}

bool CMeasurementParametersViewModel::applyFrequencyMin(double value)
{
    if (value >= m_pParameters->FrequencyMax())
    {
        l_SetInputError(
            tr("Minimum frequency: below the maximum frequency (%1 Hz)").arg(m_pParameters->FrequencyMax()));
        return false;
    }
    return l_Apply(value, &CInstrument::FrequencyMinBound, tr("Minimum frequency"), false,
                   [this](double v) { m_pParameters->setFrequencyMin(v); });
}

bool CMeasurementParametersViewModel::applyFrequencyMax(double value)
{
    if (value <= m_pParameters->FrequencyMin())
    {
        l_SetInputError(
            tr("Maximum frequency: above the minimum frequency (%1 Hz)").arg(m_pParameters->FrequencyMin()));
        return false;
    }
    return l_Apply(value, &CInstrument::FrequencyMaxBound, tr("Maximum frequency"), false,
                   [this](double v) { m_pParameters->setFrequencyMax(v); });
}

TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsFrequencyRangeVisible)
TESVANA_SETTER(CMeasurementParametersViewModel, const QStringList&, UnitsList)
TESVANA_SETTER(CMeasurementParametersViewModel, const QStringList&, UncertaintyUnitsList)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, HasAdc)
TESVANA_SETTER(CMeasurementParametersViewModel, int, SelectedUnitIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, int, PreviousUnitIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, int, SelectedUncertaintyUnitIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, const QVariantList&, Ranges)
TESVANA_SETTER(CMeasurementParametersViewModel, int, SelectedRangeIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, const QStringList&, Triggers)
TESVANA_SETTER(CMeasurementParametersViewModel, int, SelectedTriggerIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, const QStringList&, TriggerPlugins)
TESVANA_SETTER(CMeasurementParametersViewModel, int, SelectedTriggerPluginIndex)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, TriggerPluginVisible)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsDisplayEnable)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsDisplayRateVisible)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsAcquisitionRateEnable)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsAcquisitionRateVisible)
TESVANA_SETTER(CMeasurementParametersViewModel, bool, IsImmediateAcquisitionRateVisible)
