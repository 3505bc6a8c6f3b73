#include "operations/MappingXmlFile.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlDocumentRoot.h"
#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"
#include "app/LogCategories.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

MappingXmlFile::MappingXmlFile(QObject* parent) : XmlFile(parent) {}

void MappingXmlFile::ClearPreviousData()
{
    m_Positions.clear();
    m_Orientations.clear();
    m_PositionXMin = m_PositionXMax = 0;
    m_PositionYMin = m_PositionYMax = 0;
    m_PositionZMin = m_PositionZMax = 0;
}

void MappingXmlFile::AddPosition(double x, double y, double z)
{
    if (m_PositionXMax < x)
        setPositionXMax(x);
    if (m_PositionXMin > x)
        setPositionXMin(x);
    if (m_PositionYMax < y)
        setPositionYMax(y);
    if (m_PositionYMin > y)
        setPositionYMin(y);
    if (m_PositionZMax < z)
        setPositionZMax(z);
    if (m_PositionZMin > z)
        setPositionZMin(z);
    m_Positions.append(CPosition(x, y, z));
}

void MappingXmlFile::AddOrientation(double roll, double pitch, double yaw)
{
    m_Orientations.append(COrientation(roll, pitch, yaw));
}

MappingXmlFile::ParseResult MappingXmlFile::ParseDevice(QIODevice* device, QString* errorText)
{
    QXmlStreamReader reader(device);
    bool notValid = false;
    if (CXmlDocumentRoot::Open(reader, QLatin1String("KorvelinMappingFile"), &notValid))
    {
        // Values a point does not give carry over from the previous point.
        double values[6] = {0, 0, 0, 0, 0, 0};
        static const char* const names[6] = {"X", "Y", "Z", "Roll", "Pitch", "Yaw"};
        while (CXmlDocumentRoot::NextRecord(reader, QLatin1String("point"), &notValid))
        {
            while (reader.readNextStartElement())
            {
                int index = -1;
                for (int i = 0; i < 6; ++i)
                {
                    if (reader.name() == QLatin1String(names[i]))
                        index = i;
                }
                if (index < 0)
                {
                    CXmlNesting::SkipCurrentElement(reader);
                    continue;
                }
                const QString text = reader.readElementText();
                if (reader.hasError())
                    break;
                values[index] = CNumberText::ToDouble(text);
            }
            if (reader.hasError())
                break;
            AddPosition(values[0], values[1], values[2]);
            AddOrientation(values[3], values[4], values[5]);
        }
    }
    if (!reader.hasError())
        return ParseResult::Ok;
    if (errorText)
        *errorText = reader.errorString();
    return notValid ? ParseResult::NotValid : ParseResult::Malformed;
}

void MappingXmlFile::ReadFile(const QString&)
{
    setFileLoaded(false);
    ClearPreviousData();

    const QString path = m_FilePath;
    QFile file(path);
    ParseResult result = ParseResult::Ok;
    QString errorText;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        setFileError(true);
        qCWarning(lcFiles).noquote() << QStringLiteral("Cannot read the file") + QStringLiteral(" : ") + path;
        CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::LoadFileErrorDetails);
    }
    else
    {
        result = ParseDevice(&file, &errorText);
        setFileError(result != ParseResult::Ok);
        // A file that is no XML at all (a CSV, a binary) is no mapping file either: said alike.
        if (result != ParseResult::Ok)
            CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::MappingFileErrorDetails);
    }
    file.close();

    CXmlReadReport::Log(path, result != ParseResult::Ok, errorText, file);

    setFileLoaded(!m_FileError);
    emit Loaded();
}

TESVANA_SETTER(MappingXmlFile, const QString&, FileName)
TESVANA_SETTER(MappingXmlFile, const QString&, FilePath)
TESVANA_SETTER(MappingXmlFile, bool, FileError)
TESVANA_SETTER(MappingXmlFile, bool, FileLoaded)
TESVANA_SETTER(MappingXmlFile, double, PositionXMin)
TESVANA_SETTER(MappingXmlFile, double, PositionXMax)
TESVANA_SETTER(MappingXmlFile, double, PositionYMin)
TESVANA_SETTER(MappingXmlFile, double, PositionYMax)
TESVANA_SETTER(MappingXmlFile, double, PositionZMin)
TESVANA_SETTER(MappingXmlFile, double, PositionZMax)
