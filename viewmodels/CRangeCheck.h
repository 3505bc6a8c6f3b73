#pragma once

#include "model/CUnits.h"

#include <QObject>
#include <QTimer>

class CAlarmParametersLimits;
class CAlarmParametersMeterViewModel;
class CFieldIntensityResult;
class CMeasureBlock;

// The out-of-range alarm of the meter and mapping pages: each block's samples
// against the alarm's minimum and maximum on its axis. A violation raises the
// panel's flag; it is logged and announced once, and again only after two
// seconds without violation.
class CRangeCheck : public QObject
{
    Q_OBJECT

public:
    CRangeCheck(CAlarmParametersLimits* alarm, CAlarmParametersMeterViewModel* panel,
                QObject* parent = nullptr);

    // The uncertainty of a sample in the uncertainty unit, or in percent of B (NaN
    // near B = 0 and beyond 9 %).
    static float Uncertainty(const CFieldIntensityResult& sample, CUnits::UnitType display,
                             CUnits::UnitType uncertaintyUnit);
    // dBConverted of every sample of the block.
    static void ComputeBConverted(CMeasureBlock& block, CUnits::UnitType display,
                                  CUnits::UnitType uncertaintyUnit);

    void Check(const CMeasureBlock& block, CUnits::UnitType display, CUnits::UnitType uncertaintyUnit);

public slots:
    // Two seconds passed without violation: the next one is announced.
    void AllowNotify() { m_NotifyAllowed = true; }

signals:
    // An out-of-range block to announce in the system tray (and with a beep).
    void AlarmNotification(QString title, QString message, bool beep);

private:
    CAlarmParametersLimits* m_pAlarm;
    CAlarmParametersMeterViewModel* m_pPanel;
    QTimer m_Timer;
    bool m_NotifyAllowed = true;
    int m_LastState = -1;
    int m_LastAxis = -1;
};
