#include "app/CXmlElementsReader.h"

#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

void CXmlElementsReader::Read(const QString& path, const QString& root,
                              const std::function<bool(const QString& name)>& knows,
                              const std::function<void(const QString& name, const QString& text)>& apply)
{
    QFile file(path);
    if (!file.exists())
        return;

    QXmlStreamReader reader;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        reader.setDevice(&file);
        if (reader.readNextStartElement())
        {
            if (reader.name() != root)
                reader.raiseError(QCoreApplication::translate("CXmlElementsReader", "Incorrect file"));
            else
            {
                while (reader.readNextStartElement())
                {
                    const QString name = reader.name().toString();
                    if (!knows(name))
                    {
                        CXmlNesting::SkipCurrentElement(reader);
                        continue;
                    }
                    const QString text = reader.readElementText();
                    if (reader.hasError())
                        break;
                    apply(name, text);
                }
            }
        }
    }
    file.close();

    CXmlReadReport::Log(path, reader.hasError(), reader.errorString(), file);
}
