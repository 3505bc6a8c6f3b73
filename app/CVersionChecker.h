#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QDomElement;
class QNetworkReply;

// Asks the maker's version file, once, whether a newer version of the program is
// published, and says so with NewVersionAvailable. Every failure (no network, no
// HTTPS, an HTTP error, an empty, malformed or hostile body) only logs.
class CVersionChecker : public QObject
{
    Q_OBJECT
public:
    // A version file is a few hundred bytes: a longer answer is not one, and is not read.
    static constexpr qint64 MaxResponseBytes = 64 * 1024;
    // Nesting a version file never needs; deeper documents are refused before any tree is built.
    static constexpr int MaxDepth = 32;

    CVersionChecker(QString productName, QString version, QString url, QObject* parent = nullptr);

    void Check();

signals:
    void NewVersionAvailable(QString version);

public slots:
    void fileDownloaded(QNetworkReply* pReply);

private:
    void l_Parse(const QByteArray& body);
    void ReadHeader(const QDomElement& header);
    void ReadProducts(const QDomElement& products);
    bool l_HttpsSupported() const;

    const QString m_Root = QStringLiteral("Root");
    const QString m_Header = QStringLiteral("Header");
    const QString m_Version = QStringLiteral("Version");
    const QString m_DateTime = QStringLiteral("DateTime");
    const QString m_Title = QStringLiteral("Title");
    const QString m_Description = QStringLiteral("Description");
    const QString m_Author = QStringLiteral("Author");
    const QString m_Products = QStringLiteral("Products");
    const QString m_Software = QStringLiteral("Software");
    const QString m_Firmware = QStringLiteral("Firmware");

    QString m_ProductName;
    QString m_OwnVersion;
    QString m_Url;
    QNetworkAccessManager m_Manager{this};
    QByteArray m_Response;
};
