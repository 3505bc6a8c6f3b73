#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class COperationMeasure;
class CSettings;
class CSurveyReport;
class QThread;

// "Report…" of the spectrum and AC analysis pages: an exposure survey report (PDF) of
// the recording shown or of files chosen, against a standard or the page's limits file.
// The site, surveyor and notes are remembered between reports. Files are read and the
// PDF written on a thread of its own; the page stays live meanwhile.
class CReportViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Site READ Site WRITE setSite NOTIFY SiteChanged)
    Q_PROPERTY(QString Surveyor READ Surveyor WRITE setSurveyor NOTIFY SurveyorChanged)
    Q_PROPERTY(QString Notes READ Notes WRITE setNotes NOTIFY NotesChanged)
    Q_PROPERTY(QStringList LimitsNames READ LimitsNames NOTIFY LimitsNamesChanged)
    Q_PROPERTY(int SelectedLimitsIndex READ SelectedLimitsIndex WRITE setSelectedLimitsIndex NOTIFY
                   SelectedLimitsIndexChanged)
    Q_PROPERTY(bool Busy READ Busy NOTIFY BusyChanged)
    Q_PROPERTY(QString Status READ Status NOTIFY StatusChanged)

public:
    CReportViewModel(CSettings& settings, COperationMeasure* operation, QObject* parent = nullptr);
    ~CReportViewModel() override;

    QString Site() const;
    QString Surveyor() const;
    QString Notes() const;
    void setSite(const QString& value);
    void setSurveyor(const QString& value);
    void setNotes(const QString& value);
    // The two standards, and the page's limits file when one is loaded.
    QStringList LimitsNames() const;
    int SelectedLimitsIndex() const { return m_SelectedLimitsIndex; }
    void setSelectedLimitsIndex(int value);
    bool Busy() const { return m_Busy; }
    // What the last report came to: "Report written: …" or why it was not.
    QString Status() const { return m_Status; }

    // The recording the page shows: its file when it is saved, else the blocks in memory.
    Q_INVOKABLE void reportOnRecordingShown();
    Q_INVOKABLE void reportOnFiles();
    Q_INVOKABLE void displayHelp();

signals:
    void SiteChanged();
    void SurveyorChanged();
    void NotesChanged();
    void LimitsNamesChanged();
    void SelectedLimitsIndexChanged();
    void BusyChanged();
    void StatusChanged();
    // After a report was written.
    void ReportWritten(const QString& path);

private:
    // The report's details and limits; false (after telling the user) when the limits file cannot be read.
    bool l_Prepare(CSurveyReport& report);
    QString l_AskOutput(const QString& name);
    // Reads `files` into the report (on the worker) and writes it to `output`.
    void l_Run(const std::shared_ptr<CSurveyReport>& report, const QStringList& files, const QString& output);
    void l_Finished(const QString& output, const QString& error);
    void l_SetStatus(const QString& value);

    CSettings& m_Settings;
    COperationMeasure* m_pOperation;
    int m_SelectedLimitsIndex = 0;
    bool m_Busy = false;
    QString m_Status;
    QThread* m_pThread = nullptr;
};
