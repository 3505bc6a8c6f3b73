#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{
QString readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll());
}

QDateTime lineTime(const QString& log, const QString& text)
{
    for (const QString& line : log.split('\n'))
    {
        if (!line.contains(text))
            continue;
        const QRegularExpressionMatch m = QRegularExpression(R"(^\[\w+\] (\S+) - )").match(line);
        if (m.hasMatch())
            return QDateTime::fromString(m.captured(1), Qt::ISODateWithMs);
    }
    return {};
}
} // namespace

// Starts the real program, as a user would, in a folder of its own with empty
// plug-in folders and a fresh home.
class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void startsWaitsAndQuitsInOrder()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (the test script runs the tests under Xvfb)");

        QTemporaryDir dir;
        const QString program = dir.path() + "/prog/Tesvana";
        QVERIFY(QDir().mkpath(dir.path() + "/prog/tesvana/instrument"));
        QVERIFY(QDir().mkpath(dir.path() + "/prog/tesvana/mapper"));
        QVERIFY(QDir().mkpath(dir.path() + "/prog/tesvana/trigger"));
        QVERIFY(QFile::copy(qEnvironmentVariable("TESVANA_BIN_DIR") + "/Tesvana", program));
        QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);

        const QString dataFolder = dir.path() + "/home/data/Tesvana";
        const QString logPath = dataFolder + "/Tesvana.log";
        QVERIFY(QDir().mkpath(dataFolder));
        {
            QFile stale(logPath);
            QVERIFY(stale.open(QIODevice::WriteOnly));
            stale.write("[DEBUG] stale line from an earlier run\n");
        }

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.path() + "/home");
        env.insert("XDG_DATA_HOME", dir.path() + "/home/data");
        env.insert("XDG_CONFIG_HOME", dir.path() + "/home/config");
        env.remove("QT_QPA_PLATFORM");
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, QStringList());
        QVERIFY(process.waitForStarted(10000));

        // Initialised once the main window document is loaded, after the wait for instruments.
        QTRY_VERIFY_WITH_TIMEOUT(readAll(logPath).contains("CApplication initialized"), 20000);
        const QString log = readAll(logPath);
        QVERIFY(!log.contains("stale line"));
        QVERIFY(log.contains("[WARN]") && log.contains("Unable to load any instrument plugins"));

        const QDateTime beforeWait = lineTime(log, "Load font Oxygen Mono Regular. ID :");
        const QDateTime afterWait = lineTime(log, "CApplication initialized");
        QVERIFY(beforeWait.isValid() && afterWait.isValid());
        const qint64 waited = beforeWait.msecsTo(afterWait);
        QVERIFY2(waited >= 1900, qPrintable(QString::number(waited)));

        // Every warning of the QML engine would be a fault of the front end.
        for (const QString& line : log.split('\n'))
        {
            if (line.startsWith("[WARN]") || line.startsWith("[CRIT]"))
                QVERIFY2(!line.contains("qml") && !line.contains("qrc:") && !line.contains("QQuick"),
                         qPrintable(line));
        }

        // A second start in the same account says Tesvana runs already and ends: the first
        // one's log and files stay as they are.
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, QStringList());
        QVERIFY(second.waitForStarted(10000));
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(
            (said += second.readAllStandardError()).contains("Tesvana is already running"), 10000);
        second.kill(); // its dialog waits for a user
        second.waitForFinished(5000);
        QVERIFY(readAll(logPath).contains("CApplication initialized"));

        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        const int terminate = errors.indexOf("CApplication terminate\n");
        const int terminated = errors.indexOf("CApplication terminated");
        const int destructor = errors.indexOf("CApplication destructor");
        QVERIFY2(terminate >= 0 && terminate < terminated && terminated < destructor, qPrintable(errors));
        QVERIFY2(!errors.contains("TypeError"), qPrintable(errors));
        QVERIFY(readAll(logPath).contains("CApplication terminate"));
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
