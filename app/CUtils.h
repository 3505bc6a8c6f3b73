#pragma once

#include "model/CAlarm.h"
#include "model/CAxis.h"

#include <QObject>
#include <QString>

// Formatting, platform tests, whole-file text access and the modal message
// boxes. The instance published to QML as "Utils" carries no state.
class CUtils : public QObject
{
    Q_OBJECT
public:
    explicit CUtils(QObject* parent = nullptr);

    Q_INVOKABLE static QString doubleToStringPointAlignment(double value);
    Q_INVOKABLE static QString doubleToString(double value, int significantNb = 5,
                                              bool leftSpacePadding = false);
    Q_INVOKABLE static QString intToString(double value);
    Q_INVOKABLE static QString fileNameFromPath(const QString& path);
    Q_INVOKABLE static QString getUnitText(int unit);
    Q_INVOKABLE static QString getTriggerText(int trigger);
    Q_INVOKABLE static bool isTouchDevice();
    Q_INVOKABLE static bool isUnix();
    Q_INVOKABLE static bool isLinux();
    static bool isMacOs();
    Q_INVOKABLE static void saveFile(const QString& path, const QString& text);
    Q_INVOKABLE static QString loadFile(const QString& path);

    static bool askDataLoseConfirmation(const QString& text, const QString& informativeText);
    static bool askParameterLoseConfirmation();
    static void errorMessage(const QString& text, const QString& informativeText);
    static void informationMessage(const QString& text, const QString& informativeText);

    static QString AlarmStateToString(CAlarm::AlarmState state);
    static CAlarm::AlarmState StringToAlarmState(const QString& text);
    static QString AxisStateToString(CAxis::AxisType axis);
    static QString AxisStateToStringUTF(CAxis::AxisType axis);
    static CAxis::AxisType StringToAxisState(const QString& text);
};
