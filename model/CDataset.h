#pragma once

#include "model/CUnits.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CSettings;
#include "model/CMeasurementParameters.h"

// The common part of a recording: header values and the size counter. The
// block queues live in the two kinds below.
class CDataset : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Comment READ Comment WRITE setComment NOTIFY CommentChanged)
    Q_PROPERTY(qulonglong ResultsCount READ ResultsCount WRITE setResultsCount NOTIFY ResultsCountChanged)
    Q_PROPERTY(bool Cleared READ Cleared WRITE setCleared NOTIFY ClearedChanged)
    Q_PROPERTY(CMeasurementParameters* MeasurementParameters READ MeasurementParameters WRITE
                   setMeasurementParameters NOTIFY MeasurementParametersChanged)
    Q_PROPERTY(
        QString InstrumentName READ InstrumentName WRITE setInstrumentName NOTIFY InstrumentNameChanged)
    Q_PROPERTY(QString Date READ Date WRITE setDate NOTIFY DateChanged)
    Q_PROPERTY(QString FilePath READ FilePath WRITE setFilePath NOTIFY FilePathChanged)
public:
    explicit CDataset(CSettings& settings, QObject* parent = nullptr);

    QString Comment() const { return m_Comment; }
    qulonglong ResultsCount() const { return m_ResultsCount; }
    bool Cleared() const { return m_Cleared; }
    CMeasurementParameters* MeasurementParameters() const { return m_MeasurementParameters; }
    QString InstrumentName() const { return m_InstrumentName; }
    QString Date() const { return m_Date; }
    QString FilePath() const { return m_FilePath; }

    void setComment(const QString& value);
    void setResultsCount(qulonglong value);
    // Always emits: the signal, not the value, tells that the data set was cleared.
    void setCleared(bool value);
    void setMeasurementParameters(CMeasurementParameters* value);
    void setInstrumentName(const QString& value);
    void setDate(const QString& value);
    void setFilePath(const QString& value);

    virtual void Clear() = 0;

    // Parameters created for a loaded recording: owned by the data set, and the
    // previous loaded ones are released (no view shows them once a new file is in).
    void AdoptMeasurementParameters(CMeasurementParameters* parameters);

public slots:
    void OnMeasurementParametersUpdated();

signals:
    void CommentChanged(QString value);
    void ResultsCountChanged(qulonglong value);
    void ClearedChanged(bool value);
    void MeasurementParametersChanged(CMeasurementParameters* value);
    void InstrumentNameChanged(QString value);
    void DateChanged(QString value);
    void FilePathChanged(QString value);
    void MeasurementParametersUpdated(CUnits::UnitType units);

protected:
    // The header part of Clear(), after the queue has been emptied.
    void l_ClearHeader();

    CSettings& m_Settings;

private:
    QString m_Comment;
    qulonglong m_ResultsCount = 0;
    bool m_Cleared = false;
    CMeasurementParameters* m_MeasurementParameters = nullptr;
    QPointer<CMeasurementParameters> m_LoadedParameters;
    QString m_InstrumentName;
    QString m_Date;
    QString m_FilePath;
};
