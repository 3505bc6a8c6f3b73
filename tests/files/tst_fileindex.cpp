#include "../support/MessageCapture.h"
#include "app/CSettings.h"
#include "files/CResultsFileIndex.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMetaTypes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace
{
// Block `b` of `samples` samples, a millisecond apart, each block a second after the last;
// By of sample `spikeAt` of block `spikeBlock` is 1000.
QSharedPointer<CMeasureBlock> block(int b, int samples, const QDateTime& base, int spikeBlock = -1,
                                    int spikeAt = -1)
{
    QSharedPointer<CMeasureBlock> out(new CMeasureBlock());
    out->setComment(QStringLiteral("block %1").arg(b));
    for (int i = 0; i < samples; ++i)
    {
        auto s = QSharedPointer<CFieldIntensityResult>::create();
        s->Timestamp = base.addSecs(b).addMSecs(i);
        s->TimestampNanosecond = quint64(s->Timestamp.time().msec()) * 1000000ULL;
        s->setBx(float(b));
        s->setBy(b == spikeBlock && i == spikeAt ? 1000.f : float(i));
        s->setBz(-float(b));
        s->setB(1.f);
        s->setdB(0.01f);
        out->Results.append(s);
    }
    return out;
}

qint64 fileSize(const QString& path)
{
    return QFileInfo(path).size();
}
} // namespace

class tst_FileIndex : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    CSettings* m_Settings = nullptr;
    CMeasurementParameters m_Parameters;
    const QDateTime m_Base = QDateTime(QDate(2025, 6, 1), QTime(9, 0, 0), Qt::LocalTime);

    QString write(const QString& name, int blocks, int samples, int spikeBlock = -1)
    {
        CDataSetMeasurement set(*m_Settings);
        set.setMeasurementParameters(&m_Parameters);
        set.setComment(QStringLiteral("a <comment> with <measurements in it"));
        for (int b = 0; b < blocks; ++b)
            set.AppendLoadedBlock(block(b, samples, m_Base, spikeBlock, 3));
        QString path = m_Dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        CXMLResultsSerializer writer;
        writer.Serialize(&set, &file);
        return path;
    }

private slots:
    void initTestCase()
    {
        CMetaTypes::Register();
        m_Settings = new CSettings("/p", this, m_Dir.path());
        m_Parameters.setApplyConfiguration(false);
        m_Parameters.setUnits(CUnits::UnitType::MILLI_TESLA);
        m_Parameters.setAcquisitionRate(1000);
        m_Parameters.setBlockSize(20);
    }

    // Every block placed, counted and timed; any stretch read back is the blocks written;
    // the overview keeps a one-sample spike; progress reaches the file's end.
    void indexesAndReadsBack()
    {
        const QString path = write("run.kxr.xml", 50, 20, 37);
        CResultsFileIndex index;
        QString error;
        qint64 lastDone = -1;
        QVERIFY2(index.Build(
                     path, *m_Settings, [&](qint64 done, qint64) { lastDone = done; }, nullptr, &error),
                 qPrintable(error));
        QCOMPARE(lastDone, fileSize(path));
        QCOMPARE(index.BlockCount(), 50);
        QCOMPARE(index.SampleCount(), 1000);
        QVERIFY(index.CutShortNotice().isEmpty());
        QVERIFY(index.Head().contains("<parameters>"));
        QCOMPARE(index.BlockAt(10).FirstSample, 200);
        QCOMPARE(index.BlockAt(10).FirstTime, double(m_Base.addSecs(10).toMSecsSinceEpoch()) / 1e3);
        QCOMPARE(index.BlockAtTime(index.BlockAt(10).FirstTime + 0.005), 10);
        QCOMPARE(index.BlockAtTime(1e12), 49);

        std::vector<QSharedPointer<CMeasureBlock>> read;
        QVERIFY2(index.Read(36, 3, &read, *m_Settings, &error), qPrintable(error));
        QCOMPARE(int(read.size()), 3);
        QCOMPARE(read[1]->Comment(), QStringLiteral("block 37"));
        QCOMPARE(read[1]->Results.size(), 20);
        QCOMPARE(read[1]->Results[3]->By(), 1000.f);
        QCOMPARE(read[2]->Results[19]->Bx(), 38.f);

        const auto& overview = index.Overview();
        QCOMPARE(int(overview.size()), 50);
        QCOMPARE(overview[37].Max[3], 1000.f);
        QCOMPARE(overview[36].Max[3], 19.f);
        QCOMPARE(overview[12].Min[4], -12.f);

        QVERIFY(!index.Read(49, 2, &read, *m_Settings, &error));
        QVERIFY(read.empty());
    }

    // However long the file, the overview has at most its fixed number of columns, each
    // spanning whole blocks in order, and the extremes of all of them.
    void overviewStaysBounded()
    {
        const int blocks = CResultsFileIndex::OverviewColumns * 2 + 5;
        const QString path = write("long.kxr.xml", blocks, 1, 7000);
        CResultsFileIndex index;
        QString error;
        QVERIFY2(index.Build(path, *m_Settings, {}, nullptr, &error), qPrintable(error));
        const auto& overview = index.Overview();
        QVERIFY(int(overview.size()) <= CResultsFileIndex::OverviewColumns);
        int next = 0;
        float largestX = -1;
        for (const auto& column : overview)
        {
            QCOMPARE(column.FirstBlock, next);
            next += column.Blocks;
            largestX = std::max(largestX, column.Max[2]);
        }
        QCOMPARE(next, blocks);
        QCOMPARE(largestX, float(blocks - 1));
    }

    // A file cut anywhere (one still being written, or killed) indexes its whole blocks and
    // says so; one that grows afterwards still reads what was indexed.
    void cutShortAndGrowingFiles()
    {
        const QString path = write("whole.kxr.xml", 6, 10);
        QFile source(path);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray xml = source.readAll();
        const QString cutPath = m_Dir.filePath("cut.kxr.xml.part");
        for (const int size : {int(xml.indexOf("</measurements>") + 15),
                               int(xml.lastIndexOf("<measurements")) + 40, int(xml.size()) - 20})
        {
            QFile cut(cutPath);
            QVERIFY(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
            cut.write(xml.left(size));
            cut.close();
            CResultsFileIndex index;
            QString error;
            QVERIFY2(index.Build(cutPath, *m_Settings, {}, nullptr, &error), qPrintable(error));
            QCOMPARE(index.BlockCount(), int(xml.left(size).count("</measurements>")));
            QVERIFY(!index.CutShortNotice().isEmpty());
            // More is written after it was opened.
            QVERIFY(cut.open(QIODevice::Append));
            cut.write(xml.mid(size));
            cut.close();
            std::vector<QSharedPointer<CMeasureBlock>> read;
            QVERIFY2(index.Read(0, index.BlockCount(), &read, *m_Settings, &error), qPrintable(error));
            QCOMPARE(read.back()->Comment(), QStringLiteral("block %1").arg(index.BlockCount() - 1));
        }
    }

    // A file changed under an index reads nothing and says why; a cancelled pass and a file
    // that is no results file fail with a message.
    void changedCancelledAndBadFiles()
    {
        const QString path = write("changed.kxr.xml", 4, 10);
        CResultsFileIndex index;
        QString error;
        QVERIFY(index.Build(path, *m_Settings, {}, nullptr, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(index.BlockAt(2).Offset));
        file.write("garbage garbage");
        file.close();
        std::vector<QSharedPointer<CMeasureBlock>> read;
        QVERIFY(!index.Read(2, 1, &read, *m_Settings, &error));
        QVERIFY2(error.contains("changed since it was opened"), qPrintable(error));
        QVERIFY(index.Read(0, 2, &read, *m_Settings, &error));
        QCOMPARE(int(read.size()), 2);

        std::atomic<bool> cancel{true};
        QVERIFY(!index.Build(path, *m_Settings, {}, &cancel, &error));
        QCOMPARE(error, QStringLiteral("cancelled"));
        // Cancelled part way (at the first progress report), the file is not said to be cut short.
        {
            const QString large = write("large.kxr.xml", 150, 2000);
            QVERIFY(QFileInfo(large).size() > (9 << 20));
            MessageCapture log;
            std::atomic<bool> stop{false};
            QVERIFY(!index.Build(
                large, *m_Settings, [&](qint64, qint64) { stop = true; }, &stop, &error));
            QCOMPARE(error, QStringLiteral("cancelled"));
            QVERIFY(!log.contains("cut short"));
        }

        const QString bad = m_Dir.filePath("bad.xml");
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly));
        badFile.write("<html><measurements></measurements></html>");
        badFile.close();
        QVERIFY(!index.Build(bad, *m_Settings, {}, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!index.Build(m_Dir.filePath("none.xml"), *m_Settings, {}, nullptr, &error));
        QVERIFY(error.contains("none.xml"));
    }
};

QTEST_GUILESS_MAIN(tst_FileIndex)
#include "tst_fileindex.moc"
