#include "viewmodels/CRangeCheck.h"

#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"
#include "model/CAlarmParametersLimits.h"
#include "model/CMeasureBlock.h"
#include "viewmodels/CAlarmParametersMeterViewModel.h"

#include <limits>

namespace
{
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// The uncertainty of a sample as a percentage of B: NaN near B = 0, and beyond 9 %.
// "Near 0" is within 0.0001 mT (100 nT) whatever unit B is shown in: the same 0.0001
// taken in the display unit would blank every field under 100 µT when shown in tesla.
// B in a unit that is no field (ADC counts) keeps 0.0001 of its own unit.
float percentOfB(const CFieldIntensityResult& sample, CUnits::UnitType display)
{
    const double factor = KVL::UnitsConversionFactor(ConvertUnitsToZRQ5520(display),
                                                     ConvertUnitsToZRQ5520(CUnits::UnitType::MILLI_TESLA));
    const double b = factor > 0 ? double(sample.B()) * factor : double(sample.B());
    if (KVL::AlmostEquals(b, 0.0, 0.0001))
        return NaN;
    const double percent = double(sample.dB()) * 100.0 / double(sample.B());
    return KVL::LesserThan(percent, 10.0, 1.0) ? float(percent) : NaN;
}

float uncertainty(const CFieldIntensityResult& sample, CUnits::UnitType display, CUnits::UnitType unit)
{
    if (unit == CUnits::UnitType::PERCENT)
        return percentOfB(sample, display);
    float converted = NaN;
    KVL::ComputeUnitsConversion(display, sample.dB(), unit, converted);
    return converted;
}
} // namespace

CRangeCheck::CRangeCheck(CAlarmParametersLimits* alarm, CAlarmParametersMeterViewModel* panel,
                         QObject* parent)
    : QObject(parent), m_pAlarm(alarm), m_pPanel(panel)
{
    m_Timer.setInterval(2000);
    connect(&m_Timer, &QTimer::timeout, this, &CRangeCheck::AllowNotify);
    m_Timer.start();
}

float CRangeCheck::Uncertainty(const CFieldIntensityResult& sample, CUnits::UnitType display,
                               CUnits::UnitType uncertaintyUnit)
{
    return uncertainty(sample, display, uncertaintyUnit);
}

void CRangeCheck::ComputeBConverted(CMeasureBlock& block, CUnits::UnitType display,
                                    CUnits::UnitType uncertaintyUnit)
{
    for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block.Results))
        sample->setdBConverted(uncertainty(*sample, display, uncertaintyUnit));
}

void CRangeCheck::Check(const CMeasureBlock& block, CUnits::UnitType display,
                        CUnits::UnitType uncertaintyUnit)
{
    const CAlarmParametersLimits& alarm = *m_pAlarm;
    if (int(alarm.State()) != m_LastState || int(alarm.Axis()) != m_LastAxis)
    {
        m_LastState = int(alarm.State());
        m_LastAxis = int(alarm.Axis());
        m_NotifyAllowed = true;
    }
    if (alarm.State() == CAlarm::AlarmState::Off)
    {
        m_pPanel->setFlagNotification(false);
        return;
    }
    for (const QSharedPointer<CFieldIntensityResult>& sample : block.Results)
    {
        float value = NaN;
        switch (alarm.Axis())
        {
        case CAxis::AxisType::B:
            value = sample->B();
            break;
        case CAxis::AxisType::BBprime:
            value = sample->BBprime();
            break;
        case CAxis::AxisType::Bx:
            value = sample->Bx();
            break;
        case CAxis::AxisType::By:
            value = sample->By();
            break;
        case CAxis::AxisType::Bz:
            value = sample->Bz();
            break;
        case CAxis::AxisType::dB:
            value = Uncertainty(*sample, display, uncertaintyUnit);
            break;
        }
        if (alarm.Minimum() <= value && value <= alarm.Maximum())
        {
            m_pPanel->setFlagNotification(false);
            continue;
        }
        m_Timer.start();
        m_pPanel->setFlagNotification(true);
        if (m_NotifyAllowed)
        {
            const QString axis = CUtils::AxisStateToStringUTF(alarm.Axis());
            const QString unit = CUtils::getUnitText(int(alarm.DisplayAlarmUnits()));
            const QString minimum = CUtils::doubleToString(alarm.Minimum(), 5);
            const QString maximum = CUtils::doubleToString(alarm.Maximum(), 5);
            const QString shown = CUtils::doubleToString(value, 5);
            const QString title = axis + QStringLiteral(" is out-of-limit [") + unit + QStringLiteral("]");
            qCWarning(lcUi).noquote() << title + QStringLiteral(" : Minimum = ") + minimum +
                                             QStringLiteral(", ") + axis + QStringLiteral(" = ") + shown +
                                             QStringLiteral(", Maximum = ") + maximum;
            if (alarm.State() == CAlarm::AlarmState::Notification ||
                alarm.State() == CAlarm::AlarmState::Audio)
                emit AlarmNotification(title,
                                       QStringLiteral("Minimum = ") + minimum + QLatin1Char('\n') + axis +
                                           QStringLiteral(" = ") + shown + QLatin1Char('\n') +
                                           QStringLiteral("Maximum = ") + maximum,
                                       alarm.State() == CAlarm::AlarmState::Audio);
            m_NotifyAllowed = false;
        }
        return;
    }
}
