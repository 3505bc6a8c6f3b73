#include "../support/ModelTester.h"
#include "app/CApplication.h"
#include "app/CLogFilterProxyModel.h"
#include "app/CLogMessageList.h"
#include "app/CLogger.h"
#include "app/CSettings.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace
{
QSharedPointer<CLogMessage> message(CLogMessage::eLevel level, const QString& text)
{
    QSharedPointer<CLogMessage> m(new CLogMessage());
    m->setLevel(level);
    m->setMessage(text);
    m->setTimestamp(QDateTime::currentDateTime());
    return m;
}

QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}
} // namespace

class tst_Logging : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;

private slots:
    void historyIsBoundedOneRowPerAddition()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CLogMessageList list(settings);
        checkModel(&list);
        for (int i = 0; i < 201; ++i)
            list.addData(message(CLogMessage::INFO, QString::number(i)));
        QCOMPARE(list.rowCount(), 200);
        QCOMPARE(list.data(list.index(0), CLogMessageList::MessageRole).toString(), QString("1"));
        QCOMPARE(list.data(list.index(199), CLogMessageList::MessageRole).toString(), QString("200"));
        QCOMPARE(list.data(list.index(0), CLogMessageList::LevelRole).toInt(), 1);
        QVERIFY(!list.data(list.index(0), 99).isValid());
        QVERIFY(!list.data(list.index(200), CLogMessageList::MessageRole).isValid());
        QCOMPARE(list.roleNames().value(1), QByteArray("timestamp"));

        // Lowering the limit stops growth but shrinks by one row per message at most.
        settings.setLogMaxHistoryCount(10);
        list.addData(message(CLogMessage::INFO, "x"));
        QCOMPARE(list.rowCount(), 200);
    }

    void zeroHistoryLimitNeverRemovesFromEmptyList()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        settings.setLogMaxHistoryCount(0);
        CLogMessageList list(settings);
        checkModel(&list);
        list.addData(message(CLogMessage::INFO, "a"));
        list.addData(message(CLogMessage::INFO, "b"));
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.data(list.index(0), CLogMessageList::MessageRole).toString(), QString("b"));
    }

    void proxyFiltersByLevelAndCaseInsensitiveText()
    {
        CSettings settings("/p", nullptr, m_Dir.path());
        CLogMessageList list(settings);
        checkModel(&list);
        CLogFilterProxyModel proxy;
        checkModel(&proxy);
        proxy.setSourceModel(&list);
        list.addData(message(CLogMessage::INFO, "probe connected"));
        list.addData(message(CLogMessage::WARNING, "probe lost"));
        list.addData(message(CLogMessage::CRITICAL, "disk full"));
        QCOMPARE(proxy.MinLevel(), 2);
        QCOMPARE(proxy.rowCount(), 2);
        proxy.setFilterString("PROBE");
        QCOMPARE(proxy.rowCount(), 1);
        proxy.setMinLevel(0);
        QCOMPARE(proxy.rowCount(), 2);
        proxy.setFilterString(QString());
        QCOMPARE(proxy.rowCount(), 3);
        proxy.setMinLevel(4);
        QCOMPARE(proxy.rowCount(), 0);
    }

    void loggerRecreatesFileAndCreatesFolder()
    {
        const QString folder = m_Dir.path() + "/fresh/account";
        {
            CLogger logger(folder);
            QMessageLogContext context("src/file.cpp", 42, "void f()", "default");
            logger.logMessage(QtWarningMsg, context, "first %1 run");
            QStringList lines = fileLines(folder + "/Tesvana.log");
            QCOMPARE(lines.size(), 1);
            QVERIFY2(QRegularExpression(R"(^\[WARN\] \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3} - first %1 run )"
                                        R"(\(src/file.cpp:42, void f\(\)\)$)")
                         .match(lines.at(0))
                         .hasMatch(),
                     qPrintable(lines.at(0)));
            QMessageLogContext empty;
            logger.logMessage(QtInfoMsg, empty, "second");
            lines = fileLines(folder + "/Tesvana.log");
            QVERIFY(lines.at(1).startsWith("[INFO] "));
            QVERIFY(lines.at(1).endsWith(" - second (:0, )"));
        }
        CLogger again(folder);
        QCOMPARE(fileLines(folder + "/Tesvana.log").size(), 0);
    }

    void unwritableLogFolderIsReportedAndHarmless()
    {
        const QString blocker = m_Dir.path() + "/not-a-folder";
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Cannot open the log file .*not-a-folder/Tesvana.log"));
        CLogger logger(blocker);
        QMessageLogContext context;
        logger.logMessage(QtDebugMsg, context, "goes nowhere");
        QVERIFY(QFileInfo(blocker).isFile());
    }

    void handlerRoutesToFileHistoryAndStatusLine()
    {
        CApplication* app = CApplication::instance();
        CApplication::installMessageHandler();
        CMainViewModel& vm = app->MainViewModel();
        CLogMessageList* list = vm.LogMessageList();
        const QString logPath = app->Logger().filePath();

        const int before = list->rowCount();
        qWarning() << "file MainWindow.qml has a binding loop";
        QCOMPARE(list->rowCount(), before + 1);
        QCOMPARE(list->data(list->index(before), CLogMessageList::LevelRole).toInt(), 0);
        QVERIFY(fileLines(logPath).last().startsWith("[WARN] "));
        QVERIFY(fileLines(logPath).last().contains("tst_logging.cpp"));

        const QString lastBefore = vm.LastLogMessages();
        qInfo() << "just information";
        QCOMPARE(list->rowCount(), before + 2);
        QCOMPARE(vm.LogMessageProxy()->rowCount(), 0);
        QCOMPARE(vm.LastLogMessages(), lastBefore);

        qWarning("Ignored NaN for a point");
        QCOMPARE(list->rowCount(), before + 2);
        QVERIFY(!fileLines(logPath).last().contains("Ignored NaN"));

        qCritical("pump %s failed", "3");
        QCOMPARE(list->data(list->index(before + 2), CLogMessageList::LevelRole).toInt(), 3);
        QVERIFY(QRegularExpression(R"(^\[CRIT\] \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3} - pump 3 failed\n$)")
                    .match(vm.LastLogMessages())
                    .hasMatch());
        QCOMPARE(vm.LogMessageProxy()->rowCount(), 1);
    }

    void messageFromWorkerThreadReachesHistoryOnGuiThread()
    {
        CApplication* app = CApplication::instance();
        CApplication::installMessageHandler();
        CLogMessageList* list = app->MainViewModel().LogMessageList();
        const int before = list->rowCount();
        QThread* worker = QThread::create([] { qWarning("from the acquisition thread"); });
        worker->start();
        QVERIFY(worker->wait(5000));
        delete worker;
        // Written to the file at once, listed once the GUI thread runs its events.
        QVERIFY(fileLines(app->Logger().filePath()).last().contains("from the acquisition thread"));
        QTRY_COMPARE(list->rowCount(), before + 1);
        QCOMPARE(list->data(list->index(before), CLogMessageList::MessageRole).toString(),
                 QString("from the acquisition thread"));
        QVERIFY(app->MainViewModel().LastLogMessages().contains("[WARN]"));
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        CApplication::destroy();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(tst_Logging)
#include "tst_logging.moc"
