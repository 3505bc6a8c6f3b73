#pragma once

#include "instruments/CInstrumentsList.h"
#include "viewmodels/CPageViewModel.h"

#include <QStringList>

class CInstrumentSupervisor;

// View model of the instrument selection page: the instruments the drivers
// offer, the default instrument, and the serial port settings for the drivers.
class CConnectionPageViewModel : public CPageViewModel
{
    Q_OBJECT
    Q_PROPERTY(CInstrumentSupervisor* InstrumentSupervisor READ InstrumentSupervisor CONSTANT)
    Q_PROPERTY(CInstrumentsList* ConnectedInstruments READ ConnectedInstruments CONSTANT)
    Q_PROPERTY(QStringList SerialPortNames READ SerialPortNames NOTIFY SerialPortNamesChanged)
    Q_PROPERTY(QStringList BaudrateNames READ BaudrateNames NOTIFY BaudrateNamesChanged)
    Q_PROPERTY(QStringList InstrumentNames READ InstrumentNames NOTIFY InstrumentNamesChanged)
    Q_PROPERTY(
        QString SelectedSerialPortName READ SelectedSerialPortName NOTIFY SelectedSerialPortNameChanged)
    Q_PROPERTY(QString SelectedBaudrateName READ SelectedBaudrateName NOTIFY SelectedBaudrateNameChanged)
    Q_PROPERTY(int SelectedBaudrateIndex READ SelectedBaudrateIndex WRITE setSelectedBaudrateIndex NOTIFY
                   SelectedBaudrateIndexChanged)
    Q_PROPERTY(int SelectedSerialPortNameIndex READ SelectedSerialPortNameIndex WRITE
                   setSelectedSerialPortNameIndex NOTIFY SelectedSerialPortNameIndexChanged)
    Q_PROPERTY(int SelectedDefaultInstrumentIndex READ SelectedDefaultInstrumentIndex WRITE
                   setSelectedDefaultInstrumentIndex NOTIFY SelectedDefaultInstrumentIndexChanged)
    Q_PROPERTY(int ActiveInstrumentIndex READ ActiveInstrumentIndex NOTIFY ActiveInstrumentIndexChanged)
    Q_PROPERTY(QString SerialNumber READ SerialNumber NOTIFY SerialNumberChanged)
    Q_PROPERTY(QString CalibrationDate READ CalibrationDate NOTIFY CalibrationDateChanged)
    Q_PROPERTY(QString ManufacturingDate READ ManufacturingDate NOTIFY ManufacturingDateChanged)
    Q_PROPERTY(QString Manufacturer READ Manufacturer NOTIFY ManufacturerChanged)
    Q_PROPERTY(QString Model READ Model NOTIFY ModelChanged)
    Q_PROPERTY(QString ElectronicsVersion READ ElectronicsVersion NOTIFY ElectronicsVersionChanged)
    Q_PROPERTY(QString ProbeVersion READ ProbeVersion NOTIFY ProbeVersionChanged)
    Q_PROPERTY(QString FirmwareVersion READ FirmwareVersion NOTIFY FirmwareVersionChanged)
    Q_PROPERTY(bool CalibrationOutOfDate READ CalibrationOutOfDate NOTIFY CalibrationOutOfDateChanged)

public:
    CConnectionPageViewModel(CInstrumentSupervisor* supervisor, QObject* parent = nullptr);
    ~CConnectionPageViewModel() override;

    CInstrumentSupervisor* InstrumentSupervisor() const { return m_pSupervisor; }
    CInstrumentsList* ConnectedInstruments() { return &m_ConnectedInstruments; }
    QStringList SerialPortNames() const { return m_SerialPortNames; }
    QStringList BaudrateNames() const { return m_BaudrateNames; }
    QStringList InstrumentNames() const { return m_InstrumentNames; }
    QString SelectedSerialPortName() const { return m_SelectedSerialPortName; }
    QString SelectedBaudrateName() const { return m_SelectedBaudrateName; }
    int SelectedBaudrateIndex() const { return m_SelectedBaudrateIndex; }
    int SelectedSerialPortNameIndex() const { return m_SelectedSerialPortNameIndex; }
    int SelectedDefaultInstrumentIndex() const { return m_SelectedDefaultInstrumentIndex; }
    int ActiveInstrumentIndex() const { return m_ActiveInstrumentIndex; }
    QString SerialNumber() const { return m_SerialNumber; }
    QString CalibrationDate() const { return m_CalibrationDate; }
    QString ManufacturingDate() const { return m_ManufacturingDate; }
    QString Manufacturer() const { return m_Manufacturer; }
    QString Model() const { return m_Model; }
    QString ElectronicsVersion() const { return m_ElectronicsVersion; }
    QString ProbeVersion() const { return m_ProbeVersion; }
    QString FirmwareVersion() const { return m_FirmwareVersion; }
    bool CalibrationOutOfDate() const { return m_CalibrationOutOfDate; }

    void setSelectedBaudrateIndex(int value);
    void setSelectedSerialPortNameIndex(int value);
    void setSelectedDefaultInstrumentIndex(int value);
    void setSerialNumber(const QString& value);
    void setCalibrationDate(const QString& value);
    void setManufacturingDate(const QString& value);
    void setManufacturer(const QString& value);
    void setModel(const QString& value);
    void setElectronicsVersion(const QString& value);
    void setProbeVersion(const QString& value);
    void setFirmwareVersion(const QString& value);

    Q_INVOKABLE void apply();
    Q_INVOKABLE void restore();
    Q_INVOKABLE void setActiveInstrument(int index);
    Q_INVOKABLE void clearActiveInstrument();
    // Asks the drivers' lists again (the page's Refresh).
    Q_INVOKABLE void refreshAvailableInstruments();

    QString HelpPath() override;

    void RefreshActiveInstrument();
    void RefreshInstrumentInformations();
    void SelectDefaultInstrumentIndex();
    void SelectBaudrateIndex();
    void SelectSerialPortNameIndex();

public slots:
    void OnInstrumentListUpdated();
    void OnHasActiveInstrumentChanged();
    void OnConnectionPageParametersChanged();

signals:
    void SerialPortNamesChanged(QStringList value);
    void BaudrateNamesChanged(QStringList value);
    void InstrumentNamesChanged(QStringList value);
    void SelectedSerialPortNameChanged(QString value);
    void SelectedBaudrateNameChanged(QString value);
    void SelectedBaudrateIndexChanged(int value);
    void SelectedSerialPortNameIndexChanged(int value);
    void SelectedDefaultInstrumentIndexChanged(int value);
    void ActiveInstrumentIndexChanged(int value);
    void SerialNumberChanged(QString value);
    void CalibrationDateChanged(QString value);
    void ManufacturingDateChanged(QString value);
    void ManufacturerChanged(QString value);
    void ModelChanged(QString value);
    void ElectronicsVersionChanged(QString value);
    void ProbeVersionChanged(QString value);
    void FirmwareVersionChanged(QString value);
    void CalibrationOutOfDateChanged(bool value);

private:
    CInstrumentSupervisor* m_pSupervisor;
    CInstrumentsList m_ConnectedInstruments;
    QStringList m_SerialPortNames;
    QStringList m_BaudrateNames;
    QStringList m_InstrumentNames;
    QString m_SelectedSerialPortName;
    QString m_SelectedBaudrateName;
    int m_SelectedBaudrateIndex = -1;
    int m_SelectedSerialPortNameIndex = -1;
    int m_SelectedDefaultInstrumentIndex = -1;
    int m_ActiveInstrumentIndex = -1;
    QString m_SerialNumber;
    QString m_CalibrationDate;
    QString m_ManufacturingDate;
    QString m_Manufacturer;
    QString m_Model;
    QString m_ElectronicsVersion;
    QString m_ProbeVersion;
    QString m_FirmwareVersion;
    bool m_CalibrationOutOfDate = false;
    bool m_Restored = false;
    QList<QMetaObject::Connection> m_Connections;

private:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setSelectedSerialPortName(const QString& value);
    void setSelectedBaudrateName(const QString& value);
    void setActiveInstrumentIndex(int value);
    void setCalibrationOutOfDate(bool value);
};
