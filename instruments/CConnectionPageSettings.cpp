#include "instruments/CConnectionPageSettings.h"

#include "app/CConstants.h"
#include "app/CSettings.h"
#include "app/CXmlElementsReader.h"
#include "app/CXmlElementsWriter.h"
#include "app/LogCategories.h"

#include <QDebug>
#include <QDir>
#include <QFile>

CConnectionPageSettings::CConnectionPageSettings(CSettings& settings, QObject* parent)
    : QObject(parent), m_Settings(settings)
{
    RestoreConnectionSettings();
}

QString CConnectionPageSettings::FilePath() const
{
    return m_Settings.InstrumentParameterPath() + QLatin1Char('/') + CConstants::ConnectionSettingsFilename;
}

void CConnectionPageSettings::RestoreConnectionSettings()
{
    const auto target = [this](const QString& name) -> QString* {
        if (name == QLatin1String("Name"))
            return &Name;
        if (name == QLatin1String("SerialNumber"))
            return &SerialNumber;
        if (name == QLatin1String("SerialPort"))
            return &SerialPort;
        if (name == QLatin1String("BaudRate"))
            return &BaudRate;
        return nullptr;
    };
    CXmlElementsReader::Read(
        FilePath(), QStringLiteral("SETTINGS"), [&](const QString& name) { return target(name) != nullptr; },
        [&](const QString& name, const QString& text) { *target(name) = text; });
}

bool CConnectionPageSettings::SaveConnectionSettings(const QString& serialPort, const QString& baudRate,
                                                     const QString& name, const QString& serialNumber)
{
    SerialPort = serialPort;
    BaudRate = baudRate;
    Name = name;
    SerialNumber = serialNumber;

    const QString folder = m_Settings.InstrumentParameterPath();
    QDir().mkpath(folder);
    const QString path = FilePath();
    // Replaced atomically: an interrupted write keeps the previous choices.
    QString error;
    if (!CXmlElementsWriter::Write(path, QStringLiteral("SETTINGS"),
                                   {{QStringLiteral("Name"), Name},
                                    {QStringLiteral("SerialNumber"), SerialNumber},
                                    {QStringLiteral("SerialPort"), SerialPort},
                                    {QStringLiteral("BaudRate"), BaudRate}},
                                   &error))
    {
        qCDebug(lcInstruments).noquote()
            << QStringLiteral("Error: Cannot create file : ") + path + QStringLiteral(" : ") + error;
        return false;
    }
    return true;
}
