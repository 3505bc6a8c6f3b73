#pragma once

#include <QObject>
#include <QSharedPointer>
#include <QString>

class CSettings;
class COperation;
class CRecordingManager;
class CMeasureBlock;

// The recording workflow of one operation, the same for the pages and for
// `tesvana-cli measure`: record, hold, resume, stop, end, save and load on the
// operation and its recorder, and the recording bar's texts. It asks nothing and
// opens nothing: a page asks the user first (a data loss, a file name) and shows
// what it reports.
class CRecordingController : public QObject
{
    Q_OBJECT
public:
    // A map counts its points, a recording its samples (in seconds at the rate).
    CRecordingController(CSettings& settings, COperation* operation, CRecordingManager* recorder,
                         bool mapping, QObject* parent = nullptr);

    CRecordingManager* Recorder() const { return m_pRecorder; }

    // A new recording (the data held go): the instrument and the operation's parameters
    // are its head.
    void Record();
    // Holds the probe, or pauses a replay.
    void Hold();
    // Whether Resume clears a recording held first (the caller asks before).
    bool ResumeClearsData() const;
    // A replay goes on; otherwise the probe starts, after clearing a recording held.
    void Resume();
    // Ends the replay, or the recording (which is kept).
    void Stop();
    // Stops the probe and clears what is held.
    void End();
    // The recording to `path`, whole or not at all; false with the reason.
    bool Save(const QString& path, QString* error);
    // A results file read in place of what is held (the probe stopped first); false with the
    // reader's reason, the operation's own parameters then back in force. `notice` tells a
    // file that ended early.
    bool Load(const QString& path, QString* reason, QString* notice);
    // The data set described by the operation's parameters (not a loaded file's).
    void AttachOperationParameters();

    // While recording: how long it is and where it goes (or how much memory keeps of it);
    // empty otherwise.
    QString RecordingText() const { return m_RecordingText; }
    // Once a recording loses its oldest blocks, or stopped for a reason: said until the next
    // recording.
    QString RetentionNotice() const { return m_RetentionNotice; }
    // Counts a block the operation delivered while recording.
    void CountRecorded(const QSharedPointer<CMeasureBlock>& block);
    // Ends a recording that can go on no longer (the instrument lost); what was recorded is
    // kept. True when a recording was ended.
    bool EndRecording();

signals:
    void RecordingTextChanged(const QString& value);
    void RetentionNoticeChanged(const QString& value);
    // The recording could not be written to disk any more and was stopped: `notice` says so.
    void RecordingStopped(const QString& notice);

private:
    void l_OnRecordingChanged(bool recording);
    void l_OnStreamFailed(const QString& reason);
    void l_SetRetentionNotice(const QString& notice);

    CSettings& m_Settings;
    COperation* m_pOperation;
    CRecordingManager* m_pRecorder;
    bool m_Mapping;
    quint64 m_RecordedSamples = 0;
    QString m_RecordingText;
    QString m_RetentionNotice;
};
