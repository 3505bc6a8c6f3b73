#include "app/CXmlDocumentRoot.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

namespace
{
QString incorrect()
{
    return QCoreApplication::translate("CXmlDocumentRoot", "Incorrect file");
}
} // namespace

bool CXmlDocumentRoot::Open(QXmlStreamReader& reader, QLatin1String root, bool* notValid)
{
    if (reader.readNextStartElement() && reader.name() == root &&
        reader.attributes().value(QStringLiteral("ver")) == QLatin1String("1.0"))
        return true;
    // A document broken before its first element is malformed; one that simply ends
    // there (an empty file) or starts with another element is no such file.
    if (!reader.hasError() || reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        reader.raiseError(incorrect());
    *notValid = reader.error() == QXmlStreamReader::CustomError ||
                reader.error() == QXmlStreamReader::PrematureEndOfDocumentError;
    return false;
}

bool CXmlDocumentRoot::NextRecord(QXmlStreamReader& reader, QLatin1String record, bool* notValid)
{
    if (!reader.readNextStartElement())
        return false;
    if (reader.name() == record)
        return true;
    reader.raiseError(incorrect());
    *notValid = true;
    return false;
}
