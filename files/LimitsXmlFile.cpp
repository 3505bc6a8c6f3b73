#include "files/LimitsXmlFile.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlDocumentRoot.h"
#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"
#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"
#include "operations/COperationMeasure.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

#include <cmath>

LimitsXmlFile::LimitsXmlFile(COperationMeasure* operation, QObject* parent)
    : XmlFile(parent), m_pOperation(operation)
{
    if (m_pOperation)
        connect(m_pOperation->OperationParameters()->MeasurementParameters(),
                &CMeasurementParameters::DisplayUnitsChanged, this,
                &LimitsXmlFile::OnOperationParameterUnitChanged);
}

void LimitsXmlFile::ClearLimits()
{
    m_Limits.clear();
    m_FrequencyMinimum = m_FrequencyMaximum = 0;
    m_ValueMinimum = m_ValueMaximum = 0;
    setConverted(false);
}

void LimitsXmlFile::ClearPreviousLimits()
{
    ClearLimits();
}

void LimitsXmlFile::AddLimit(double upperFrequency, CUnits::UnitType frequencyUnit, double limit,
                             CUnits::UnitType limitUnit)
{
    QSharedPointer<FrequencyRange> range(new FrequencyRange());
    range->setUpperFrequencyLimitValue(upperFrequency);
    range->setUpperFrequencyLimitUnit(frequencyUnit);
    range->setExposureLimitValue(limit);
    range->setExposureLimitUnit(limitUnit);
    m_Limits.append(range);
    m_FrequencyMinimum = std::min(m_FrequencyMinimum, upperFrequency);
    m_FrequencyMaximum = std::max(m_FrequencyMaximum, upperFrequency);
    m_ValueMinimum = std::min(m_ValueMinimum, limit);
    m_ValueMaximum = std::max(m_ValueMaximum, limit);
}

LimitsXmlFile::ParseResult LimitsXmlFile::ParseDevice(QIODevice* device, QString* errorText)
{
    QXmlStreamReader reader(device);
    bool notValid = false;
    bool badValue = false;
    if (CXmlDocumentRoot::Open(reader, QLatin1String("KorvelinExposureLimitsFile"), &notValid))
    {
        ClearLimits();
        // Values an entry does not give carry over from the previous entry.
        double frequency = 0;
        double value = 0;
        CUnits::UnitType frequencyUnit = CUnits::UnitType::UNKNOWN;
        CUnits::UnitType valueUnit = CUnits::UnitType::UNKNOWN;
        int entry = 0;
        while (CXmlDocumentRoot::NextRecord(reader, QLatin1String("freqRange"), &notValid))
        {
            ++entry;
            while (reader.readNextStartElement())
            {
                const QString name = reader.name().toString();
                if (name != QLatin1String("upperFreqLimit") && name != QLatin1String("freqUnits") &&
                    name != QLatin1String("exposureLimitValue") && name != QLatin1String("valueUnits"))
                {
                    CXmlNesting::SkipCurrentElement(reader);
                    continue;
                }
                const QString text = reader.readElementText();
                if (reader.hasError())
                    break;
                if (name == QLatin1String("freqUnits"))
                    frequencyUnit = QStringToCUnits(text);
                else if (name == QLatin1String("valueUnits"))
                    valueUnit = QStringToCUnits(text);
                else
                {
                    // A value read as 0 would silently drop its band from every comparison.
                    bool ok = false;
                    const double number = CNumberText::ToDouble(text, &ok);
                    if (!ok || !std::isfinite(number) || number < 0)
                    {
                        reader.raiseError(
                            tr("Entry %1: %2 \"%3\" is not a number").arg(entry).arg(name, text));
                        badValue = true;
                        break;
                    }
                    (name == QLatin1String("upperFreqLimit") ? frequency : value) = number;
                }
            }
            if (reader.hasError())
                break;
            AddLimit(frequency, frequencyUnit, value, valueUnit);
        }
    }
    if (!reader.hasError())
        return ParseResult::Ok;
    ClearLimits();
    if (errorText)
        *errorText = reader.errorString();
    return badValue ? ParseResult::BadValue : notValid ? ParseResult::NotValid : ParseResult::Malformed;
}

void LimitsXmlFile::l_ForgetFile()
{
    if (!m_pOperation)
        return;
    CLimitsParameters* limits = m_pOperation->OperationParameters()->LimitsParameters();
    limits->setLimitsFileName(QString());
    limits->setLimitsFilePath(QString());
}

void LimitsXmlFile::ReadLimits(const QString& path)
{
    m_FilePath = path;
    QFile file(path);
    ParseResult result = ParseResult::Ok;
    QString errorText;
    if (!file.exists())
    {
        setFileError(true);
        qCWarning(lcFiles).noquote() << QStringLiteral("Cannot read the file") +
                                            QStringLiteral(". Limit File doesn't exist : ") + path;
        l_ForgetFile();
        CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::LoadFileErrorDetails);
    }
    else if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        setFileError(true);
        qCWarning(lcFiles).noquote() << QStringLiteral("Cannot read the file") +
                                            QStringLiteral(". Limit file path : ") + path;
        l_ForgetFile();
        CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::LoadFileErrorDetails);
        // The device's own reason (a folder, no permission) is worth keeping in the log.
        CXmlReadReport::Log(path, false, QString(), file);
    }
    else
    {
        result = ParseDevice(&file, &errorText);
        if (result == ParseResult::NotValid)
            CUtils::errorMessage(CConstants::LoadFileErrorTitle, CConstants::LimitsFileErrorDetails);
        else if (result == ParseResult::BadValue)
            CUtils::errorMessage(CConstants::LoadFileErrorTitle, errorText);
        setFileError(result != ParseResult::Ok);
        // A refused file is not the operation's limits file.
        if (result != ParseResult::Ok)
            l_ForgetFile();
        file.close();
        CXmlReadReport::Log(path, result != ParseResult::Ok, errorText, file);
    }
    if (m_pOperation)
        m_CurrentUnit = m_pOperation->OperationParameters()->MeasurementParameters()->DisplayUnits();
}

void LimitsXmlFile::ConvertLimitsFileToCurrentUnits(bool reload)
{
    setConverted(false);
    if (reload)
    {
        ClearLimits();
        const QString path = m_pOperation
                                 ? m_pOperation->OperationParameters()->LimitsParameters()->LimitsFilePath()
                                 : QString();
        if (!path.isEmpty() && QFile::exists(path))
        {
            ReadLimits(path);
            if (FileError() && m_pOperation)
                m_pOperation->setLimitsFileLoaded(false);
        }
        else
        {
            l_ForgetFile();
            if (m_pOperation)
                m_pOperation->setLimitsFileLoaded(false);
        }
    }
    const CUnits::UnitType display =
        m_pOperation ? m_pOperation->OperationParameters()->MeasurementParameters()->DisplayUnits()
                     : m_CurrentUnit;
    // The bounds describe the converted values only (from 0, as when read), never
    // the file's raw numbers in another unit.
    m_ValueMinimum = m_ValueMaximum = 0;
    for (const QSharedPointer<FrequencyRange>& range : qAsConst(m_Limits))
    {
        float converted = 0;
        KVL::ComputeUnitsConversion(range->ExposureLimitUnit(), float(range->ExposureLimitValue()), display,
                                    converted);
        range->setExposureLimitValue(converted);
        m_ValueMinimum = std::min(m_ValueMinimum, double(converted));
        m_ValueMaximum = std::max(m_ValueMaximum, double(converted));
    }
    setConverted(!m_Limits.isEmpty());
}

void LimitsXmlFile::OnOperationParameterUnitChanged(CUnits::UnitType displayUnits)
{
    if (displayUnits == m_CurrentUnit)
        return;
    m_CurrentUnit = displayUnits;
    if (m_pOperation && m_pOperation->LimitsFileLoaded())
        ConvertLimitsFileToCurrentUnits(true);
}

TESVANA_SETTER(LimitsXmlFile, bool, Converted)
TESVANA_SETTER(LimitsXmlFile, bool, FileError)

std::vector<KVL::CExposureAssessment::Step> LimitsXmlFile::ExposureSteps() const
{
    std::vector<KVL::CExposureAssessment::Step> steps;
    steps.reserve(std::size_t(m_Limits.size()));
    for (const QSharedPointer<FrequencyRange>& range : m_Limits)
        steps.push_back({range->UpperFrequencyLimitValue(), range->ExposureLimitValue()});
    return steps;
}
