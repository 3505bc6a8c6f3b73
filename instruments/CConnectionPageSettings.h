#pragma once

#include <QObject>
#include <QString>

class CSettings;

// The remembered serial port, baud rate and default instrument, persisted in
// "TesvanaConnectionSettings.xml".
class CConnectionPageSettings : public QObject
{
    Q_OBJECT
public:
    explicit CConnectionPageSettings(CSettings& settings, QObject* parent = nullptr);

    void RestoreConnectionSettings();
    bool SaveConnectionSettings(const QString& serialPort, const QString& baudRate, const QString& name,
                                const QString& serialNumber);
    QString FilePath() const;

    QString SerialPort;
    QString BaudRate;
    QString Name;
    QString SerialNumber;

private:
    CSettings& m_Settings;
};
