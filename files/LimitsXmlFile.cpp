#include "files/LimitsXmlFile.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlDocumentRoot.h"
#include "app/CXmlNesting.h"
#include "app/CXmlReadReport.h"
#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"
#include "model/CLimitsParameters.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

LimitsXmlFile::LimitsXmlFile(CLimitsParameters* panel, QObject* parent) : XmlFile(parent), m_pPanel(panel) {}

void LimitsXmlFile::ClearLimits()
{
    m_Entries.clear();
    m_Limits.clear();
    m_FrequencyMinimum = m_FrequencyMaximum = 0;
    m_ValueMinimum = m_ValueMaximum = 0;
    setConverted(false);
}

void LimitsXmlFile::ClearPreviousLimits()
{
    ClearLimits();
}

QSharedPointer<FrequencyRange> LimitsXmlFile::l_Converted(const Entry& entry) const
{
    float converted = 0;
    KVL::ComputeUnitsConversion(entry.limitUnit, float(entry.limit), m_CurrentUnit, converted);
    QSharedPointer<FrequencyRange> range(new FrequencyRange());
    range->setUpperFrequencyLimitValue(entry.upperFrequency);
    range->setUpperFrequencyLimitUnit(entry.frequencyUnit);
    range->setExposureLimitValue(converted);
    range->setExposureLimitUnit(m_CurrentUnit);
    return range;
}

void LimitsXmlFile::AddLimit(double upperFrequency, CUnits::UnitType frequencyUnit, double limit,
                             CUnits::UnitType limitUnit)
{
    const Entry entry{upperFrequency, frequencyUnit, limit, limitUnit};
    // Kept in ascending order of frequency: the limit of a frequency is the first entry reaching it.
    const auto at = std::upper_bound(m_Entries.begin(), m_Entries.end(), upperFrequency,
                                     [](double f, const Entry& e) { return f < e.upperFrequency; });
    m_Entries.insert(at, entry);
    m_FrequencyMinimum = std::min(m_FrequencyMinimum, upperFrequency);
    m_FrequencyMaximum = std::max(m_FrequencyMaximum, upperFrequency);
    l_Convert();
}

void LimitsXmlFile::l_Convert()
{
    // Those who show the limits hear of the new ones through the change of this flag.
    const bool wasConverted = m_Converted;
    m_Limits.clear();
    // The bounds describe the converted values only (from 0, as when read), never
    // the file's raw numbers in another unit.
    m_ValueMinimum = m_ValueMaximum = 0;
    if (IsFieldUnit(m_CurrentUnit))
    {
        for (const Entry& entry : m_Entries)
        {
            // A limit in counts or an unknown unit says nothing of a field: the file has no limits here.
            if (!IsFieldUnit(entry.limitUnit))
            {
                m_Limits.clear();
                m_ValueMinimum = m_ValueMaximum = 0;
                break;
            }
            m_Limits.append(l_Converted(entry));
            m_ValueMinimum = std::min(m_ValueMinimum, m_Limits.last()->ExposureLimitValue());
            m_ValueMaximum = std::max(m_ValueMaximum, m_Limits.last()->ExposureLimitValue());
        }
    }
    if (wasConverted && !m_Limits.isEmpty())
        setConverted(false);
    setConverted(!m_Limits.isEmpty());
}

LimitsXmlFile::ParseResult LimitsXmlFile::ParseDevice(QIODevice* device, QString* errorText)
{
    QXmlStreamReader reader(device);
    bool notValid = false;
    bool badValue = false;
    std::vector<Entry> read;
    if (CXmlDocumentRoot::Open(reader, QLatin1String("KorvelinExposureLimitsFile"), &notValid))
    {
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
            // An entry of 0 Hz bounds no band; two entries ending at one frequency give it two limits.
            const bool twice = std::any_of(read.begin(), read.end(), [frequency](const Entry& e) {
                return e.upperFrequency == frequency;
            });
            if (frequency <= 0 || twice)
            {
                reader.raiseError(frequency <= 0
                                      ? tr("Entry %1: the upper frequency must be above 0").arg(entry)
                                      : tr("Entry %1: another entry already ends at %2 Hz")
                                            .arg(entry)
                                            .arg(CNumberText::G6(frequency)));
                badValue = true;
                break;
            }
            read.push_back({frequency, frequencyUnit, value, valueUnit});
        }
    }
    ClearLimits();
    if (!reader.hasError())
    {
        // Files list their ranges in any order; each frequency takes the first range reaching it.
        std::stable_sort(read.begin(), read.end(),
                         [](const Entry& a, const Entry& b) { return a.upperFrequency < b.upperFrequency; });
        m_Entries = std::move(read);
        if (!m_Entries.empty())
        {
            m_FrequencyMinimum = std::min(0.0, m_Entries.front().upperFrequency);
            m_FrequencyMaximum = m_Entries.back().upperFrequency;
        }
        l_Convert();
        return ParseResult::Ok;
    }
    if (errorText)
        *errorText = reader.errorString();
    return badValue ? ParseResult::BadValue : notValid ? ParseResult::NotValid : ParseResult::Malformed;
}

void LimitsXmlFile::l_ForgetFile()
{
    if (!m_pPanel)
        return;
    m_pPanel->setLimitsFileName(QString());
    m_pPanel->setLimitsFilePath(QString());
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
        // A file that is no XML at all is no limits file either: said alike.
        if (result == ParseResult::NotValid || result == ParseResult::Malformed)
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
}

void LimitsXmlFile::ConvertLimitsFileToCurrentUnits(bool reload)
{
    if (reload)
    {
        ClearLimits();
        const QString path = m_pPanel ? m_pPanel->LimitsFilePath() : QString();
        if (!path.isEmpty() && QFile::exists(path))
        {
            ReadLimits(path);
            if (FileError())
                emit FileLost();
        }
        else
        {
            l_ForgetFile();
            emit FileLost();
        }
    }
    l_Convert();
}

void LimitsXmlFile::SetUnit(CUnits::UnitType unit)
{
    if (unit == m_CurrentUnit)
        return;
    m_CurrentUnit = unit;
    l_Convert();
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
