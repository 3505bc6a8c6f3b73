#include "viewmodels/CAlarmParametersMeterViewModel.h"

#include "app/CUtils.h"
#include "model/CAlarmParametersMeter.h"
#include "model/TesvanaSetter.h"
#include "operations/COperation.h"

CAlarmParametersMeterViewModel::CAlarmParametersMeterViewModel(COperation* operation, QObject* parent)
    : CAlarmParametersMeterViewModel(operation->OperationParameters()->AlarmParametersMeter(), parent)
{
}

CAlarmParametersMeterViewModel::CAlarmParametersMeterViewModel(CAlarmParametersLimits* parameters,
                                                               QObject* parent)
    : QObject(parent), m_pParameters(parameters)
{
    m_States = {CAlarm::AlarmState::Off, CAlarm::AlarmState::Notification, CAlarm::AlarmState::Audio,
                CAlarm::AlarmState::FlagNotification};
    for (const CAlarm::AlarmState state : qAsConst(m_States))
        m_StateNames << CUtils::AlarmStateToString(state);
    m_Axis = {CAxis::AxisType::B,  CAxis::AxisType::BBprime, CAxis::AxisType::Bx,
              CAxis::AxisType::By, CAxis::AxisType::Bz,      CAxis::AxisType::dB};
    for (const CAxis::AxisType axis : qAsConst(m_Axis))
        m_AxisNames << CUtils::AxisStateToStringUTF(axis);
    m_SelectedStateIndex = m_StateNames.indexOf(CUtils::AlarmStateToString(m_pParameters->State()));
    m_SelectedAxisIndex = m_AxisNames.indexOf(CUtils::AxisStateToStringUTF(m_pParameters->Axis()));
    setMinimum(m_pParameters->Minimum());
    setMaximum(m_pParameters->Maximum());
    m_DisplayAlarmUnits = m_pParameters->DisplayAlarmUnits();

    connect(this, &CAlarmParametersMeterViewModel::SelectedStateIndexChanged, this,
            &CAlarmParametersMeterViewModel::OnSelectedStateIndexChanged);
    connect(this, &CAlarmParametersMeterViewModel::SelectedAxisIndexChanged, this,
            &CAlarmParametersMeterViewModel::OnSelectedAxisIndexChanged);
    connect(this, &CAlarmParametersMeterViewModel::MinimumChanged, this,
            &CAlarmParametersMeterViewModel::OnMinimumChanged);
    connect(this, &CAlarmParametersMeterViewModel::MaximumChanged, this,
            &CAlarmParametersMeterViewModel::OnMaximumChanged);
    connect(this, &CAlarmParametersMeterViewModel::DisplayAlarmUnitsChanged, this,
            &CAlarmParametersMeterViewModel::OnDisplayAlarmUnitsChanged);

    // The panel follows its parameters whenever they change (a parameter file loaded, say),
    // not only when it sets them itself.
    connect(m_pParameters, &CAlarmParametersState::StateChanged, this,
            [this](CAlarm::AlarmState state) { setSelectedStateIndex(m_States.indexOf(state)); });
    connect(m_pParameters, &CAlarmParametersAxis::AxisChanged, this,
            [this](CAxis::AxisType axis) { setSelectedAxisIndex(m_Axis.indexOf(axis)); });
    connect(m_pParameters, &CAlarmParametersLimits::MinimumChanged, this, [this](double value) {
        m_Restoring = true;
        setMinimum(value);
        m_Restoring = false;
    });
    connect(m_pParameters, &CAlarmParametersLimits::MaximumChanged, this, [this](double value) {
        m_Restoring = true;
        setMaximum(value);
        m_Restoring = false;
    });
}

void CAlarmParametersMeterViewModel::OnSelectedStateIndexChanged(int index)
{
    if (index >= 0 && index < m_States.size())
        m_pParameters->setState(m_States.at(index));
}

void CAlarmParametersMeterViewModel::OnSelectedAxisIndexChanged(int index)
{
    if (index >= 0 && index < m_Axis.size())
        m_pParameters->setAxis(m_Axis.at(index));
}

// Limits that cross are refused with a reason, and the panel shows the stored ones again.
void CAlarmParametersMeterViewModel::OnMinimumChanged(double value)
{
    if (m_Restoring)
        return;
    if (value > m_pParameters->Maximum())
    {
        setInputError(tr("The minimum must not be above the maximum (%1)").arg(m_pParameters->Maximum()));
        m_Restoring = true;
        setMinimum(m_pParameters->Minimum());
        m_Restoring = false;
        return;
    }
    setInputError(QString());
    m_pParameters->setMinimum(value);
}

void CAlarmParametersMeterViewModel::OnMaximumChanged(double value)
{
    if (m_Restoring)
        return;
    if (value < m_pParameters->Minimum())
    {
        setInputError(tr("The maximum must not be below the minimum (%1)").arg(m_pParameters->Minimum()));
        m_Restoring = true;
        setMaximum(m_pParameters->Maximum());
        m_Restoring = false;
        return;
    }
    setInputError(QString());
    m_pParameters->setMaximum(value);
}

void CAlarmParametersMeterViewModel::OnDisplayAlarmUnitsChanged(CUnits::UnitType unit)
{
    if (m_pParameters->DisplayAlarmUnits() == unit)
        emit m_pParameters->DisplayAlarmUnitsChanged(unit);
    else
        m_pParameters->setDisplayAlarmUnits(unit);
}

TESVANA_SETTER(CAlarmParametersMeterViewModel, int, SelectedStateIndex)
void CAlarmParametersMeterViewModel::setFlagNotification(bool value)
{
    // Only the range check sets it, as each block is checked.
    const bool first = !m_Checked;
    m_Checked = true;
    if (first)
        emit CheckedChanged();
    if (m_FlagNotification != value)
    {
        m_FlagNotification = value;
        emit FlagNotificationChanged(value);
    }
    else if (!first)
        return;
    emit StatusTextChanged();
}

QString CAlarmParametersMeterViewModel::StatusText() const
{
    if (!m_Checked)
        return tr("Waiting for data");
    return m_FlagNotification ? tr("Out of range") : tr("In range");
}

QString CAlarmParametersMeterViewModel::UnitText() const
{
    const QString unit = CUnitsToQString(m_DisplayAlarmUnits);
    return unit.trimmed().isEmpty() ? QString() : QLatin1Char('[') + unit + QLatin1Char(']');
}
TESVANA_SETTER(CAlarmParametersMeterViewModel, CUnits::UnitType, DisplayAlarmUnits)
TESVANA_SETTER(CAlarmParametersMeterViewModel, int, SelectedAxisIndex)
TESVANA_SETTER(CAlarmParametersMeterViewModel, double, Minimum)
TESVANA_SETTER(CAlarmParametersMeterViewModel, double, Maximum)
TESVANA_SETTER(CAlarmParametersMeterViewModel, const QString&, InputError)
