#pragma once

#include "model/CAlarm.h"
#include "model/CAxis.h"
#include "model/CUnits.h"

#include <QObject>
#include <QStringList>

class COperation;
class CAlarmParametersLimits;

// The meter page's alarm panel: the operation's meter alarm parameters as lists
// of names and selected indices. The front end writes the panel's properties;
// the panel passes every change on to the parameters.
class CAlarmParametersMeterViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<CAlarm::AlarmState> States READ States NOTIFY StatesChanged)
    Q_PROPERTY(QStringList StateNames READ StateNames NOTIFY StateNamesChanged)
    Q_PROPERTY(int SelectedStateIndex READ SelectedStateIndex WRITE setSelectedStateIndex NOTIFY
                   SelectedStateIndexChanged)
    Q_PROPERTY(bool FlagNotification READ FlagNotification NOTIFY FlagNotificationChanged)
    Q_PROPERTY(CUnits::UnitType DisplayAlarmUnits READ DisplayAlarmUnits NOTIFY DisplayAlarmUnitsChanged)
    Q_PROPERTY(QList<CAxis::AxisType> Axis READ Axis NOTIFY AxisChanged)
    Q_PROPERTY(QStringList AxisNames READ AxisNames NOTIFY AxisNamesChanged)
    Q_PROPERTY(int SelectedAxisIndex READ SelectedAxisIndex WRITE setSelectedAxisIndex NOTIFY
                   SelectedAxisIndexChanged)
    Q_PROPERTY(double Minimum READ Minimum WRITE setMinimum NOTIFY MinimumChanged)
    Q_PROPERTY(double Maximum READ Maximum WRITE setMaximum NOTIFY MaximumChanged)
    // Whether a block has been checked since the panel was made: before that the state
    // is not "In range" but waiting.
    Q_PROPERTY(bool Checked READ Checked NOTIFY CheckedChanged)
    // "Waiting for data", "In range" or "Out of range".
    Q_PROPERTY(QString StatusText READ StatusText NOTIFY StatusTextChanged)
    // The unit the limits are compared in, as the labels show it ("[µT]").
    Q_PROPERTY(QString UnitText READ UnitText NOTIFY DisplayAlarmUnitsChanged)
    // Why the last entry was refused; empty when it was taken.
    Q_PROPERTY(QString InputError READ InputError NOTIFY InputErrorChanged)
public:
    explicit CAlarmParametersMeterViewModel(COperation* operation, QObject* parent = nullptr);
    // A panel on other limits of the same kind (the mapping page's).
    explicit CAlarmParametersMeterViewModel(CAlarmParametersLimits* parameters, QObject* parent = nullptr);

    QList<CAlarm::AlarmState> States() const { return m_States; }
    QStringList StateNames() const { return m_StateNames; }
    int SelectedStateIndex() const { return m_SelectedStateIndex; }
    bool FlagNotification() const { return m_FlagNotification; }
    CUnits::UnitType DisplayAlarmUnits() const { return m_DisplayAlarmUnits; }
    QList<CAxis::AxisType> Axis() const { return m_Axis; }
    QStringList AxisNames() const { return m_AxisNames; }
    int SelectedAxisIndex() const { return m_SelectedAxisIndex; }
    double Minimum() const { return m_Minimum; }
    double Maximum() const { return m_Maximum; }
    QString InputError() const { return m_InputError; }
    bool Checked() const { return m_Checked; }
    QString StatusText() const;
    QString UnitText() const;

    void setSelectedStateIndex(int value);
    void setFlagNotification(bool value);
    void setDisplayAlarmUnits(CUnits::UnitType value);
    void setSelectedAxisIndex(int value);
    void setMinimum(double value);
    void setMaximum(double value);
    void setInputError(const QString& value);

public slots:
    void OnSelectedStateIndexChanged(int index);
    void OnSelectedAxisIndexChanged(int index);
    void OnMinimumChanged(double value);
    void OnMaximumChanged(double value);
    void OnDisplayAlarmUnitsChanged(CUnits::UnitType unit);

signals:
    void StatesChanged(QList<CAlarm::AlarmState> value);
    void StateNamesChanged(QStringList value);
    void SelectedStateIndexChanged(int value);
    void FlagNotificationChanged(bool value);
    void DisplayAlarmUnitsChanged(CUnits::UnitType value);
    void AxisChanged(QList<CAxis::AxisType> value);
    void AxisNamesChanged(QStringList value);
    void SelectedAxisIndexChanged(int value);
    void MinimumChanged(double value);
    void CheckedChanged();
    void StatusTextChanged();
    void MaximumChanged(double value);
    void InputErrorChanged(QString value);

private:
    CAlarmParametersLimits* m_pParameters;
    QList<CAlarm::AlarmState> m_States;
    QStringList m_StateNames;
    int m_SelectedStateIndex = -1;
    bool m_FlagNotification = false;
    bool m_Checked = false;
    CUnits::UnitType m_DisplayAlarmUnits = CUnits::UnitType::UNKNOWN;
    QList<CAxis::AxisType> m_Axis;
    QStringList m_AxisNames;
    int m_SelectedAxisIndex = -1;
    double m_Minimum = 0;
    double m_Maximum = 0;
    QString m_InputError;
    // Set while a refused entry is taken back, which is no new entry.
    bool m_Restoring = false;
};
