#include "instruments/CConnectionPageSettings.h"

#include "app/CConstants.h"
#include "app/CSettings.h"
#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"
#include "app/LogCategories.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

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
    const QString path = FilePath();
    QFile file(path);
    if (!file.exists())
        return;

    QXmlStreamReader reader;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        reader.setDevice(&file);
        if (reader.readNextStartElement())
        {
            if (reader.name() != QLatin1String("SETTINGS"))
                reader.raiseError(tr("Incorrect file"));
            else
            {
                while (reader.readNextStartElement())
                {
                    const QStringRef name = reader.name();
                    QString* target = nullptr;
                    if (name == QLatin1String("Name"))
                        target = &Name;
                    else if (name == QLatin1String("SerialNumber"))
                        target = &SerialNumber;
                    else if (name == QLatin1String("SerialPort"))
                        target = &SerialPort;
                    else if (name == QLatin1String("BaudRate"))
                        target = &BaudRate;
                    if (!target)
                    {
                        CXmlNesting::SkipCurrentElement(reader);
                        continue;
                    }
                    const QString text = reader.readElementText();
                    if (reader.hasError())
                        break;
                    *target = text;
                }
            }
        }
    }
    file.close();

    CXmlReadReport::Log(path, reader.hasError(), reader.errorString(), file);
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    {
        qCDebug(lcInstruments).noquote() << QStringLiteral("Error: Cannot create file : ") + path;
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("SETTINGS"));
    writer.writeTextElement(QStringLiteral("Name"), Name);
    writer.writeTextElement(QStringLiteral("SerialNumber"), SerialNumber);
    writer.writeTextElement(QStringLiteral("SerialPort"), SerialPort);
    writer.writeTextElement(QStringLiteral("BaudRate"), BaudRate);
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit())
    {
        qCDebug(lcInstruments).noquote() << QStringLiteral("Error: Cannot create file : ") + path;
        return false;
    }
    return true;
}
