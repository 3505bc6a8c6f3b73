#include "../support/RecordingPrompt.h"
#include "app/CMessageBoxPrompt.h"
#include "app/CUtils.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{
// Answers the next modal message box from the event loop and records what it
// showed: only for the dialog implementation; everything else uses RecordingPrompt.
struct BoxAnswer
{
    QString text;
    QString informativeText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
};

void answerNextBox(BoxAnswer* seen, const std::function<QAbstractButton*(QMessageBox*)>& pick)
{
    QTimer::singleShot(0, [seen, pick] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
        {
            answerNextBox(seen, pick);
            return;
        }
        seen->text = box->text();
        seen->informativeText = box->informativeText();
        seen->icon = box->icon();
        seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QAbstractButton* button = pick(box);
        if (button)
            button->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
}
} // namespace

class tst_Utils : public QObject
{
    Q_OBJECT

private slots:
    void pointAlignment_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pi") << 3.14159 << QString("      3.142 ");
        QTest::newRow("large") << 12345.6 << QString("  12345     ");
        QTest::newRow("zero") << 0.0 << QString("      0.0000");
        QTest::newRow("small negative") << -0.5 << QString("     -0.5000");
        QTest::newRow("negative") << -12.25 << QString("    -12.25  ");
        QTest::newRow("huge") << 123456789.0 << QString("123456789   ");
    }

    void pointAlignment()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(CUtils::doubleToStringPointAlignment(value), expected);
        QVERIFY(CUtils::doubleToStringPointAlignment(value).length() >= 12);
    }

    void significantDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("padding");
        QTest::addColumn<QString>("expected");
        QTest::newRow("example") << 1.23456 << 5 << false << QString("1.2346");
        QTest::newRow("negative digits padded") << -0.5 << -1 << true << QString(" -0.5000");
        QTest::newRow("padded") << 1.5 << 3 << true << QString("    1.50");
        QTest::newRow("six digits padded once") << 1.5 << 6 << true << QString(" 1.50000");
        QTest::newRow("no padding above six") << 1.5 << 7 << true << QString("1.500000");
        QTest::newRow("four integer digits") << 1234.5 << 5 << false << QString("1234");
        QTest::newRow("more digits than precision") << 123.0 << 2 << false << QString("123");
    }

    void significantDigits()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(bool, padding);
        QFETCH(QString, expected);
        QCOMPARE(CUtils::doubleToString(value, digits, padding), expected);
    }

    void smallConversions()
    {
        QCOMPARE(CUtils::intToString(1234567), QString("1.23457e+06"));
        QCOMPARE(CUtils::intToString(42), QString("42"));
        QCOMPARE(CUtils::fileNameFromPath("/a/b/c.xml"), QString("c.xml"));
        QCOMPARE(CUtils::getUnitText(3), QString::fromUtf8("\xC2\xB5T"));
        QCOMPARE(CUtils::getUnitText(0), QString());
        QCOMPARE(CUtils::getTriggerText(3), QString("Timer"));
        QCOMPARE(CUtils::getTriggerText(9), QString());
        QVERIFY(CUtils::isUnix());
        QVERIFY(CUtils::isLinux());
        QVERIFY(!CUtils::isMacOs());
    }

    void fileRoundTripAndNulByte()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/text.txt";
        CUtils::saveFile(path, QString::fromUtf8("µT line\nsecond"));
        QCOMPARE(CUtils::loadFile(path), QString::fromUtf8("µT line\nsecond"));

        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("before\0after", 12));
        f.close();
        QCOMPARE(CUtils::loadFile(path), QString("before"));
    }

    void unopenableFilesAreReported()
    {
        RecordingPrompt prompt;
        QCOMPARE(CUtils::loadFile("/nonexistent/folder/file.txt"), QString());
        CUtils::saveFile("/nonexistent/folder/file.txt", "x");
        QCOMPARE(
            prompt.asked,
            QStringList({"Error: Could not load file / Could not open file /nonexistent/folder/file.txt",
                         "Error: Could not save file / Could not open file /nonexistent/folder/file.txt"}));
        QVERIFY(!QFile::exists("/nonexistent/folder/file.txt"));
    }

    void confirmationsAnswerThroughThePrompt()
    {
        RecordingPrompt prompt;
        QVERIFY(CUtils::askDataLoseConfirmation("Lose data?", "All gone"));
        prompt.confirm = false;
        QVERIFY(!CUtils::askParameterLoseConfirmation());
        CUtils::informationMessage("Done", "Saved");
        QCOMPARE(prompt.asked, QStringList({"Confirm: Lose data? / All gone",
                                            "Confirm: Are you sure you want to quit the current page ? / "
                                            "All unsaved settings will be lost",
                                            "Information: Done / Saved"}));
    }

    // With no prompt installed nobody can answer: every question takes its safe
    // answer (nothing lost, nothing overwritten) and messages reach the log.
    void unattendedQuestionsAreCancelled()
    {
        QVERIFY(!CUtils::askDataLoseConfirmation("Lose data?", "All gone"));
        QCOMPARE(CPrompt::Current().SaveDiscardCancel("Save?", "Unsaved"), CPrompt::Choice::Cancel);
        QVERIFY(CPrompt::Current().SaveFileName("Save", "/tmp/x.xml", "*.xml").isEmpty());
        QVERIFY(CPrompt::Current().OpenFileNames("Open", "/tmp", "*.xml").isEmpty());
        QTest::ignoreMessage(QtWarningMsg, "Could not load file Cannot read the file");
        CUtils::errorMessage("Could not load file", "Cannot read the file");

        RecordingPrompt prompt;
        QCOMPARE(&CPrompt::Current(), static_cast<CPrompt*>(&prompt));
    }

    // The dialog implementation itself: icons, and Cancel as the safe default.
    void messageBoxesAreQtDialogs()
    {
        CMessageBoxPrompt boxes;
        BoxAnswer seen;
        answerNextBox(&seen, [](QMessageBox* box) { return box->button(QMessageBox::Ok); });
        boxes.Error("Could not load file", "Cannot read the file");
        QCOMPARE(seen.text, QString("Could not load file"));
        QCOMPARE(seen.informativeText, QString("Cannot read the file"));
        QCOMPARE(seen.icon, QMessageBox::Critical);

        answerNextBox(&seen, [](QMessageBox* box) { return box->button(QMessageBox::Ok); });
        QVERIFY(boxes.Confirm("Lose data?", "All gone"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.defaultButton, QString("Cancel"));

        answerNextBox(&seen, [](QMessageBox* box) { return box->defaultButton(); });
        QVERIFY(!boxes.Confirm("Lose data?", "All gone"));

        answerNextBox(&seen, [](QMessageBox* box) { return box->defaultButton(); });
        boxes.Information("Done", "Saved");
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.defaultButton, QString("OK"));

        answerNextBox(&seen, [](QMessageBox* box) { return box->defaultButton(); });
        boxes.Warning("Careful", "Really");
        QCOMPARE(seen.icon, QMessageBox::Warning);
    }

    // File dialogs open in a folder that exists: a storage folder not made yet gives way to
    // the nearest folder above it (a dialog would take the missing name for a file name).
    void fileDialogsOpenInAFolderThatExists()
    {
        QTemporaryDir dir;
        QCOMPARE(CMessageBoxPrompt::ExistingFolder(dir.path()), dir.path());
        QCOMPARE(CMessageBoxPrompt::ExistingFolder(dir.path() + "/Documents/Tesvana"), dir.path());
        QCOMPARE(CMessageBoxPrompt::ExistingFolder(QString()),
                 CMessageBoxPrompt::ExistingFolder(QDir::homePath()));
        QCOMPARE(CMessageBoxPrompt::ExistingFolder("/"), QString("/"));
    }

    void alarmAndAxisTexts()
    {
        QCOMPARE(CUtils::AlarmStateToString(CAlarm::AlarmState::FlagNotification),
                 QString("Flag Notification"));
        QCOMPARE(CUtils::AlarmStateToString(CAlarm::AlarmState(0)), QString());
        QCOMPARE(CUtils::StringToAlarmState("Audio"), CAlarm::AlarmState::Audio);
        QCOMPARE(CUtils::StringToAlarmState("audio"), CAlarm::AlarmState::Off);
        for (int v = 1; v <= 4; ++v)
            QCOMPARE(CUtils::StringToAlarmState(CUtils::AlarmStateToString(CAlarm::AlarmState(v))),
                     CAlarm::AlarmState(v));
        for (int v = 1; v <= 6; ++v)
            QCOMPARE(CUtils::StringToAxisState(CUtils::AxisStateToString(CAxis::AxisType(v))),
                     CAxis::AxisType(v));
        QCOMPARE(CUtils::AxisStateToString(CAxis::AxisType::BBprime), QString("B.B'"));
        QCOMPARE(CUtils::AxisStateToStringUTF(CAxis::AxisType::BBprime), QString::fromUtf8("B\xC2\xB7"
                                                                                           "B'"));
        QCOMPARE(CUtils::AxisStateToStringUTF(CAxis::AxisType::dB), QString::fromUtf8("\xCE\xB5(B)"));
        QCOMPARE(CUtils::AxisStateToStringUTF(CAxis::AxisType(7)), QString());
        QCOMPARE(CUtils::StringToAxisState("bx"), CAxis::AxisType::dB);
    }
};

QTEST_MAIN(tst_Utils)
#include "tst_utils.moc"
