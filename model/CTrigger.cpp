#include "model/CTrigger.h"

namespace
{
const QString& triggerText(int value)
{
    static const QString texts[] = {QString(), QStringLiteral("Continuous"), QStringLiteral("Immediate"),
                                    QStringLiteral("Timer"), QStringLiteral("External")};
    static const QString empty;
    if (value < 1 || value > 4)
        return empty;
    return texts[value];
}
} // namespace

CTrigger::CTrigger(QObject* parent) : QObject(parent) {}

QString CTriggerToQString(CTrigger::TriggerMode mode)
{
    return triggerText(static_cast<int>(mode));
}

CTrigger::TriggerMode QStringToCTrigger(const QString& text)
{
    for (int value = 1; value <= 4; ++value)
    {
        if (text == triggerText(value))
            return static_cast<CTrigger::TriggerMode>(value);
    }
    return CTrigger::TriggerMode::CONTINUOUS;
}
