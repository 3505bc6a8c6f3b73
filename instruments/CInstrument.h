#pragma once

#include "instruments/CInstrumentInterface.h"
#include "model/CBoundedParm.h"
#include "model/CMeasureBlock.h"
#include "model/CMeasurementParameters.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

// One physical instrument as the program sees it. Drivers derive from it and
// implement the operations; the program only holds weak references to the
// active one.
class CInstrument : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE setName NOTIFY NameChanged)
    Q_PROPERTY(
        CInstrumentInterface::Interface Interface READ Interface WRITE setInterface NOTIFY InterfaceChanged)
    Q_PROPERTY(QString StatusString READ StatusString WRITE setStatusString NOTIFY StatusStringChanged)
    Q_PROPERTY(QStringList MessagesHistory READ MessagesHistory WRITE setMessagesHistory NOTIFY
                   MessagesHistoryChanged)
    Q_PROPERTY(QString LastMessage READ LastMessage WRITE setLastMessage NOTIFY LastMessageChanged)
    Q_PROPERTY(int ErrorCode READ ErrorCode WRITE setErrorCode NOTIFY ErrorCodeChanged)
    Q_PROPERTY(QString RessourceName READ RessourceName WRITE setRessourceName NOTIFY RessourceNameChanged)
    Q_PROPERTY(QString SerialNumber READ SerialNumber WRITE setSerialNumber NOTIFY SerialNumberChanged)
    Q_PROPERTY(
        QDateTime CalibrationDate READ CalibrationDate WRITE setCalibrationDate NOTIFY CalibrationDateChanged)
    Q_PROPERTY(QDateTime ManufacturingDate READ ManufacturingDate WRITE setManufacturingDate NOTIFY
                   ManufacturingDateChanged)
    Q_PROPERTY(QString Manufacturer READ Manufacturer WRITE setManufacturer NOTIFY ManufacturerChanged)
    Q_PROPERTY(QString Model READ Model WRITE setModel NOTIFY ModelChanged)
    Q_PROPERTY(QString ElectronicsVersion READ ElectronicsVersion WRITE setElectronicsVersion NOTIFY
                   ElectronicsVersionChanged)
    Q_PROPERTY(QString ProbeVersion READ ProbeVersion WRITE setProbeVersion NOTIFY ProbeVersionChanged)
    Q_PROPERTY(
        QString FirmwareVersion READ FirmwareVersion WRITE setFirmwareVersion NOTIFY FirmwareVersionChanged)
    Q_PROPERTY(QList<float> RangeList READ RangeList WRITE setRangeList NOTIFY RangeListChanged)
    Q_PROPERTY(QList<CUnits::UnitType> UnitList READ UnitList WRITE setUnitList NOTIFY UnitListChanged)
    Q_PROPERTY(QStringList DivisorList READ DivisorList WRITE setDivisorList NOTIFY DivisorListChanged)
    Q_PROPERTY(QList<CTrigger::TriggerMode> TriggerList READ TriggerList WRITE setTriggerList NOTIFY
                   TriggerListChanged)
    Q_PROPERTY(bool IsRunning READ IsRunning WRITE setIsRunning NOTIFY IsRunningChanged)
    Q_PROPERTY(bool IsConnected READ IsConnected WRITE setIsConnected NOTIFY IsConnectedChanged)
    Q_PROPERTY(CBoundedParm* AveragingBound READ AveragingBound CONSTANT)
    Q_PROPERTY(CBoundedParm* DisplayRateBound READ DisplayRateBound CONSTANT)
    Q_PROPERTY(CBoundedParm* BlockSizeBound READ BlockSizeBound CONSTANT)
    Q_PROPERTY(CBoundedParm* AcquisitionRateBound READ AcquisitionRateBound CONSTANT)
    Q_PROPERTY(CBoundedParm* TesvanaAcquisitionRateBound READ TesvanaAcquisitionRateBound CONSTANT)
    Q_PROPERTY(CBoundedParm* TesvanaDisplayRateBound READ TesvanaDisplayRateBound CONSTANT)
    Q_PROPERTY(CBoundedParm* FrequencyMinBound READ FrequencyMinBound CONSTANT)
    Q_PROPERTY(CBoundedParm* FrequencyMaxBound READ FrequencyMaxBound CONSTANT)
    Q_PROPERTY(CMeasurementParameters* MeasurementParameters READ MeasurementParameters WRITE
                   setMeasurementParameters NOTIFY MeasurementParametersChanged)

public:
    explicit CInstrument(QObject* parent = nullptr);
    ~CInstrument() override;

    QString Name() const { return m_Name; }
    CInstrumentInterface::Interface Interface() const { return m_Interface; }
    QString StatusString() const { return m_StatusString; }
    QStringList MessagesHistory() const { return m_MessagesHistory; }
    QString LastMessage() const { return m_LastMessage; }
    int ErrorCode() const { return m_ErrorCode; }
    QString RessourceName() const { return m_RessourceName; }
    QString SerialNumber() const { return m_SerialNumber; }
    QDateTime CalibrationDate() const { return m_CalibrationDate; }
    QDateTime ManufacturingDate() const { return m_ManufacturingDate; }
    QString Manufacturer() const { return m_Manufacturer; }
    QString Model() const { return m_Model; }
    QString ElectronicsVersion() const { return m_ElectronicsVersion; }
    QString ProbeVersion() const { return m_ProbeVersion; }
    QString FirmwareVersion() const { return m_FirmwareVersion; }
    QList<float> RangeList() const { return m_RangeList; }
    QList<CUnits::UnitType> UnitList() const { return m_UnitList; }
    QStringList DivisorList() const { return m_DivisorList; }
    QList<CTrigger::TriggerMode> TriggerList() const { return m_TriggerList; }
    bool IsRunning() const { return m_IsRunning; }
    bool IsConnected() const { return m_IsConnected; }
    CBoundedParm* AveragingBound() { return &m_AveragingBound; }
    CBoundedParm* DisplayRateBound() { return &m_DisplayRateBound; }
    CBoundedParm* BlockSizeBound() { return &m_BlockSizeBound; }
    CBoundedParm* AcquisitionRateBound() { return &m_AcquisitionRateBound; }
    CBoundedParm* TesvanaAcquisitionRateBound() { return &m_TesvanaAcquisitionRateBound; }
    CBoundedParm* TesvanaDisplayRateBound() { return &m_TesvanaDisplayRateBound; }
    CBoundedParm* FrequencyMinBound() { return &m_FrequencyMinBound; }
    CBoundedParm* FrequencyMaxBound() { return &m_FrequencyMaxBound; }
    CMeasurementParameters* MeasurementParameters() const { return m_MeasurementParameters; }

    void setName(const QString& value);
    void setInterface(CInstrumentInterface::Interface value);
    void setStatusString(const QString& value);
    void setMessagesHistory(const QStringList& value);
    void setLastMessage(const QString& value);
    void setErrorCode(int value);
    void setRessourceName(const QString& value);
    void setSerialNumber(const QString& value);
    void setCalibrationDate(const QDateTime& value);
    void setManufacturingDate(const QDateTime& value);
    void setManufacturer(const QString& value);
    void setModel(const QString& value);
    void setElectronicsVersion(const QString& value);
    void setProbeVersion(const QString& value);
    void setFirmwareVersion(const QString& value);
    void setRangeList(const QList<float>& value);
    void setUnitList(const QList<CUnits::UnitType>& value);
    void setDivisorList(const QStringList& value);
    void setTriggerList(const QList<CTrigger::TriggerMode>& value);
    void setIsRunning(bool value);
    void setIsConnected(bool value);
    void setMeasurementParameters(CMeasurementParameters* value);

public slots:
    virtual void SendTrigger() = 0;
    virtual bool Connect() = 0;
    virtual void Disconnect() = 0;
    virtual void StartMeasurement() = 0;
    virtual void StopMeasurement() = 0;
    virtual void CalibrateZeroOffset(bool forceCalibration = false) = 0;
    virtual void RestoreZeroOffsetToFactory() = 0;

signals:
    void NameChanged(QString value);
    void InterfaceChanged(CInstrumentInterface::Interface value);
    void StatusStringChanged(QString value);
    void MessagesHistoryChanged(QStringList value);
    void LastMessageChanged(QString value);
    void ErrorCodeChanged(int value);
    void RessourceNameChanged(QString value);
    void SerialNumberChanged(QString value);
    void CalibrationDateChanged(QDateTime value);
    void ManufacturingDateChanged(QDateTime value);
    void ManufacturerChanged(QString value);
    void ModelChanged(QString value);
    void ElectronicsVersionChanged(QString value);
    void ProbeVersionChanged(QString value);
    void FirmwareVersionChanged(QString value);
    void RangeListChanged(QList<float> value);
    void UnitListChanged(QList<CUnits::UnitType> value);
    void DivisorListChanged(QStringList value);
    void TriggerListChanged(QList<CTrigger::TriggerMode> value);
    void IsRunningChanged(bool value);
    void IsConnectedChanged(bool value);
    void MeasurementParametersChanged(CMeasurementParameters* value);

    void OnNewMeasureBlock(QSharedPointer<CMeasureBlock> measureBlock);
    void OnUnitListUpdated();
    void OnHasAdcUpdated();
    void OnRangeListUpdated();
    void OnTriggerListUpdated();

private:
    QString m_Name;
    CInstrumentInterface::Interface m_Interface = CInstrumentInterface::Unknown;
    QString m_StatusString;
    QStringList m_MessagesHistory;
    QString m_LastMessage;
    int m_ErrorCode = 0;
    QString m_RessourceName;
    QString m_SerialNumber;
    QDateTime m_CalibrationDate;
    QDateTime m_ManufacturingDate;
    QString m_Manufacturer;
    QString m_Model;
    QString m_ElectronicsVersion;
    QString m_ProbeVersion;
    QString m_FirmwareVersion;
    QList<float> m_RangeList;
    QList<CUnits::UnitType> m_UnitList;
    QStringList m_DivisorList;
    QList<CTrigger::TriggerMode> m_TriggerList;
    bool m_IsRunning = false;
    bool m_IsConnected = false;
    CBoundedParm m_AveragingBound;
    CBoundedParm m_DisplayRateBound;
    CBoundedParm m_BlockSizeBound;
    CBoundedParm m_AcquisitionRateBound;
    CBoundedParm m_TesvanaAcquisitionRateBound;
    CBoundedParm m_TesvanaDisplayRateBound;
    CBoundedParm m_FrequencyMinBound;
    CBoundedParm m_FrequencyMaxBound;
    CMeasurementParameters* m_MeasurementParameters = nullptr;
};
