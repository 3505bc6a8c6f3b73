#include "app/CXmlNesting.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QXmlStreamReader>

bool CXmlNesting::Within(const QByteArray& document, int maxDepth, QString* message)
{
    QXmlStreamReader scan(document);
    int depth = 0;
    while (!scan.atEnd())
    {
        const QXmlStreamReader::TokenType token = scan.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > maxDepth)
        {
            if (message)
                *message = TooDeepMessage(maxDepth);
            return false;
        }
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return true;
}

void CXmlNesting::SkipCurrentElement(QXmlStreamReader& reader)
{
    int depth = 1;
    while (depth > 0 && !reader.atEnd())
    {
        switch (reader.readNext())
        {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth)
            {
                reader.raiseError(TooDeepMessage());
                return;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
}

QString CXmlNesting::TooDeepMessage(int maxDepth)
{
    return QCoreApplication::translate("CXmlNesting", "The document is nested deeper than %1 levels")
        .arg(maxDepth);
}
