#include "viewmodels/CReportViewModel.h"

#include "app/CPrompt.h"
#include "app/CSettings.h"
#include "model/CLimitsParameters.h"
#include "operations/COperationMeasure.h"
#include "operations/COperationParameters.h"
#include "operations/CRecordingManagerMeasure.h"
#include "report/CReportPdfWriter.h"
#include "report/CSurveyReport.h"
#include "viewmodels/CHelpPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace
{
using Standard = KVL::CExposureAssessment::Standard;
const Standard Standards[] = {Standard::Icnirp2010Public, Standard::Icnirp2010Occupational};
} // namespace

CReportViewModel::CReportViewModel(CSettings& settings, COperationMeasure* operation, QObject* parent)
    : QObject(parent), m_Settings(settings), m_pOperation(operation)
{
    connect(&settings, &CSettings::ReportSiteChanged, this, &CReportViewModel::SiteChanged);
    connect(&settings, &CSettings::ReportSurveyorChanged, this, &CReportViewModel::SurveyorChanged);
    connect(&settings, &CSettings::ReportNotesChanged, this, &CReportViewModel::NotesChanged);
    connect(operation->OperationParameters()->LimitsParameters(), &CLimitsParameters::LimitsFileNameChanged,
            this, [this] {
                if (m_SelectedLimitsIndex >= LimitsNames().size())
                    setSelectedLimitsIndex(0);
                emit LimitsNamesChanged();
            });
}

CReportViewModel::~CReportViewModel()
{
    // A report being written finishes first: it writes into a file the user asked for.
    if (m_pThread)
        m_pThread->wait();
}

QString CReportViewModel::Site() const
{
    return m_Settings.ReportSite();
}

QString CReportViewModel::Surveyor() const
{
    return m_Settings.ReportSurveyor();
}

QString CReportViewModel::Notes() const
{
    return m_Settings.ReportNotes();
}

void CReportViewModel::setSite(const QString& value)
{
    m_Settings.setReportSite(value);
}

void CReportViewModel::setSurveyor(const QString& value)
{
    m_Settings.setReportSurveyor(value);
}

void CReportViewModel::setNotes(const QString& value)
{
    m_Settings.setReportNotes(value);
}

QStringList CReportViewModel::LimitsNames() const
{
    QStringList names;
    for (const Standard standard : Standards)
        names << KVL::CExposureAssessment::StandardName(standard);
    const QString limits = m_pOperation->OperationParameters()->LimitsParameters()->LimitsFileName();
    if (!limits.isEmpty())
        names << tr("Limits file %1").arg(QFileInfo(limits).fileName());
    return names;
}

void CReportViewModel::setSelectedLimitsIndex(int value)
{
    if (value < 0 || value >= LimitsNames().size() || value == m_SelectedLimitsIndex)
        return;
    m_SelectedLimitsIndex = value;
    emit SelectedLimitsIndexChanged();
}

void CReportViewModel::displayHelp()
{
    CHelpPages::Open(m_Settings, QStringLiteral("report"));
}

void CReportViewModel::l_SetStatus(const QString& value)
{
    if (m_Status == value)
        return;
    m_Status = value;
    emit StatusChanged();
}

bool CReportViewModel::l_Prepare(CSurveyReport& report)
{
    if (m_SelectedLimitsIndex < 2)
    {
        report.SetStandard(Standards[m_SelectedLimitsIndex]);
        return true;
    }
    const QString path = m_pOperation->OperationParameters()->LimitsParameters()->LimitsFileName();
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        error = tr("cannot open %1: %2").arg(path, file.errorString());
    else if (report.SetLimitsFile(path, file.readAll(), &error))
        return true;
    l_SetStatus(error);
    CPrompt::Current().Error(tr("The report was not written."), error);
    return false;
}

QString CReportViewModel::l_AskOutput(const QString& name)
{
    QString folder = m_Settings.LastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = m_Settings.DefaultStoragePath();
    const QString proposed = QDir(folder).filePath(QFileInfo(name).completeBaseName() + tr(" report.pdf"));
    QString output = CPrompt::Current().SaveFileName(tr("Save the report"), proposed, tr("PDF (*.pdf)"));
    if (output.isEmpty())
        return output;
    if (QFileInfo(output).suffix().isEmpty())
        output += QStringLiteral(".pdf");
    m_Settings.setLastFolder(QFileInfo(output).absolutePath());
    return output;
}

void CReportViewModel::reportOnRecordingShown()
{
    if (m_Busy)
        return;
    CRecordingManagerMeasure* recorder = m_pOperation->RecordingManager();
    const CDataSetMeasurement* set = recorder->DataSet();
    if (set->MeasureBlocks()->empty())
    {
        l_SetStatus(tr("No recording is shown: record, or load one, first."));
        CPrompt::Current().Information(tr("No recording to report on."), m_Status);
        return;
    }
    // The whole recording when a file holds it: memory may keep only its newest part.
    const QString path = recorder->WholeRecordingFile();
    auto report = std::make_shared<CSurveyReport>(CSurveyReport::Details{Site(), Surveyor(), Notes()});
    if (!l_Prepare(*report))
        return;
    const QString output = l_AskOutput(!set->FilePath().isEmpty() ? set->FilePath() : tr("Recording"));
    if (output.isEmpty())
        return;
    if (!path.isEmpty())
    {
        l_Run(report, {path}, output);
        return;
    }
    std::vector<const CMeasureBlock*> blocks;
    for (const auto& block : *set->MeasureBlocks())
        blocks.push_back(block.data());
    QString error;
    if (!report->AddDataSet(*set, blocks, tr("Recording not saved"), QString(), &error))
    {
        l_Finished(output, error);
        return;
    }
    l_Run(report, {}, output);
}

void CReportViewModel::reportOnFiles()
{
    if (m_Busy)
        return;
    QString folder = m_Settings.LastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = m_Settings.DefaultStoragePath();
    const QStringList files = CPrompt::Current().OpenFileNames(tr("Recordings for the report"), folder,
                                                               tr("Recordings (*.xml *.h5 *.hdf5)"));
    if (files.isEmpty())
        return;
    m_Settings.setLastFolder(QFileInfo(files.first()).absolutePath());
    auto report = std::make_shared<CSurveyReport>(CSurveyReport::Details{Site(), Surveyor(), Notes()});
    if (!l_Prepare(*report))
        return;
    const QString output = l_AskOutput(files.size() == 1 ? files.first() : tr("Survey"));
    if (output.isEmpty())
        return;
    l_Run(report, files, output);
}

void CReportViewModel::l_Run(const std::shared_ptr<CSurveyReport>& report, const QStringList& files,
                             const QString& output)
{
    m_Busy = true;
    emit BusyChanged();
    l_SetStatus(tr("Writing the report…"));
    const QString programFolder = QCoreApplication::applicationDirPath();
    auto error = std::make_shared<QString>();
    m_pThread = QThread::create([report, files, output, programFolder, error] {
        // The files' data sets need settings of their own: the defaults, never the window's.
        QTemporaryDir folder;
        CSettings settings(programFolder, nullptr, folder.path());
        for (const QString& path : files)
            if (!report->AddFile(path, settings, error.get()))
                return;
        CReportPdfWriter::Write(*report, output, error.get());
    });
    connect(m_pThread, &QThread::finished, this, [this, output, error] {
        m_pThread->deleteLater();
        m_pThread = nullptr;
        l_Finished(output, *error);
    });
    m_pThread->start();
}

void CReportViewModel::l_Finished(const QString& output, const QString& error)
{
    if (m_Busy)
    {
        m_Busy = false;
        emit BusyChanged();
    }
    if (!error.isEmpty())
    {
        l_SetStatus(tr("The report was not written: %1").arg(error));
        CPrompt::Current().Error(tr("The report was not written."), error);
        return;
    }
    l_SetStatus(tr("Report written: %1").arg(QDir::toNativeSeparators(output)));
    emit ReportWritten(output);
}
