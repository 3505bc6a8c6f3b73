#pragma once

#include "model/CAlarm.h"

#include <QObject>
#include <QStringList>

class CAlarmParametersState;

// The spectrum page's alarm panel: what to do when the spectrum crosses the
// limits file. Also the state part of the AC analysis panel.
class CAlarmParametersSpectrumViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<CAlarm::AlarmState> States READ States CONSTANT)
    Q_PROPERTY(QStringList StateNames READ StateNames CONSTANT)
    Q_PROPERTY(int SelectedStateIndex READ SelectedStateIndex WRITE setSelectedStateIndex NOTIFY
                   SelectedStateIndexChanged)
    Q_PROPERTY(bool FlagNotification READ FlagNotification NOTIFY FlagNotificationChanged)

public:
    explicit CAlarmParametersSpectrumViewModel(CAlarmParametersState* parameters, QObject* parent = nullptr);

    QList<CAlarm::AlarmState> States() const { return m_States; }
    QStringList StateNames() const { return m_StateNames; }
    int SelectedStateIndex() const { return m_SelectedStateIndex; }
    bool FlagNotification() const { return m_FlagNotification; }
    void setSelectedStateIndex(int value);
    void setFlagNotification(bool value);

public slots:
    void OnSelectedStateIndexChanged(int index);

signals:
    void SelectedStateIndexChanged(int value);
    void FlagNotificationChanged(bool value);

private:
    CAlarmParametersState* m_pState;
    QList<CAlarm::AlarmState> m_States;
    QStringList m_StateNames;
    int m_SelectedStateIndex = -1;
    bool m_FlagNotification = false;
};
