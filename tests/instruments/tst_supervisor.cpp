#include "../support/MessageCapture.h"
#include "../support/ModelTester.h"
#include "../support/RecordingPrompt.h"
#include "FakeInstruments.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CInstrumentsList.h"
#include "model/CMetaTypes.h"
#include "viewmodels/CConnectionPageViewModel.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
QSharedPointer<CInstrument> fake(const QString& name, const QString& serial,
                                 FakeInstrument::Behaviour connect = FakeInstrument::Succeed,
                                 FakeInstrument::Behaviour disconnect = FakeInstrument::Succeed)
{
    return QSharedPointer<CInstrument>(new FakeInstrument(name, serial, connect, disconnect));
}

FakeInstrument* as(const QSharedPointer<CInstrument>& instrument)
{
    return static_cast<FakeInstrument*>(instrument.data());
}
} // namespace

class tst_Supervisor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    CSettings* settings()
    {
        static CSettings* s = nullptr;
        if (!s)
        {
            s = new CSettings("/p", this, m_Dir.path());
            s->setInstrumentParameterPath(m_Dir.path());
        }
        return s;
    }
    void remember(const QString& name, const QString& serial, const QString& baud = "9600")
    {
        QFile f(m_Dir.path() + "/TesvanaConnectionSettings.xml");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("<SETTINGS><Name>" + name + "</Name><SerialNumber>" + serial +
                 "</SerialNumber><SerialPort>ttyUSB7</SerialPort><BaudRate>" + baud +
                 "</BaudRate></SETTINGS>")
                    .toUtf8());
    }

private slots:
    void initTestCase() { CMetaTypes::Register(); }
    void init() { QFile::remove(m_Dir.path() + "/TesvanaConnectionSettings.xml"); }

    void providersListInOrder()
    {
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider first, second;
        first.instruments = {fake("A", "1"), fake("B", "2")};
        second.instruments = {fake("C", "3"), fake("D", "4")};
        supervisor.AddInstrumentListProvider(&first);
        supervisor.AddInstrumentListProvider(&second);
        QCOMPARE(supervisor.AvailableInstruments().size(), 0); // adding does not refresh
        QSignalSpy updated(&supervisor, &CInstrumentSupervisor::AvailableInstrumentUpdated);
        emit second.InstrumentListUpdated();
        QCOMPARE(updated.count(), 1);
        QStringList names;
        for (const auto& instrument : supervisor.AvailableInstruments())
            names << instrument->Name();
        QCOMPARE(names, QStringList({"A", "B", "C", "D"}));

        supervisor.SetSerialPortSettings("ttyS1", 115200);
        QCOMPARE(first.serialSettings, QStringList{"ttyS1@115200"});
        QCOMPARE(second.serialSettings, QStringList{"ttyS1@115200"});
    }

    void refusedConnectionLeavesNoActiveInstrument()
    {
        CInstrumentSupervisor supervisor(*settings());
        QSharedPointer<CInstrument> probe = fake("P", "1", FakeInstrument::Refuse);
        MessageCapture log;
        supervisor.SetActiveInstrument(probe);
        QVERIFY(!supervisor.HasActiveInstrument());
        QVERIFY(!probe->IsConnected());
        QVERIFY(supervisor.Instrument().isNull());
        QVERIFY(!log.contains("WARN"));

        QSharedPointer<CInstrument> broken = fake("Q", "2", FakeInstrument::Throw);
        supervisor.SetActiveInstrument(broken);
        QVERIFY(!supervisor.HasActiveInstrument());
        QVERIFY(log.contains("WARN Error occured when connecting the instrument."));
    }

    void replacingDisconnectsTheFirst()
    {
        CInstrumentSupervisor supervisor(*settings());
        QStringList journal;
        QSharedPointer<CInstrument> a = fake("A", "1");
        QSharedPointer<CInstrument> b = fake("B", "2");
        as(a)->journal = &journal;
        as(b)->journal = &journal;
        QList<bool> states;
        connect(&supervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged,
                [&](bool v) { states << v; });
        supervisor.SetActiveInstrument(a);
        states.clear();
        journal.clear();
        supervisor.SetActiveInstrument(b);
        QCOMPARE(journal, QStringList({"disconnect 1", "connect 2"}));
        QCOMPARE(states, QList<bool>({false, true}));
        QCOMPARE(supervisor.Instrument().toStrongRef(), b);

        // Activating the active one again connects it again.
        supervisor.SetActiveInstrument(b);
        QCOMPARE(as(b)->connects, 2);
        QCOMPARE(as(b)->disconnects, 0);
    }

    void vanishedInstrumentIsDisconnectedBeforeTheUpdate()
    {
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        QSharedPointer<CInstrument> probe = fake("P", "1", FakeInstrument::Succeed, FakeInstrument::Throw);
        provider.setList({probe});
        supervisor.SetActiveInstrument(probe);
        QVERIFY(supervisor.HasActiveInstrument());
        QStringList order;
        connect(&supervisor, &CInstrumentSupervisor::HasActiveInstrumentChanged,
                [&](bool v) { order << QString("active=%1").arg(v); });
        connect(&supervisor, &CInstrumentSupervisor::AvailableInstrumentUpdated, [&] { order << "updated"; });
        MessageCapture log;
        provider.setList({});
        QCOMPARE(order, QStringList({"active=0", "updated"}));
        QCOMPARE(as(probe)->disconnects, 1);
        QVERIFY(log.contains("WARN Error occured when disconnecting the instrument."));
    }

    void defaultInstrumentIsTheFirstWithTheSerial()
    {
        remember("Probe", "0001");
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        QSharedPointer<CInstrument> first = fake("Probe", "0001");
        QSharedPointer<CInstrument> second = fake("Other", "0001");
        provider.setList({fake("X", "9"), first, second});
        QCOMPARE(supervisor.GetDefaultInstrument(), first);

        CInstrumentsList list;
        checkModel(&list);
        list.addInstrument(first);
        QCOMPARE(list.data(list.index(0), CInstrumentsList::DisplayLabelRole).toString(),
                 QString("Probe - 0001"));
        QCOMPARE(list.roleNames().value(257), QByteArray("DisplayLabel"));
        QVERIFY(!list.data(list.index(0), 300).isValid());
    }

    void noRememberedSerialPicksNothing()
    {
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        provider.setList({fake("Blank", "")});
        QVERIFY(!supervisor.GetDefaultInstrument());
    }

    void connectionPageListsAbsentDefault()
    {
        remember("Lab probe", "7777", "12345");
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        provider.setList({fake("A", "1"), fake("B", "2")});
        CConnectionPageViewModel page(&supervisor);
        QCOMPARE(page.Name(), QString("Connection"));
        QCOMPARE(page.HelpPath(), QString("connection"));
        QCOMPARE(page.InstrumentNames(), QStringList({"None", "A - 1", "B - 2", "Lab probe - 7777"}));
        QCOMPARE(page.SelectedDefaultInstrumentIndex(), 3);
        QCOMPARE(page.BaudrateNames().size(), 15);
        QCOMPARE(page.SelectedBaudrateIndex(), 0); // 12345 is not offered
        QCOMPARE(page.SelectedBaudrateName(), QString("110"));
        QVERIFY(!page.HasUnsavedParameter());

        page.setSelectedDefaultInstrumentIndex(0);
        QVERIFY(page.HasUnsavedParameter());
        page.apply();
        QVERIFY(!page.HasUnsavedParameter());
        QFile f(m_Dir.path() + "/TesvanaConnectionSettings.xml");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();
        QVERIFY(saved.contains("<Name></Name>"));
        QVERIFY(saved.contains("<SerialNumber></SerialNumber>"));
        QVERIFY(saved.contains("<BaudRate>110</BaudRate>"));
        QVERIFY(saved.indexOf("<Name>") < saved.indexOf("<SerialNumber>"));
        QCOMPARE(provider.serialSettings.size(), 1);
        QCOMPARE(page.InstrumentNames(), QStringList({"None", "A - 1", "B - 2"}));

        // Choosing an instrument as default and applying remembers it.
        page.setSelectedDefaultInstrumentIndex(2);
        page.apply();
        QCOMPARE(supervisor.ConnectionPageSettings()->SerialNumber, QString("2"));
        QCOMPARE(supervisor.GetDefaultInstrument()->Name(), QString("B"));
    }

    // Restore puts the saved choices back and leaves nothing unsaved; an Apply that cannot
    // write the file says so and keeps the unsaved mark (the folder lies under a file, which
    // no account, root included, can write into).
    void connectionPageRestoresAndReportsAFailedApply()
    {
        remember("Lab probe", "7777", "9600");
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        provider.setList({fake("A", "1")});
        CConnectionPageViewModel page(&supervisor);
        page.setSelectedDefaultInstrumentIndex(1);
        QVERIFY(page.HasUnsavedParameter());
        page.restore();
        QVERIFY(!page.HasUnsavedParameter());

        QFile blocker(m_Dir.path() + "/not-a-folder");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        settings()->setInstrumentParameterPath(blocker.fileName() + "/settings");
        RecordingPrompt prompt;
        page.setSelectedDefaultInstrumentIndex(1);
        page.apply();
        settings()->setInstrumentParameterPath(m_Dir.path());
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY2(prompt.asked.first().startsWith("Error: Could not save the connection settings"),
                 qPrintable(prompt.asked.first()));
        QVERIFY(page.HasUnsavedParameter());
    }

    void defaultInstrumentNameWithDash()
    {
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        QSharedPointer<CInstrument> probe = fake("Lab - probe - 3", "SN-42");
        provider.setList({fake("A", "1"), probe});
        CConnectionPageViewModel page(&supervisor);
        page.setSelectedDefaultInstrumentIndex(2);
        page.apply();
        QCOMPARE(supervisor.ConnectionPageSettings()->Name, QString("Lab - probe - 3"));
        QCOMPARE(supervisor.ConnectionPageSettings()->SerialNumber, QString("SN-42"));

        // The next start finds it again by its serial number.
        CInstrumentSupervisor next(*settings());
        FakeProvider again;
        next.AddInstrumentListProvider(&again);
        again.setList({fake("A", "1"), probe});
        QCOMPARE(next.GetDefaultInstrument(), probe);
    }

    void connectionPageConnectsAndDescribes_data()
    {
        QTest::addColumn<int>("age");
        QTest::addColumn<bool>("outOfDate");
        QTest::newRow("365 days") << 365 << false;
        QTest::newRow("366 days") << 366 << true;
    }

    void connectionPageConnectsAndDescribes()
    {
        QFETCH(int, age);
        QFETCH(bool, outOfDate);
        CInstrumentSupervisor supervisor(*settings());
        FakeProvider provider;
        supervisor.AddInstrumentListProvider(&provider);
        QSharedPointer<CInstrument> probe = fake("P", " 42 ");
        probe->setModel("  ZRQ5520 ");
        probe->setCalibrationDate(QDateTime::currentDateTime().addDays(-age));
        provider.setList({fake("Q", "1"), probe});
        CConnectionPageViewModel page(&supervisor);
        QCOMPARE(page.ActiveInstrumentIndex(), -1);
        page.setActiveInstrument(1);
        QCOMPARE(page.ActiveInstrumentIndex(), 1);
        QCOMPARE(page.SerialNumber(), QString("42"));
        QCOMPARE(page.Model(), QString("ZRQ5520"));
        QCOMPARE(page.CalibrationOutOfDate(), outOfDate);
        QCOMPARE(page.CalibrationDate(), probe->CalibrationDate().toString("yyyy-MM-dd"));
        page.clearActiveInstrument();
        QCOMPARE(page.ActiveInstrumentIndex(), -1);
        QCOMPARE(page.SerialNumber(), QString());
        QVERIFY(!page.CalibrationOutOfDate());
        page.setActiveInstrument(7); // no such row: nothing happens
        QVERIFY(!supervisor.HasActiveInstrument());
    }
};

QTEST_GUILESS_MAIN(tst_Supervisor)
#include "tst_supervisor.moc"
