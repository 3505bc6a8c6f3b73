#include "app/CUtils.h"

#include "app/CPrompt.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>
#include <QTextStream>
#include <QTouchDevice>

#include <cmath>

namespace
{
// Integer digits of a value for the table formats: the length of the floor's
// text without its sign, or `zeroDigits` for values whose floor is 0 or that
// lie between -1 and 0.
int integerDigits(double value, const QString& floorText, int zeroDigits)
{
    const double floorValue = std::floor(value);
    if (floorValue == 0.0 || (value > -1.0 && value < 0.0))
        return zeroDigits;
    return floorText.length() - (floorText.startsWith(QLatin1Char('-')) ? 1 : 0);
}
} // namespace

CUtils::CUtils(QObject* parent) : QObject(parent) {}

QString CUtils::doubleToStringPointAlignment(double value)
{
    const QString floorText = QString::number(std::floor(value), 'f', 0);
    const int digits = integerDigits(value, floorText, 0);
    QString result;
    if (floorText.length() < 7)
        result.fill(QLatin1Char(' '), 7 - floorText.length());
    result += digits > 3 ? floorText : QString::number(value, 'f', 4 - digits);
    if (result.length() < 12)
        result += QString(12 - result.length(), QLatin1Char(' '));
    return result;
}

QString CUtils::doubleToString(double value, int significantNb, bool leftSpacePadding)
{
    const int precision = significantNb < 0 ? 5 : significantNb;
    const QString floorText = QString::number(std::floor(value), 'f', 0);
    const int digits = integerDigits(value, floorText, 1);
    // More integer digits than significant ones asked for: no decimals rather
    // than a negative precision.
    QString result = digits > 3 ? floorText : QString::number(value, 'f', std::max(0, precision - digits));
    const int width = precision + (value < 0 ? 1 : 0);
    if (leftSpacePadding && width <= 6)
        result.prepend(QString(7 - width, QLatin1Char(' ')));
    return result;
}

QString CUtils::intToString(double value)
{
    return QString::number(value, 'g', 6);
}

QString CUtils::fileNameFromPath(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString CUtils::getUnitText(int unit)
{
    return CUnitsToQString(static_cast<CUnits::UnitType>(unit));
}

QString CUtils::getTriggerText(int trigger)
{
    return CTriggerToQString(static_cast<CTrigger::TriggerMode>(trigger));
}

bool CUtils::isTouchDevice()
{
    return !QTouchDevice::devices().isEmpty();
}

bool CUtils::isUnix()
{
    const QString kernel = QSysInfo::kernelType();
    return kernel == QLatin1String("darwin") || kernel == QLatin1String("linux");
}

bool CUtils::isLinux()
{
    return QSysInfo::kernelType() == QLatin1String("linux");
}

bool CUtils::isMacOs()
{
    return QSysInfo::kernelType() == QLatin1String("darwin");
}

void CUtils::saveFile(const QString& path, const QString& text)
{
    // Written beside the target and renamed into place, so a failed write
    // never leaves a half-written file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    {
        errorMessage(tr("Could not save file"), tr("Could not open file %1").arg(path));
        return;
    }
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << text;
    stream.flush();
    if (!file.commit())
        errorMessage(tr("Could not save file"), tr("Could not write file %1").arg(path));
}

QString CUtils::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        errorMessage(tr("Could not load file"), tr("Could not open file %1").arg(path));
        return QString();
    }
    QByteArray bytes = file.readAll();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return QString::fromUtf8(bytes);
}

bool CUtils::askDataLoseConfirmation(const QString& text, const QString& informativeText)
{
    return CPrompt::Current().Confirm(text, informativeText);
}

bool CUtils::askParameterLoseConfirmation()
{
    return CPrompt::Current().Confirm(tr("Are you sure you want to quit the current page ?"),
                                      tr("All unsaved settings will be lost"));
}

void CUtils::errorMessage(const QString& text, const QString& informativeText)
{
    CPrompt::Current().Error(text, informativeText);
}

void CUtils::informationMessage(const QString& text, const QString& informativeText)
{
    CPrompt::Current().Information(text, informativeText);
}

QString CUtils::AlarmStateToString(CAlarm::AlarmState state)
{
    switch (state)
    {
    case CAlarm::AlarmState::Off:
        return QStringLiteral("Off");
    case CAlarm::AlarmState::Notification:
        return QStringLiteral("Notification");
    case CAlarm::AlarmState::Audio:
        return QStringLiteral("Audio");
    case CAlarm::AlarmState::FlagNotification:
        return QStringLiteral("Flag Notification");
    }
    return QString();
}

CAlarm::AlarmState CUtils::StringToAlarmState(const QString& text)
{
    for (int value = 1; value <= 4; ++value)
    {
        const auto state = static_cast<CAlarm::AlarmState>(value);
        if (text == AlarmStateToString(state))
            return state;
    }
    return CAlarm::AlarmState::Off;
}

QString CUtils::AxisStateToString(CAxis::AxisType axis)
{
    switch (axis)
    {
    case CAxis::AxisType::B:
        return QStringLiteral("B");
    case CAxis::AxisType::BBprime:
        return QStringLiteral("B.B'");
    case CAxis::AxisType::Bx:
        return QStringLiteral("Bx");
    case CAxis::AxisType::By:
        return QStringLiteral("By");
    case CAxis::AxisType::Bz:
        return QStringLiteral("Bz");
    case CAxis::AxisType::dB:
        return QStringLiteral("dB");
    }
    return QString();
}

QString CUtils::AxisStateToStringUTF(CAxis::AxisType axis)
{
    switch (axis)
    {
    case CAxis::AxisType::BBprime:
        return QStringLiteral("B\u00B7B'");
    case CAxis::AxisType::dB:
        return QStringLiteral("\u03B5(B)");
    default:
        return AxisStateToString(axis);
    }
}

CAxis::AxisType CUtils::StringToAxisState(const QString& text)
{
    // "dB" and anything unknown fall through to dB.
    for (int value = 1; value <= 5; ++value)
    {
        const auto axis = static_cast<CAxis::AxisType>(value);
        if (text == AxisStateToString(axis))
            return axis;
    }
    return CAxis::AxisType::dB;
}
