#pragma once

#include "operations/CAcquisitionSession.h"
#include "operations/COperationParameters.h"

#include <QDomElement>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QXmlStreamWriter>

#include <limits>

class CInstrument;
class CMeasureBlock;
class CInstrumentSupervisor;
class CTriggerPlugin;

// What the user is doing with the instrument. Starts and stops acquisition on
// the active instrument, drives the external trigger plug-in, and saves and
// loads the operation parameter files.
class COperation : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE setName NOTIFY NameChanged)
    Q_PROPERTY(bool SessionInProgress READ SessionInProgress WRITE setSessionInProgress NOTIFY
                   SessionInProgressChanged)
    Q_PROPERTY(COperationParameters* OperationParameters READ OperationParameters CONSTANT)
    Q_PROPERTY(CInstrument* Instrument READ Instrument CONSTANT)
public:
    explicit COperation(CInstrumentSupervisor& supervisor, QObject* parent = nullptr);

    QString Name() const { return m_Name; }
    bool SessionInProgress() const { return m_SessionInProgress; }
    COperationParameters* OperationParameters() { return &m_OperationParameters; }
    // Looked up on every read: the supervisor's active instrument, or null.
    CInstrument* Instrument() const;
    CMeasurementParameters* MeasurementParameters() { return m_OperationParameters.MeasurementParameters(); }

    void setName(const QString& value);
    void setSessionInProgress(bool value);

    void StartExternalTriggerPlugin();
    void StopExternalTriggerPlugin();
    // True when the whole file was written (it replaces the previous file only then).
    Q_INVOKABLE bool SaveParameters(const QString& filePath);
    Q_INVOKABLE bool LoadParameters(const QString& filePath);
    bool SaveParametersInDefaultFolder(const QString& fileName);
    bool LoadParametersInDefaultFolder(const QString& fileName);
    virtual quint64 MaxMeasurementCount() const = 0;
    virtual bool HasUnsavedData() const;
    virtual bool IsDataSetEmpty() const = 0;

public slots:
    virtual void initialize() = 0;
    virtual void terminate() = 0;
    virtual void start();
    virtual void stop();
    // After a change of unit: the instrument takes the new unit at once, and a running
    // acquisition goes on in a new session, so that no block measured in the old unit
    // (still on its way from the driver) is ever taken for the new one.
    void ApplyUnitChange();
    virtual void clear() = 0;
    virtual QList<CTriggerPlugin*> AvailableTriggerPlugins() = 0;
    virtual void WriteCustomParameters(QXmlStreamWriter& writer) = 0;
    virtual void ReadCustomParameters(QDomElement& element) = 0;
    // A block of the instrument, while an acquisition session lasts.
    virtual void OnNewMeasure(QSharedPointer<CMeasureBlock> block) = 0;

signals:
    void NameChanged(QString value);
    void SessionInProgressChanged(bool value);
    void OnLoadMeasParametersDone();

protected:
    // A number of a parameter file into `value`: only a finite number within [min, max];
    // anything else leaves `value` as it is, is logged, and gives false.
    static bool l_ReadFileNumber(const QString& name, const QString& text, double& value,
                                 double min = -std::numeric_limits<double>::max(),
                                 double max = std::numeric_limits<double>::max());
    // The active instrument's blocks reach OnNewMeasure from here until the session ends;
    // blocks still queued from an ended session are dropped.
    void l_BeginAcquisitionSession();
    void l_EndAcquisitionSession();

    CInstrumentSupervisor& m_InstrumentSupervisor;

private:
    void l_ReadMeasurementSection(const QDomElement& section);

    QString m_Name;
    bool m_SessionInProgress = false;
    COperationParameters m_OperationParameters;
    QPointer<CAcquisitionSession> m_pAcquisitionSession;
};
