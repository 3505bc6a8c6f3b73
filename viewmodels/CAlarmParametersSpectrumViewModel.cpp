#include "viewmodels/CAlarmParametersSpectrumViewModel.h"

#include "app/CUtils.h"
#include "model/CAlarmParametersState.h"

CAlarmParametersSpectrumViewModel::CAlarmParametersSpectrumViewModel(CAlarmParametersState* parameters,
                                                                     QObject* parent)
    : QObject(parent),
      m_pState(parameters), m_States{CAlarm::AlarmState::Off, CAlarm::AlarmState::Notification,
                                     CAlarm::AlarmState::Audio, CAlarm::AlarmState::FlagNotification}
{
    for (const CAlarm::AlarmState state : qAsConst(m_States))
        m_StateNames << CUtils::AlarmStateToString(state);
    m_SelectedStateIndex = m_StateNames.indexOf(CUtils::AlarmStateToString(m_pState->State()));
    connect(this, &CAlarmParametersSpectrumViewModel::SelectedStateIndexChanged, this,
            &CAlarmParametersSpectrumViewModel::OnSelectedStateIndexChanged);
    // Follows its parameters whenever they change (a parameter file loaded, say).
    connect(m_pState, &CAlarmParametersState::StateChanged, this,
            [this](CAlarm::AlarmState state) { setSelectedStateIndex(m_States.indexOf(state)); });
}

void CAlarmParametersSpectrumViewModel::setSelectedStateIndex(int value)
{
    if (m_SelectedStateIndex == value)
        return;
    m_SelectedStateIndex = value;
    emit SelectedStateIndexChanged(value);
}

void CAlarmParametersSpectrumViewModel::setFlagNotification(bool value)
{
    if (m_FlagNotification == value)
        return;
    m_FlagNotification = value;
    emit FlagNotificationChanged(value);
}

void CAlarmParametersSpectrumViewModel::OnSelectedStateIndexChanged(int index)
{
    if (index >= 0 && index < m_States.size())
        m_pState->setState(m_States.at(index));
}
