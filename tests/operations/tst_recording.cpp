#include "../support/FileSizeLimit.h"
#include "app/CSettings.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CMetaTypes.h"
#include "operations/CRecordingManagerMapping.h"
#include "operations/CRecordingManagerMeasure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
// A block whose first sample is at `start` ms and whose samples are `span` ms apart in total.
QSharedPointer<CMeasureBlock> block(qint64 start, qint64 span = 0, const QString& comment = QString())
{
    QSharedPointer<CMeasureBlock> b(new CMeasureBlock());
    b->setComment(comment);
    const QDateTime base = QDateTime::fromMSecsSinceEpoch(1700000000000LL, Qt::LocalTime);
    for (qint64 t : {start, start + span})
    {
        QSharedPointer<CFieldIntensityResult> s(new CFieldIntensityResult());
        s->Timestamp = base.addMSecs(t);
        s->TimestampNanosecond = quint64(s->Timestamp.time().msec()) * 1000000ULL;
        s->setB(float(start));
        b->Results.append(s);
    }
    return b;
}
} // namespace

class tst_Recording : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    CSettings* m_Settings = nullptr;

    void fill(CRecordingManagerMeasure& recorder, const QList<qint64>& starts, qint64 span = 0)
    {
        for (const qint64 start : starts)
            recorder.AddMeasureBlock(block(start, span));
        recorder.setStartReplayIndex(0);
        recorder.setEndReplayIndex(recorder.NumBlocks() - 1);
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        m_Settings = new CSettings("/p", this, m_Dir.path());
    }

    void addingCountsOnlyWhileRecording()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        recorder.setMeasComment("run 1: ");
        recorder.AddMeasureBlock(block(0, 0, "a"));
        QVERIFY(!recorder.HasUnsavedData());
        QVERIFY(!recorder.IsDataSetEmpty());
        QCOMPARE(recorder.NumBlocks(), 1);
        QCOMPARE(recorder.DataSet()->MeasureBlocks()->front()->Comment(), QString("run 1: a"));

        QSignalSpy recording(&recorder, &CRecordingManager::IsRecordingChanged);
        recorder.setBodyComment("body");
        recorder.ResetRecord();
        QCOMPARE(recording.count(), 1);
        QCOMPARE(recorder.NumBlocks(), 0);
        QCOMPARE(recorder.DataSet()->Comment(), QString());
        recorder.AddMeasureBlock(block(0));
        recorder.AddMeasureBlock(block(100));
        QVERIFY(recorder.HasUnsavedData());
        QCOMPARE(recorder.ReplayIndex(), 1);
        recorder.StopRecord();
        QCOMPARE(recording.count(), 2);
        QVERIFY(recorder.IsIdleWithData());
    }

    void saveLoadAndAtomicReplace()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        recorder.ResetRecord();
        fill(recorder, {0, 500, 1000});
        recorder.StopRecord();
        const QString path = m_Dir.path() + "/run.xml";
        recorder.Save(path);
        QVERIFY(!recorder.HasUnsavedData());
        QCOMPARE(recorder.DataSet()->FilePath(), QString("run.xml"));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray good = saved.readAll();
        saved.close();

        // A failed save (nothing to write) keeps the previous file and the data unsaved.
        CRecordingManagerMeasure empty(*m_Settings);
        empty.setHasUnsavedData(true);
        empty.Save(path);
        QVERIFY(empty.HasUnsavedData());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), good);
        saved.close();

        CRecordingManagerMeasure loaded(*m_Settings);
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.NumBlocks(), 3);
        QVERIFY(!loaded.HasUnsavedData()); // it is in its file
        // Cleared by any path: nothing left to save.
        CRecordingManagerMeasure cleared(*m_Settings);
        QVERIFY(cleared.Load(path));
        cleared.setHasUnsavedData(true);
        cleared.DataSet()->Clear();
        QVERIFY(!cleared.HasUnsavedData());
        QVERIFY(loaded.IsIdleWithData());
        QVERIFY(loaded.IsDataLoaded());
        QCOMPARE(loaded.DataSet()->MeasureBlocks()->at(2)->Results.first()->B(), 1000.0f);

        QVERIFY(!loaded.Load(m_Dir.path() + "/absent.xml"));

        // With CSV export on, the CSV lands beside the XML file.
        m_Settings->setSaveRecordingsAsCsv(true);
        recorder.Save(m_Dir.path() + "/run2.results.xml");
        m_Settings->setSaveRecordingsAsCsv(false);
        QVERIFY(QFile::exists(m_Dir.path() + "/run2.results.csv"));
        QVERIFY(!recorder.HasUnsavedData());

        // A folder that does not exist: logged, and the data stay unsaved (the recording's
        // own file is where it was).
        recorder.setHasUnsavedData(false);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Error while saving file .*/nowhere/x.xml: cannot "
                                                "write .*/nowhere/x.xml: "));
        recorder.Save(m_Dir.path() + "/nowhere/x.xml");
        QVERIFY(recorder.HasUnsavedData());
        // The same as a bool and a message, for callers that say what failed.
        QString error;
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Error while saving file .*/nowhere/y.xml: cannot "
                                                "write .*/nowhere/y.xml: "));
        QVERIFY(!recorder.SaveAs(m_Dir.path() + "/nowhere/y.xml", &error));
        QVERIFY2(error.startsWith("cannot write " + m_Dir.path() + "/nowhere/y.xml: "), qPrintable(error));
        QVERIFY(recorder.SaveAs(m_Dir.path() + "/run3.results.xml", &error));
        QVERIFY(!recorder.HasUnsavedData());
    }

    // Written as measured: the file saved is the whole-file save of the same blocks but for
    // the header's date; a recording of ten times what memory keeps saves and reloads whole,
    // its CSV too; a comment changed after the start is in the file saved; a discarded
    // recording leaves no file behind.
    void streamedRecordingSavesWhole()
    {
        QTemporaryDir folder;
        CRecordingManagerMeasure recorder(*m_Settings);
        recorder.setStreamFolder(folder.filePath("recordings"));
        CMeasurementParameters parameters;
        recorder.DataSet()->setMeasurementParameters(&parameters);
        recorder.ResetRecord();
        for (int i = 0; i < 5; ++i)
            recorder.AddMeasureBlock(block(100 * i, 50, QString("b%1 <&>").arg(i)));
        const QString part = recorder.StreamPath();
        QVERIFY(part.endsWith(".kxr.xml.part") && part.startsWith(folder.filePath("recordings/")));
        recorder.StopRecord();
        QVERIFY(recorder.StreamPath().isEmpty());
        QVERIFY(QFile::exists(part)); // complete, until saved or discarded
        QBuffer memory;
        memory.open(QIODevice::WriteOnly);
        QVERIFY(recorder.XMLResultsSerializer()->Serialize(recorder.DataSet(), &memory));
        QVERIFY(recorder.SaveAs(folder.filePath("a.xml"), nullptr));
        QVERIFY(!QFile::exists(part));
        const auto undated = [](QByteArray text) {
            const int at = text.indexOf("<dateTime8601>");
            return text.remove(at, text.indexOf("</dateTime8601>") - at);
        };
        QFile saved(folder.filePath("a.xml"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(undated(saved.readAll()), undated(memory.data()));
        saved.close();
        // Saved again elsewhere, with a comment changed meanwhile: a copy with the new head.
        recorder.setBodyComment("changed");
        QVERIFY(recorder.SaveAs(folder.filePath("b.xml"), nullptr));
        CRecordingManagerMeasure loaded(*m_Settings);
        QVERIFY(loaded.Load(folder.filePath("b.xml")));
        QCOMPARE(loaded.DataSet()->Comment(), QString("changed"));
        QCOMPARE(loaded.NumBlocks(), 5);
        QVERIFY(QFile::exists(folder.filePath("a.xml")));

        // Ten times the limit: memory keeps the newest, the file all of it.
        m_Settings->setMeasurementMaxMeasurementCount(20);
        recorder.ResetRecord();
        for (int i = 0; i < 100; ++i)
            recorder.AddMeasureBlock(block(100 * i, 50));
        QVERIFY(recorder.DataSet()->ResultsCount() <= 20);
        recorder.StopRecord();
        m_Settings->setSaveRecordingsAsCsv(true);
        QVERIFY(recorder.SaveAs(folder.filePath("long.xml"), nullptr));
        m_Settings->setSaveRecordingsAsCsv(false);
        m_Settings->setMeasurementMaxMeasurementCount(1000);
        QVERIFY(loaded.Load(folder.filePath("long.xml")));
        QCOMPARE(loaded.NumBlocks(), 100);
        QCOMPARE(loaded.DataSet()->MeasureBlocks()->front()->Results.first()->B(), 0.0f);
        QCOMPARE(loaded.DataSet()->MeasureBlocks()->back()->Results.first()->B(), 9900.0f);
        QFile csv(folder.filePath("long.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray rows = csv.readAll();
        int samples = 0;
        for (const QByteArray& line : rows.split('\n'))
            samples += line.count(';') == 7 && !line.startsWith("Timestamp") ? 1 : 0;
        QCOMPARE(samples, 200);

        // Saved while still recording (a save on the way out): from memory, the file going on.
        recorder.ResetRecord();
        recorder.AddMeasureBlock(block(0));
        const QString going = recorder.StreamPath();
        QVERIFY(recorder.SaveAs(folder.filePath("early.xml"), nullptr));
        recorder.AddMeasureBlock(block(100));
        QCOMPARE(recorder.StreamPath(), going);
        recorder.StopRecord();
        QVERIFY(recorder.SaveAs(folder.filePath("late.xml"), nullptr));
        QVERIFY(loaded.Load(folder.filePath("early.xml")));
        QCOMPARE(loaded.NumBlocks(), 1);
        QVERIFY(loaded.Load(folder.filePath("late.xml")));
        QCOMPARE(loaded.NumBlocks(), 2);

        // Discarded (a new recording, End, a load): the file goes.
        recorder.ResetRecord();
        recorder.AddMeasureBlock(block(0));
        const QString discarded = recorder.StreamPath();
        QVERIFY(QFile::exists(discarded));
        recorder.ResetForClear();
        QVERIFY(!QFile::exists(discarded));
        QCOMPARE(QDir(folder.filePath("recordings")).entryList(QDir::Files), QStringList());
    }

    // A write that fails (the file system refuses to grow the file, as a full disk does):
    // the recording is told once, what was written loads, and the save takes the blocks in
    // memory instead.
    void diskFullStopsTheStreamAndKeepsWhatWasWritten()
    {
        QTemporaryDir folder;
        CRecordingManagerMeasure recorder(*m_Settings);
        recorder.setStreamFolder(folder.path());
        CMeasurementParameters parameters;
        recorder.DataSet()->setMeasurementParameters(&parameters);
        QSignalSpy failed(&recorder, &CRecordingManager::StreamFailed);
        recorder.ResetRecord();
        recorder.AddMeasureBlock(block(0, 50));
        const QString part = recorder.StreamPath();
        const auto written = [&part] {
            QFile file(part);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_VERIFY(written().endsWith("</measurements>"));
        {
            // Files of this process may not grow past their size now: every write fails
            // with "File too large" (EFBIG), as one to a full disk fails with ENOSPC.
            FileSizeLimit limit(QFileInfo(part).size() + 600);
            for (int i = 1; i < 20; ++i)
                recorder.AddMeasureBlock(block(100 * i, 50, QString(200, 'x')));
            QTRY_COMPARE(failed.count(), 1);
        }
        QVERIFY2(failed.first().first().toString().contains(part),
                 qPrintable(failed.first().first().toString()));
        recorder.StopRecord();
        CRecordingManagerMeasure loaded(*m_Settings);
        QVERIFY(loaded.Load(part));
        QVERIFY(loaded.NumBlocks() >= 1 && loaded.NumBlocks() < 20);
        QVERIFY(loaded.XMLResultsSerializer()->CutShortNotice().contains("cut short"));
        QVERIFY(recorder.SaveAs(folder.filePath("memory.xml"), nullptr));
        QVERIFY(loaded.Load(folder.filePath("memory.xml")));
        QCOMPARE(loaded.NumBlocks(), 20);
    }

    // A file cut short (a recording killed) and larger than memory keeps is read on demand;
    // saved, it is whole: every complete block, closed, loading without a notice.
    void cutShortFileReadOnDemandSavesWhole()
    {
        const quint64 kept = m_Settings->MeasurementMaxMeasurementCount();
        const auto restore = qScopeGuard([&] { m_Settings->setMeasurementMaxMeasurementCount(kept); });
        m_Settings->setMeasurementMaxMeasurementCount(100);
        CRecordingManagerMeasure recorder(*m_Settings);
        for (int i = 0; i < 12; ++i)
            recorder.AddMeasureBlock(block(1000 * i, 10, QString("b%1").arg(i)));
        const QString whole = m_Dir.filePath("whole-cut.kxr.xml");
        QVERIFY(recorder.SaveAs(whole, nullptr));
        QFile file(whole);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        const QString cut = m_Dir.filePath("cut.kxr.xml");
        QFile cutFile(cut);
        QVERIFY(cutFile.open(QIODevice::WriteOnly));
        cutFile.write(xml.left(xml.lastIndexOf("<measurements") + 30)); // inside the last block
        cutFile.close();

        m_Settings->setMeasurementMaxMeasurementCount(6);
        CRecordingManagerMeasure loaded(*m_Settings);
        QSignalSpy opened(&loaded, &CRecordingManager::IndexingFinished);
        QVERIFY(loaded.Load(cut));
        QVERIFY(opened.wait(5000));
        QVERIFY(loaded.IsReadOnDemand());
        QCOMPARE(loaded.NumBlocks(), 11);
        QVERIFY(!opened.last().at(2).toString().isEmpty()); // the notice of a file cut short
        const QString saved = m_Dir.filePath("saved-whole.kxr.xml");
        QVERIFY(loaded.SaveAs(saved, nullptr));

        m_Settings->setMeasurementMaxMeasurementCount(100);
        CDataSetMeasurement check(*m_Settings);
        CXMLResultsSerializer reader;
        QFile back(saved);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QVERIFY(reader.Deserialize(&back, &check));
        QVERIFY(reader.CutShortNotice().isEmpty());
        QCOMPARE(int(check.MeasureBlocks()->size()), 11);
        QCOMPARE(check.MeasureBlocks()->back()->Comment(), QString("b10"));
    }

    void replayDelaysFollowTheTimeWarp_data()
    {
        QTest::addColumn<double>("warp");
        QTest::addColumn<int>("delay");
        QTest::newRow("ten times faster") << 10.0 << 50;
        QTest::newRow("ten times slower") << 0.1 << 5000;
        QTest::newRow("333 ms at twice the speed") << 2.0 << 167;
    }

    void replayDelaysFollowTheTimeWarp()
    {
        QFETCH(double, warp);
        QFETCH(int, delay);
        CRecordingManagerMeasure recorder(*m_Settings);
        const qint64 gap = delay == 167 ? 333 : 500;
        fill(recorder, {0, gap, 2 * gap});
        recorder.setTimeWarp(warp);
        QList<float> sent;
        connect(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock,
                [&](const QSharedPointer<CMeasureBlock>& b) { sent << b->Results.first()->B(); });
        recorder.StartReplay();
        QVERIFY(recorder.IsPlayingBack());
        QVERIFY(!recorder.IsHolding());
        QTRY_COMPARE(sent.size(), 1);
        QVERIFY(recorder.ReplayTimer().isActive());
        QCOMPARE(recorder.ReplayTimer().interval(), delay);
        QVERIFY(recorder.IsProcessingBlock());
    }

    void replayWaitsForTheViewsAndStopsAfterTheLastBlock()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        fill(recorder, {0, 20, 40}, 200);
        recorder.setTimeWarp(1);
        QList<float> sent;
        connect(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock,
                [&](const QSharedPointer<CMeasureBlock>& b) {
                    sent << b->Results.first()->B();
                    // The views finish at once.
                    QTimer::singleShot(0, &recorder, [&] { recorder.setIsProcessingBlock(false); });
                });
        recorder.StartReplay();
        QTRY_COMPARE(sent, QList<float>({0, 20, 40}));
        // The stop delay of the last block: its 200 ms span plus 5 x 100 ms.
        QCOMPARE(recorder.StopTimer().interval(), 700);
        QTRY_VERIFY_WITH_TIMEOUT(!recorder.IsPlayingBack(), 3000);
        QVERIFY(recorder.IsHolding());
        QVERIFY(recorder.IsIdleWithData());
    }

    void stepByStepSendsOneBlockPerCommand()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        fill(recorder, {0, 500, 1000});
        recorder.setReplayStepByStep(true);
        QSignalSpy sent(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.StartReplay();
        QCOMPARE(recorder.ReplayBlockDelayMillisecond(), 1);
        QTRY_COMPARE(sent.count(), 1);
        QTest::qWait(50);
        QCOMPARE(sent.count(), 1);
        QVERIFY(!recorder.ReplayTimer().isActive());
        recorder.StartReplay();
        QTRY_COMPARE(sent.count(), 2);
        QCOMPARE(recorder.ReplayIndex(), 1);
    }

    void pauseKeepsTheRemainingTime()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        fill(recorder, {0, 2000, 4000});
        QSignalSpy sent(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.StartReplay();
        QTRY_COMPARE(sent.count(), 1);
        recorder.setIsProcessingBlock(false);
        QTest::qWait(100);
        recorder.PauseReplay();
        QVERIFY(recorder.IsHolding());
        QVERIFY(recorder.IsPlayingBack());
        QVERIFY(!recorder.ReplayTimer().isActive());
        recorder.StartReplay(); // resumes
        // Resumed with what was left of the 2000 ms, not a fresh wait.
        QVERIFY(recorder.ReplayTimer().interval() > 0 && recorder.ReplayTimer().interval() < 2000);
        QCOMPARE(recorder.ReplayIndex(), 0);
    }

    void stopInTheMiddleShowsTheLastBlock()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        fill(recorder, {0, 1000, 2000, 3000});
        QList<float> sent;
        connect(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock,
                [&](const QSharedPointer<CMeasureBlock>& b) { sent << b->Results.first()->B(); });
        recorder.StartReplay();
        QTRY_COMPARE(sent.size(), 1);
        recorder.StopReplay();
        QCOMPARE(sent, QList<float>({0, 3000}));
        QVERIFY(!recorder.IsPlayingBack());
        QCOMPARE(recorder.ReplayIndex(), 3);
    }

    void zeroTimeWarpSendsNothing()
    {
        CRecordingManagerMeasure recorder(*m_Settings);
        fill(recorder, {0, 500});
        recorder.setTimeWarp(0);
        QSignalSpy sent(&recorder, &CRecordingManagerMeasure::ReplayMeasureBlock);
        recorder.StartReplay();
        QTest::qWait(50);
        QCOMPARE(sent.count(), 0);
        QVERIFY(recorder.IsPlayingBack());
    }

    void mappingRecorderClearsUnsavedWithItsData()
    {
        CMeasurementParameters parameters;
        parameters.setBlockSize(1);
        CRecordingManagerMapping recorder(*m_Settings);
        recorder.DataSet()->setMeasurementParameters(&parameters);
        QVERIFY(!recorder.IsOperationMeasure());
        recorder.ResetRecord();
        recorder.AddMeasureBlock(QSharedPointer<CMeasureBlockMapping>(new CMeasureBlockMapping()));
        QVERIFY(recorder.HasUnsavedData());
        recorder.DataSet()->Clear();
        QVERIFY(!recorder.HasUnsavedData());
        QVERIFY(recorder.IsDataSetEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_Recording)
#include "tst_recording.moc"
