#include "operations/CRecordingController.h"

#include "app/CSettings.h"
#include "app/LogCategories.h"
#include "instruments/CInstrument.h"
#include "model/CDataset.h"
#include "model/CMeasureBlock.h"
#include "model/CNumberText.h"
#include "operations/COperation.h"
#include "operations/CRecordingManager.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStorageInfo>

CRecordingController::CRecordingController(CSettings& settings, COperation* operation,
                                           CRecordingManager* recorder, bool mapping, QObject* parent)
    : QObject(parent), m_Settings(settings), m_pOperation(operation), m_pRecorder(recorder),
      m_Mapping(mapping)
{
    connect(recorder, &CRecordingManager::IsRecordingChanged, this,
            &CRecordingController::l_OnRecordingChanged);
    connect(recorder, &CRecordingManager::StreamFailed, this, &CRecordingController::l_OnStreamFailed);
}

void CRecordingController::AttachOperationParameters()
{
    m_pRecorder->BaseDataSet()->setMeasurementParameters(m_pOperation->MeasurementParameters());
}

void CRecordingController::Record()
{
    m_pRecorder->ResetRecord();
    if (const CInstrument* instrument = m_pOperation->Instrument())
    {
        m_pRecorder->BaseDataSet()->setInstrumentName(instrument->Model() + QLatin1Char(' ') +
                                                      instrument->SerialNumber());
        m_pRecorder->BaseDataSet()->setDate(
            CNumberText::DateTime(QDateTime::currentDateTime(), QStringLiteral("yyyy.MM.dd HH:mm:ss")));
    }
    AttachOperationParameters();
}

void CRecordingController::Hold()
{
    m_pRecorder->setIsHolding(true);
    if (m_pRecorder->IsPlayingBack())
        m_pRecorder->PauseReplay();
    else
        m_pOperation->stop();
}

bool CRecordingController::ResumeClearsData() const
{
    return !m_pRecorder->IsPlayingBack() && m_pRecorder->IsIdleWithData();
}

void CRecordingController::Resume()
{
    if (m_pRecorder->IsPlayingBack())
    {
        m_pRecorder->StartReplay();
        return;
    }
    if (m_pRecorder->IsIdleWithData())
    {
        m_pOperation->clear();
        AttachOperationParameters();
    }
    m_pOperation->start();
    m_pRecorder->setIsHolding(false);
    m_pRecorder->setIsIdle(false);
}

void CRecordingController::Stop()
{
    if (m_pRecorder->IsPlayingBack())
    {
        m_pRecorder->StopReplay();
        return;
    }
    if (m_pRecorder->IsRecording())
    {
        Hold();
        m_pRecorder->StopRecord();
    }
}

void CRecordingController::End()
{
    m_pOperation->stop();
    m_pOperation->clear();
    AttachOperationParameters();
}

bool CRecordingController::EndRecording()
{
    if (!m_pRecorder->IsRecording())
        return false;
    m_pRecorder->setIsHolding(true);
    m_pRecorder->StopRecord();
    return true;
}

bool CRecordingController::Save(const QString& path, QString* error)
{
    return m_pRecorder->SaveAs(path, error);
}

bool CRecordingController::Load(const QString& path, QString* reason, QString* notice)
{
    if (m_pOperation->SessionInProgress())
    {
        m_pOperation->stop();
        m_pOperation->clear();
        Stop();
    }
    if (m_pRecorder->Load(path))
    {
        if (notice)
            *notice = m_pRecorder->XMLResultsSerializer()->CutShortNotice();
        return true;
    }
    if (reason)
        *reason = m_pRecorder->XMLResultsSerializer()->LastErrorMessage();
    // The page stays usable with the operation's own parameters.
    m_pOperation->clear();
    AttachOperationParameters();
    return false;
}

void CRecordingController::l_OnRecordingChanged(bool recording)
{
    if (!recording)
    {
        // What was kept is what the file will hold: the notice stays until the next recording.
        if (!m_RecordingText.isEmpty())
        {
            m_RecordingText.clear();
            emit RecordingTextChanged(m_RecordingText);
        }
        return;
    }
    m_RecordedSamples = 0;
    l_SetRetentionNotice(QString());
}

void CRecordingController::l_SetRetentionNotice(const QString& notice)
{
    if (notice == m_RetentionNotice)
        return;
    m_RetentionNotice = notice;
    if (!notice.isEmpty())
        qCWarning(lcOperations).noquote() << notice;
    emit RetentionNoticeChanged(m_RetentionNotice);
}

void CRecordingController::l_OnStreamFailed(const QString& reason)
{
    const QString file = m_pRecorder->StreamPath();
    Stop();
    l_SetRetentionNotice(
        tr("The recording was stopped: it could not be written to disk (%1). What was written "
           "stays readable in %2; Save keeps the blocks still in memory.")
            .arg(reason, file));
    emit RecordingStopped(m_RetentionNotice);
}

void CRecordingController::CountRecorded(const QSharedPointer<CMeasureBlock>& block)
{
    if (!block || !m_pRecorder->IsRecording())
        return;
    m_RecordedSamples += m_Mapping ? 1 : quint64(block->Results.size());
    const quint64 kept = m_pRecorder->BaseDataSet()->ResultsCount();
    const double rate = m_pOperation->MeasurementParameters()->AcquisitionRate();
    const bool mapping = m_Mapping;
    const auto span = [rate, mapping](quint64 count) {
        if (mapping)
            return tr("%1 points").arg(count);
        return rate > 0 ? QString::number(double(count) / rate, 'f', 1) + QStringLiteral(" s")
                        : QString::number(count) + QStringLiteral(" samples");
    };
    // Written to disk as measured, the whole recording is kept there whatever memory holds.
    const QString file = m_pRecorder->StreamPath();
    QString text;
    if (!file.isEmpty())
    {
        const auto size = [](qint64 bytes) {
            return bytes >= 10'000'000'000 ? QString::number(double(bytes) / 1e9, 'f', 1) + " GB"
                                           : QString::number(double(bytes) / 1e6, 'f', 1) + " MB";
        };
        text = tr("Recording: %1 to %2 (%3, %4 free)")
                   .arg(span(m_RecordedSamples), QFileInfo(file).fileName(), size(m_pRecorder->StreamBytes()),
                        size(QStorageInfo(QFileInfo(file).absolutePath()).bytesAvailable()));
    }
    else
        text = kept < m_RecordedSamples
                   ? tr("Recording: the newest %1 kept of %2").arg(span(kept), span(m_RecordedSamples))
                   : tr("Recording: %1").arg(span(m_RecordedSamples));
    if (text != m_RecordingText)
    {
        m_RecordingText = text;
        emit RecordingTextChanged(m_RecordingText);
    }
    if (kept < m_RecordedSamples && m_RetentionNotice.isEmpty() && file.isEmpty())
        l_SetRetentionNotice(
            mapping ? tr("This map is larger than the %1 samples kept: its first points are being dropped, "
                         "and only the newest %2 will be saved. Raise \"Points in Mapping mode\" in the "
                         "settings to keep more.")
                          .arg(m_Settings.MappingMaxMeasurementCount())
                          .arg(span(kept))
                    : tr("This recording is longer than the %1 samples kept: its oldest blocks are being "
                         "dropped, and only the newest %2 will be saved. Raise \"Points in other modes\" in "
                         "the settings to keep more.")
                          .arg(m_Settings.MeasurementMaxMeasurementCount())
                          .arg(span(kept)));
}
