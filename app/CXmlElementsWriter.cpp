#include "app/CXmlElementsWriter.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

bool CXmlElementsWriter::Write(const QString& path, const QString& root,
                               const std::vector<std::pair<QString, QString>>& elements, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    {
        *error = file.errorString();
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    writer.writeStartDocument();
    writer.writeStartElement(root);
    for (const auto& [name, text] : elements)
        writer.writeTextElement(name, text);
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit())
    {
        *error = file.errorString();
        return false;
    }
    return true;
}
