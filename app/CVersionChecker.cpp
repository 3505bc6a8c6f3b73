#include "app/CVersionChecker.h"

#include "app/CXmlNesting.h"
#include "app/LogCategories.h"
#include "compute/CException.h"

#include <QDebug>
#include <QDomDocument>
#include <QNetworkReply>
#include <QUrl>
#include <QVersionNumber>
#include <QXmlStreamReader>

namespace
{
using VersionException = KVL::CException<CVersionChecker>;
} // namespace

CVersionChecker::CVersionChecker(QString productName, QString version, QString url, QObject* parent)
    : QObject(parent), m_ProductName(std::move(productName)), m_OwnVersion(std::move(version)),
      m_Url(std::move(url))
{
    connect(&m_Manager, &QNetworkAccessManager::finished, this, &CVersionChecker::fileDownloaded);
    if (!l_HttpsSupported())
        qCWarning(lcApp).noquote() << "VersionChecker: HTTPS is not available on this system.\n"
                                   << "The update check may fail";
}

bool CVersionChecker::l_HttpsSupported() const
{
    return m_Manager.supportedSchemes().contains(QStringLiteral("https"));
}

void CVersionChecker::Check()
{
    const QUrl url(m_Url);
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 && !l_HttpsSupported())
    {
        qCWarning(lcApp).noquote()
            << "VersionChecker: Cannot check for updates because HTTPS is not supported.\n"
            << "Please install SSL libraries for your platform.";
        return;
    }
    QNetworkReply* reply = m_Manager.get(QNetworkRequest(url));
    // A hostile or mistaken server could send without end: the check stops reading early.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxResponseBytes)
            reply->abort();
    });
}

void CVersionChecker::fileDownloaded(QNetworkReply* pReply)
{
    if (pReply->error() != QNetworkReply::NoError)
    {
        // No network or no server (a bench computer offline) is the usual case, not a fault:
        // logged, not put in the status line. A server that answers wrongly is a warning.
        switch (pReply->error())
        {
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::TimeoutError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyNotFoundError:
        case QNetworkReply::ProxyTimeoutError:
            qCInfo(lcApp).noquote() << "VersionChecker: no connection, the check is made at the next start:"
                                    << pReply->errorString();
            break;
        default:
            qCWarning(lcApp).noquote()
                << "VersionChecker: Network error:" << pReply->errorString() << "Unable to access version";
        }
        pReply->deleteLater();
        return;
    }
    m_Response = pReply->read(MaxResponseBytes + 1);
    pReply->deleteLater();
    if (m_Response.isEmpty())
    {
        qCWarning(lcApp).noquote() << "VersionChecker: Empty response from" << m_Url;
        return;
    }
    if (m_Response.size() > MaxResponseBytes)
    {
        qCWarning(lcApp).noquote() << "VersionChecker: Response from" << m_Url << "is larger than"
                                   << MaxResponseBytes << "bytes: not a version file";
        return;
    }
    try
    {
        l_Parse(m_Response);
    }
    catch (const VersionException& exception)
    {
        qCWarning(lcApp).noquote() << "VersionChecker exception:" << exception.what();
    }
    catch (...)
    {
        qCWarning(lcApp) << "VersionChecker: Unknown exception while parsing XML file.";
    }
}

void CVersionChecker::l_Parse(const QByteArray& response)
{
    QByteArray body = response;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    // Nesting is bounded before a tree is built: a tree thousands of levels deep would
    // exhaust the stack when it is taken down.
    if (!CXmlNesting::Within(body, MaxDepth))
    {
        qCWarning(lcApp).noquote() << "VersionChecker: XML from" << m_Url << "is nested deeper than"
                                   << MaxDepth << "levels: not a version file";
        return;
    }
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(body, false, &message, &line, &column))
    {
        qCWarning(lcApp).noquote()
            << QStringLiteral("VersionChecker: Cannot parse XML from %1.\nError: %2\nLine: %3, Column: %4")
                   .arg(m_Url, message)
                   .arg(line)
                   .arg(column);
        return;
    }
    const QDomElement root = document.documentElement();
    if (root.isNull())
    {
        qCWarning(lcApp) << "VersionChecker: XML document has no root element.";
        return;
    }
    if (root.tagName() != m_Root)
    {
        qCWarning(lcApp).noquote() << "VersionChecker: Unexpected root element:" << root.tagName()
                                   << "Expected:" << m_Root;
        return;
    }
    const QDomElement header = root.firstChildElement(m_Header);
    if (header.isNull())
        throw VersionException("Missing Header element", "fileDownloaded");
    ReadHeader(header);
    const QDomElement products = root.firstChildElement(m_Products);
    if (products.isNull())
        throw VersionException("Missing Products element", "fileDownloaded");
    ReadProducts(products);
}

void CVersionChecker::ReadHeader(const QDomElement& header)
{
    const QDomElement version = header.firstChildElement(m_Version);
    if (version.isNull())
        throw VersionException("Header missing <Version> element", "ReadHeader");
    const QString text = version.text().trimmed();
    if (text != QLatin1String("1.0"))
        throw VersionException("XML version mismatch: expected 1.0, got " + text.toStdString(), "ReadHeader");
}

void CVersionChecker::ReadProducts(const QDomElement& products)
{
    const QDomElement product = products.firstChildElement(m_ProductName);
    if (product.isNull())
    {
        qCInfo(lcApp).noquote() << "VersionChecker: Product not found in XML:" << m_ProductName;
        return;
    }
    const QDomElement software = product.firstChildElement(m_Software);
    if (software.isNull())
        throw VersionException("Missing <Software> element in product section", "ReadProducts");
    const QString text = software.text().trimmed();
    const QVersionNumber online = QVersionNumber::fromString(text);
    const QVersionNumber own = QVersionNumber::fromString(m_OwnVersion);
    qCInfo(lcApp).noquote() << "Current software version:" << m_OwnVersion;
    qCInfo(lcApp).noquote() << "Online software version:" << text;
    if (online.isNull())
    {
        qCWarning(lcApp).noquote() << "VersionChecker: Invalid online version format:" << text;
        return;
    }
    if (QVersionNumber::compare(online, own) > 0)
        emit NewVersionAvailable(online.toString());
}
