#include "../support/RecordingPrompt.h"
#include "model/CMetaTypes.h"
#include "operations/MappingXmlFile.h"

#include <QApplication>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_MappingFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Dir;
    QString file(const QByteArray& content)
    {
        static int counter = 0;
        QString path = m_Dir.path() + QString("/map%1.xml").arg(++counter);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    void load(MappingXmlFile& map, const QString& path)
    {
        map.setFilePath(path);
        map.ReadFile(path);
    }

private slots:
    void initTestCase() { CMetaTypes::Register(); }

    void pointsCarryOverAndBoundsHoldZero()
    {
        MappingXmlFile map;
        QSignalSpy loaded(&map, &MappingXmlFile::Loaded);
        load(map,
             file("<KorvelinMappingFile ver=\"1.0\">"
                  "<point><X>5</X><Y>-2.5</Y><Z>1</Z><Roll>10</Roll><Pitch>20</Pitch><Yaw>30</Yaw><Note>x</"
                  "Note>"
                  "</point><point><Z>7</Z></point><point><X>10</X><Y>abc</Y></point></KorvelinMappingFile>"));
        QCOMPARE(loaded.count(), 1);
        QVERIFY(map.FileLoaded());
        QVERIFY(!map.FileError());
        QCOMPARE(map.Positions()->size(), 3);
        QCOMPARE(map.Orientations()->size(), 3);
        QCOMPARE(map.Positions()->at(1), CPosition(5, -2.5, 7));
        QCOMPARE(map.Orientations()->at(1), COrientation(10, 20, 30));
        QCOMPARE(map.Positions()->at(2), CPosition(10, 0, 7));
        QCOMPARE(map.PositionXMin(), 0.0);
        QCOMPARE(map.PositionXMax(), 10.0);
        QCOMPARE(map.PositionYMin(), -2.5);
        QCOMPARE(map.PositionYMax(), 0.0);
        QCOMPARE(map.PositionZMax(), 7.0);

        // A second file replaces the first.
        load(map, file("<KorvelinMappingFile ver=\"1.0\"/>"));
        QVERIFY(map.FileLoaded());
        QCOMPARE(map.Positions()->size(), 0);
        QCOMPARE(map.PositionXMax(), 0.0);
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("points");
        const QString notValid = "Could not load file / The file is not a valid Korvelin XML mapping file";
        QTest::newRow("version") << QByteArray(
                                        "<KorvelinMappingFile ver=\"1.1\"><point/></KorvelinMappingFile>")
                                 << notValid << 0;
        QTest::newRow("root") << QByteArray("<Other ver=\"1.0\"/>") << notValid << 0;
        QTest::newRow("empty") << QByteArray("") << notValid << 0;
        QTest::newRow("stranger") << QByteArray(
                                         "<KorvelinMappingFile ver=\"1.0\"><point><X>1</X></point><line/>"
                                         "<point/></KorvelinMappingFile>")
                                  << notValid << 1;
        // Broken XML, or no XML at all (a CSV chosen by mistake): said, not only logged.
        QTest::newRow("malformed") << QByteArray(
                                          "<KorvelinMappingFile ver=\"1.0\"><point><X>1</X></point><point>")
                                   << notValid << 1;
        QTest::newRow("csv") << QByteArray("X,Y,Z\n1,2,3\n") << notValid << 0;
        // Refused, not walked down.
        QTest::newRow("nested 100000 deep")
            << (QByteArray("<KorvelinMappingFile ver=\"1.0\"><point><X>1</X></point><point><deep>") +
                QByteArray("<x>").repeated(100000) + QByteArray("</x>").repeated(100000) +
                "</deep><X>2</X></point></KorvelinMappingFile>")
            << notValid << 1;
    }

    void failures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, dialog);
        QFETCH(int, points);
        MappingXmlFile map;
        QSignalSpy loaded(&map, &MappingXmlFile::Loaded);
        RecordingPrompt prompt;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Failed to parse file : "));
        load(map, file(content));
        QVERIFY(map.FileError());
        QVERIFY(!map.FileLoaded());
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(map.Positions()->size(), points);
        QCOMPARE(prompt.asked, dialog.isEmpty() ? QStringList() : QStringList{"Error: " + dialog});
    }

    void emptyDocumentIsAnIncorrectFile()
    {
        MappingXmlFile map;
        RecordingPrompt prompt;
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^Error: Failed to parse file : .* : Incorrect file$"));
        load(map, file(QByteArray("<?xml version=\"1.0\"?>\n")));
        QVERIFY(map.FileError());
    }

    void missingFile()
    {
        MappingXmlFile map;
        RecordingPrompt prompt;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Cannot read the file : .*/absent.xml$"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: Cannot read file .*absent.xml"));
        load(map, m_Dir.path() + "/absent.xml");
        QVERIFY(map.FileError());
        QCOMPARE(prompt.asked, QStringList{"Error: Could not load file / Cannot read the file"});
    }
};

QTEST_MAIN(tst_MappingFile)
#include "tst_mappingfile.moc"
