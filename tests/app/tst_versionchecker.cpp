#include "../support/MessageCapture.h"
#include "app/CVersionChecker.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace
{
// The maker's version endpoint, played on this machine (there is no internet here):
// every request gets the status and body it was given.
class VersionServer : public QTcpServer
{
public:
    QByteArray status = "200 OK";
    QByteArray body;
    int requests = 0;

    VersionServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray request = socket->readAll();
                // Not HTTP (a TLS handshake, say): hung up on, as a plain server does.
                if (!request.startsWith("GET "))
                {
                    socket->disconnectFromHost();
                    return;
                }
                if (!request.contains("\r\n\r\n"))
                    return;
                ++requests;
                socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/xml\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/versions.xml").arg(serverPort()); }
};

QByteArray versionFile(const QByteArray& software, const QByteArray& headerVersion = "1.0",
                       const QByteArray& product = "Tesvana")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root><Header><Version> " + headerVersion +
           " </Version><DateTime>2026-12-01</DateTime><Title>Versions</Title><Author>Korvelin</Author></"
           "Header>"
           "<Products><" +
           product + "><Software>" + software + "</Software><Firmware>2.1</Firmware></" + product +
           "></Products></Root>";
}
} // namespace

// The version check against a local server: which answers announce a version, and
// which only log (and how).
class tst_VersionChecker : public QObject
{
    Q_OBJECT

    std::unique_ptr<VersionServer> m_Server;
    std::unique_ptr<MessageCapture> m_Log;

    // Runs one check against `url` and returns the versions announced.
    QStringList check(const QString& url)
    {
        CVersionChecker checker(QStringLiteral("Tesvana"), QStringLiteral("1.2.4"), url);
        QSignalSpy announced(&checker, &CVersionChecker::NewVersionAvailable);
        QSignalSpy finished(checker.findChild<QNetworkAccessManager*>(), &QNetworkAccessManager::finished);
        checker.Check();
        if (!finished.wait(10000))
            qWarning() << "no answer from" << url;
        QCoreApplication::processEvents();
        QStringList versions;
        for (const QList<QVariant>& arguments : announced)
            versions << arguments.at(0).toString();
        return versions;
    }

    QStringList serve(const QByteArray& body, const QByteArray& status = "200 OK")
    {
        m_Server->body = body;
        m_Server->status = status;
        return check(m_Server->url());
    }

private slots:
    void initTestCase() { qRegisterMetaType<QNetworkReply*>(); }

    void init()
    {
        m_Server = std::make_unique<VersionServer>();
        m_Log = std::make_unique<MessageCapture>();
    }

    void cleanup()
    {
        m_Log.reset();
        m_Server.reset();
    }

    void newerVersionsAreAnnouncedByNumber()
    {
        QCOMPARE(serve(versionFile("1.2.4")), QStringList());
        QCOMPARE(serve(versionFile("1.2.5")), QStringList{"1.2.5"});
        // Numbers, not texts: 1.10.0 is after 1.9 and after 1.2.4.
        QCOMPARE(serve(versionFile(" 1.10.0 ")), QStringList{"1.10.0"});
        QCOMPARE(serve(versionFile("1.2.4.1")), QStringList{"1.2.4.1"});
        QCOMPARE(serve(versionFile("1.2")), QStringList());
        QCOMPARE(serve("\xEF\xBB\xBF" + versionFile("1.3")), QStringList{"1.3"});
        QVERIFY(m_Log->contains("INFO Current software version: 1.2.4"));
        QVERIFY(m_Log->contains("INFO Online software version: 1.3"));
        QCOMPARE(m_Server->requests, 6);
    }

    void badAnswersOnlyLog()
    {
        QCOMPARE(serve(versionFile("1.3", "2.0")), QStringList());
        QVERIFY(m_Log->contains(
            "WARN VersionChecker exception: ReadHeader : XML version mismatch: expected 1.0, got 2.0\n"));
        QCOMPARE(serve(versionFile("1.3", "1.0", "Other")), QStringList());
        QVERIFY(m_Log->contains("INFO VersionChecker: Product not found in XML: Tesvana"));
        QCOMPARE(serve(versionFile("beta")), QStringList());
        QVERIFY(m_Log->contains("WARN VersionChecker: Invalid online version format: beta"));
        QCOMPARE(serve(""), QStringList());
        QVERIFY(m_Log->contains("WARN VersionChecker: Empty response from " + m_Server->url()));
        QCOMPARE(serve("<Root><Header><Version>1.0</Version>"), QStringList());
        QVERIFY(
            m_Log->contains("WARN VersionChecker: Cannot parse XML from " + m_Server->url() + ".\nError: "));
        QCOMPARE(serve("<Other/>"), QStringList());
        QVERIFY(m_Log->contains("WARN VersionChecker: Unexpected root element: Other Expected: Root"));
        QCOMPARE(serve("<Root><Products/></Root>"), QStringList());
        QVERIFY(m_Log->contains("WARN VersionChecker exception: fileDownloaded : Missing Header element"));
        QCOMPARE(serve("<Root><Header><Version>1.0</Version></Header><Products><Tesvana/></Products></Root>"),
                 QStringList());
        QVERIFY(m_Log->contains("ReadProducts : Missing <Software> element in product section"));
        QCOMPARE(serve(versionFile("1.3"), "500 Internal Server Error"), QStringList());
        QVERIFY(m_Log->contains("WARN VersionChecker: Network error:"));
    }

    void hostileAnswersAreNotRead()
    {
        // Larger than any version file: not read.
        QCOMPARE(serve(versionFile("9.9") + QByteArray(200000, ' ')), QStringList());
        QVERIFY(m_Log->contains("VersionChecker:"));
        m_Log->clear();
        // Nested deep enough to take the stack down with the tree: refused before any tree.
        const int depth = 20000;
        QByteArray deep = "<Root>";
        for (int i = 0; i < depth / 10; ++i)
            deep += "<a>";
        for (int i = 0; i < depth / 10; ++i)
            deep += "</a>";
        deep += "</Root>";
        QCOMPARE(serve(deep), QStringList());
        QVERIFY(m_Log->contains("levels: not a version file"));
        // Entities that would expand to gigabytes.
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE Root [<!ENTITY a \"aaaaaaaaaa\">";
        for (int i = 1; i < 10; ++i)
            laughs +=
                "<!ENTITY " + QByteArray(1, char('a' + i)) + " \"" +
                QByteArray(1, char('a' + i - 1))
                    .repeated(10)
                    .replace(QByteArray(1, char('a' + i - 1)), "&" + QByteArray(1, char('a' + i - 1)) + ";") +
                "\">";
        laughs += "]><Root><Header><Version>&j;</Version></Header><Products/></Root>";
        QCOMPARE(serve(laughs), QStringList());
    }

    void noServerOnlyLogs()
    {
        const quint16 port = m_Server->serverPort();
        m_Server->close();
        QCOMPARE(check(QStringLiteral("http://127.0.0.1:%1/versions.xml").arg(port)), QStringList());
        // Offline is the usual case at a bench: said, but no warning for the status line.
        QVERIFY(m_Log->contains("INFO VersionChecker: no connection, the check is made at the next start:"));
        QVERIFY(!m_Log->contains("WARN VersionChecker"));
        // HTTPS to a server that does not speak it: a failed handshake, logged like any failure.
        m_Log->clear();
        m_Server = std::make_unique<VersionServer>();
        m_Server->body = versionFile("9.9");
        QCOMPARE(check(QStringLiteral("https://127.0.0.1:%1/versions.xml").arg(m_Server->serverPort())),
                 QStringList());
        QVERIFY(m_Log->contains("VersionChecker:"));
    }
};

QTEST_GUILESS_MAIN(tst_VersionChecker)
#include "tst_versionchecker.moc"
