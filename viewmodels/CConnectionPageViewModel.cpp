#include "viewmodels/CConnectionPageViewModel.h"

#include "app/CPrompt.h"
#include "app/LogCategories.h"
#include "instruments/CInstrumentSupervisor.h"
#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QSerialPortInfo>

CConnectionPageViewModel::CConnectionPageViewModel(CInstrumentSupervisor* supervisor, QObject* parent)
    : CPageViewModel(QStringLiteral("Connection"), parent), m_pSupervisor(supervisor)
{
    m_BaudrateNames = QStringList{"110",   "300",   "600",   "1200",   "2400",   "4800",   "9600",  "14400",
                                  "19200", "38400", "57600", "115200", "230400", "460800", "921600"};
    emit BaudrateNamesChanged(m_BaudrateNames);
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports)
        m_SerialPortNames.append(port.portName());
    emit SerialPortNamesChanged(m_SerialPortNames);

    m_Connections << connect(m_pSupervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged, this,
                             &CConnectionPageViewModel::OnHasActiveInstrumentChanged);
    m_Connections << connect(m_pSupervisor, &CInstrumentSupervisor::AvailableInstrumentUpdated, this,
                             &CConnectionPageViewModel::OnInstrumentListUpdated);

    m_pSupervisor->RefreshAvailableInstruments();
    OnInstrumentListUpdated();
    RefreshInstrumentInformations();

    m_Connections << connect(this, &CConnectionPageViewModel::SelectedDefaultInstrumentIndexChanged, this,
                             &CConnectionPageViewModel::OnConnectionPageParametersChanged);
    m_Connections << connect(this, &CConnectionPageViewModel::SelectedSerialPortNameIndexChanged, this,
                             &CConnectionPageViewModel::OnConnectionPageParametersChanged);
    m_Connections << connect(this, &CConnectionPageViewModel::SelectedBaudrateIndexChanged, this,
                             &CConnectionPageViewModel::OnConnectionPageParametersChanged);
    restore();
}

CConnectionPageViewModel::~CConnectionPageViewModel()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_Connections))
        disconnect(connection);
}

QString CConnectionPageViewModel::HelpPath()
{
    return QStringLiteral("connection");
}

void CConnectionPageViewModel::OnInstrumentListUpdated()
{
    const CConnectionPageSettings& remembered = *m_pSupervisor->ConnectionPageSettings();
    m_ConnectedInstruments.clear();
    m_InstrumentNames = QStringList{QStringLiteral("None")};
    bool found = false;
    const auto instruments = m_pSupervisor->AvailableInstruments();
    for (const QSharedPointer<CInstrument>& instrument : instruments)
    {
        if (!instrument)
            continue;
        m_ConnectedInstruments.addInstrument(instrument);
        m_InstrumentNames.append(instrument->Name() + QStringLiteral(" - ") + instrument->SerialNumber());
        if (instrument->SerialNumber() == remembered.SerialNumber)
            found = true;
    }
    // The default instrument stays selectable while it is absent.
    if (!found && !remembered.Name.isEmpty() && !remembered.SerialNumber.isEmpty())
        m_InstrumentNames.append(remembered.Name + QStringLiteral(" - ") + remembered.SerialNumber);
    emit InstrumentNamesChanged(m_InstrumentNames);
    RefreshActiveInstrument();
    SelectDefaultInstrumentIndex();
}

void CConnectionPageViewModel::SelectDefaultInstrumentIndex()
{
    const QSharedPointer<CInstrument> defaultInstrument = m_pSupervisor->GetDefaultInstrument();
    int index = -1;
    if (defaultInstrument)
        index = m_pSupervisor->AvailableInstruments().indexOf(defaultInstrument) + 1;
    else if (!m_InstrumentNames.isEmpty())
    {
        const CConnectionPageSettings& remembered = *m_pSupervisor->ConnectionPageSettings();
        index = std::max(
            0, m_InstrumentNames.indexOf(remembered.Name + QStringLiteral(" - ") + remembered.SerialNumber));
    }
    setSelectedDefaultInstrumentIndex(index);
}

void CConnectionPageViewModel::SelectBaudrateIndex()
{
    setSelectedBaudrateIndex(
        std::max(0, m_BaudrateNames.indexOf(m_pSupervisor->ConnectionPageSettings()->BaudRate)));
}

void CConnectionPageViewModel::SelectSerialPortNameIndex()
{
    setSelectedSerialPortNameIndex(
        std::max(0, m_SerialPortNames.indexOf(m_pSupervisor->ConnectionPageSettings()->SerialPort)));
}

void CConnectionPageViewModel::restore()
{
    const CConnectionPageSettings& remembered = *m_pSupervisor->ConnectionPageSettings();
    setSelectedBaudrateName(remembered.BaudRate);
    setSelectedSerialPortName(remembered.SerialPort);
    SelectBaudrateIndex();
    SelectSerialPortNameIndex();
    SelectDefaultInstrumentIndex();
    m_Restored = true;
    // What is shown is what is saved again: nothing is left to ask about when leaving.
    setHasUnsavedParameter(false);
}

void CConnectionPageViewModel::OnConnectionPageParametersChanged()
{
    if (m_SelectedBaudrateIndex >= 0 && m_SelectedBaudrateIndex < m_BaudrateNames.size())
        setSelectedBaudrateName(m_BaudrateNames.at(m_SelectedBaudrateIndex));
    if (m_SelectedSerialPortNameIndex >= 0 && m_SelectedSerialPortNameIndex < m_SerialPortNames.size())
        setSelectedSerialPortName(m_SerialPortNames.at(m_SelectedSerialPortNameIndex));
    if (m_Restored)
        setHasUnsavedParameter(true);
}

void CConnectionPageViewModel::apply()
{
    m_pSupervisor->SetSerialPortSettings(m_SelectedSerialPortName, m_SelectedBaudrateName.toInt());
    QString name;
    QString serialNumber;
    if (m_SelectedDefaultInstrumentIndex >= 1 && m_SelectedDefaultInstrumentIndex < m_InstrumentNames.size())
    {
        // A name may itself contain " - "; the serial number follows the last one.
        const QString& entry = m_InstrumentNames.at(m_SelectedDefaultInstrumentIndex);
        const int separator = entry.lastIndexOf(QStringLiteral(" - "));
        if (separator >= 0)
        {
            name = entry.left(separator);
            serialNumber = entry.mid(separator + 3);
        }
    }
    if (!m_pSupervisor->SaveConnectionSettings(m_SelectedSerialPortName, m_SelectedBaudrateName, name,
                                               serialNumber))
    {
        // Not saved: said so, and the page still holds unsaved choices.
        CPrompt::Current().Error(
            tr("Could not save the connection settings"),
            tr("The file %1 could not be written.").arg(m_pSupervisor->ConnectionPageSettings()->FilePath()));
        return;
    }
    OnInstrumentListUpdated();
    setHasUnsavedParameter(false);
}

void CConnectionPageViewModel::setActiveInstrument(int index)
{
    const QList<QSharedPointer<CInstrument>> available = m_pSupervisor->AvailableInstruments();
    // The page offers only existing rows; anything else is refused rather than activating nothing.
    if (index < 0 || index >= available.size())
    {
        qCWarning(lcInstruments) << "No instrument at row" << index;
        return;
    }
    m_pSupervisor->SetActiveInstrument(available.at(index));
    RefreshActiveInstrument();
}

void CConnectionPageViewModel::refreshAvailableInstruments()
{
    m_pSupervisor->RefreshAvailableInstruments();
}

void CConnectionPageViewModel::clearActiveInstrument()
{
    qCDebug(lcInstruments) << "Active instrument cleared";
    m_pSupervisor->ClearActiveInstrument();
    RefreshActiveInstrument();
}

void CConnectionPageViewModel::RefreshActiveInstrument()
{
    setActiveInstrumentIndex(-1);
    const QSharedPointer<CInstrument> active = m_pSupervisor->Instrument().toStrongRef();
    if (!active)
        return;
    const QList<QSharedPointer<CInstrument>> available = m_pSupervisor->AvailableInstruments();
    for (int row = 0; row < available.size(); ++row)
    {
        if (available.at(row) && available.at(row)->SerialNumber() == active->SerialNumber() &&
            available.at(row)->IsConnected())
        {
            setActiveInstrumentIndex(row);
            return;
        }
    }
}

void CConnectionPageViewModel::OnHasActiveInstrumentChanged()
{
    RefreshInstrumentInformations();
}

void CConnectionPageViewModel::RefreshInstrumentInformations()
{
    const QSharedPointer<CInstrument> active = m_pSupervisor->Instrument().toStrongRef();
    if (!active)
    {
        setSerialNumber(QString());
        setCalibrationDate(QString());
        setManufacturingDate(QString());
        setManufacturer(QString());
        setModel(QString());
        setElectronicsVersion(QString());
        setProbeVersion(QString());
        setFirmwareVersion(QString());
        setCalibrationOutOfDate(false);
        return;
    }
    setSerialNumber(active->SerialNumber().trimmed());
    setManufacturer(active->Manufacturer().trimmed());
    setModel(active->Model().trimmed());
    setElectronicsVersion(active->ElectronicsVersion().trimmed());
    setProbeVersion(active->ProbeVersion().trimmed());
    setFirmwareVersion(active->FirmwareVersion().trimmed());
    setCalibrationDate(active->CalibrationDate().toString(QStringLiteral("yyyy-MM-dd")));
    setManufacturingDate(active->ManufacturingDate().toString(QStringLiteral("yyyy-MM-dd")));
    setCalibrationOutOfDate(active->CalibrationDate().isValid() &&
                            active->CalibrationDate().daysTo(QDateTime::currentDateTime()) > 365);
}

TESVANA_SETTER(CConnectionPageViewModel, const QString&, SelectedSerialPortName)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, SelectedBaudrateName)
TESVANA_SETTER(CConnectionPageViewModel, int, SelectedBaudrateIndex)
TESVANA_SETTER(CConnectionPageViewModel, int, SelectedSerialPortNameIndex)
TESVANA_SETTER(CConnectionPageViewModel, int, SelectedDefaultInstrumentIndex)
TESVANA_SETTER(CConnectionPageViewModel, int, ActiveInstrumentIndex)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, SerialNumber)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, CalibrationDate)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, ManufacturingDate)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, Manufacturer)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, Model)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, ElectronicsVersion)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, ProbeVersion)
TESVANA_SETTER(CConnectionPageViewModel, const QString&, FirmwareVersion)
TESVANA_SETTER(CConnectionPageViewModel, bool, CalibrationOutOfDate)
