#pragma once

#include "compute/CExposureAssessment.h"

#include "app/XmlFile.h"
#include "model/FrequencyRange.h"

#include <QList>
#include <QSharedPointer>

class CLimitsParameters;
class QIODevice;

// Exposure limits by frequency, read from a limits file and held in the unit of
// the samples they are compared with (SetUnit). The file's own values are kept
// apart, so that every change of unit converts from them, never from an earlier
// conversion, and needs no new read of the file.
class LimitsXmlFile : public XmlFile
{
    Q_OBJECT
    Q_PROPERTY(bool Converted READ Converted WRITE setConverted NOTIFY ConvertedChanged)
    Q_PROPERTY(bool FileError READ FileError WRITE setFileError NOTIFY FileErrorChanged)
public:
    enum class ParseResult
    {
        Ok,
        NotValid,
        Malformed,
        // Well-formed, but a value is not a number: the whole file is refused.
        BadValue,
    };

    // `panel` is the limits panel whose file this is; null for a reader on its own
    // (the tool, the report, the fuzz target).
    explicit LimitsXmlFile(CLimitsParameters* panel, QObject* parent = nullptr);

    bool Converted() const { return m_Converted; }
    bool FileError() const { return m_FileError; }
    void setConverted(bool value);
    void setFileError(bool value);

    void ReadLimits(const QString& path);
    // Reads the entries of a limits document; no dialog. A document that fails
    // anywhere leaves no entry: limits are never half of a file.
    ParseResult ParseDevice(QIODevice* device, QString* errorText = nullptr);
    void AddLimit(double upperFrequency, CUnits::UnitType frequencyUnit, double limit,
                  CUnits::UnitType limitUnit);
    void ClearLimits();
    void ClearPreviousLimits();
    // Converts the file's values into the current unit again; `reload` reads the
    // operation's file first.
    void ConvertLimitsFileToCurrentUnits(bool reload);
    // The unit of the samples: the limits follow it at once. A unit that is not of
    // the field (ADC counts, unknown) has no limits.
    void SetUnit(CUnits::UnitType unit);

    const QList<QSharedPointer<FrequencyRange>>& Limits() const { return m_Limits; }
    // The entries as the exposure assessment takes them (frequency in Hz, limit as held).
    std::vector<KVL::CExposureAssessment::Step> ExposureSteps() const;
    double FrequencyMinimum() const { return m_FrequencyMinimum; }
    double FrequencyMaximum() const { return m_FrequencyMaximum; }
    double ValueMinimum() const { return m_ValueMinimum; }
    double ValueMaximum() const { return m_ValueMaximum; }
    CUnits::UnitType CurrentUnit() const { return m_CurrentUnit; }

signals:
    void ConvertedChanged(bool value);
    void FileErrorChanged(bool value);
    // The panel's file could not be read again (gone, or no longer a limits file).
    void FileLost();

private:
    struct Entry
    {
        double upperFrequency;
        CUnits::UnitType frequencyUnit;
        double limit;
        CUnits::UnitType limitUnit;
    };

    void l_ForgetFile();
    // The held limits made again from the file's entries in the current unit.
    void l_Convert();
    QSharedPointer<FrequencyRange> l_Converted(const Entry& entry) const;

    std::vector<Entry> m_Entries; // as the file gives them, by ascending frequency
    QList<QSharedPointer<FrequencyRange>> m_Limits;
    double m_FrequencyMinimum = 0;
    double m_FrequencyMaximum = 0;
    double m_ValueMinimum = 0;
    double m_ValueMaximum = 0;
    bool m_Converted = false;
    bool m_FileError = false;
    CLimitsParameters* m_pPanel;
    CUnits::UnitType m_CurrentUnit = CUnits::UnitType::UNKNOWN;
};
