#pragma once

#include "report/CSurveyAssessment.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <memory>
#include <vector>

class CDataset;
class CSettings;

// An exposure survey: who, where and against which limits, and one assessed recording
// per section, ready to be written as a PDF (CReportPdfWriter) or as data (ToJson).
class CSurveyReport
{
public:
    using Standard = CSurveyAssessment::Standard;

    struct Details
    {
        QString site;
        QString surveyor;
        QString notes;
    };

    struct Section
    {
        QString fileName;
        QString path;   // empty for a recording that is not saved in a file
        QString sha256; // of the file, in hex; empty without a file
        QString instrument;
        QString notice; // what a file that ended early lost
        std::unique_ptr<CSurveyAssessment> assessment;
    };

    CSurveyReport(const Details& details, const QDateTime& created = QDateTime::currentDateTime());

    // Against a standard, or a limits file (its text, read once, and its path).
    void SetStandard(Standard standard);
    // False with `error` when the text is not a limits file.
    bool SetLimitsFile(const QString& path, const QByteArray& text, QString* error);

    // A results file, read a block at a time. False with `error` (naming the file) when it
    // cannot be read or assessed; the report is then unchanged.
    bool AddFile(const QString& path, CSettings& settings, QString* error);
    // A recording in memory (`name` names it; `path` is its file when it was loaded from
    // one and not changed since).
    bool AddDataSet(const CDataset& set, const std::vector<const CMeasureBlock*>& blocks, const QString& name,
                    const QString& path, QString* error);

    const Details& GetDetails() const { return m_Details; }
    const QDateTime& Created() const { return m_Created; }
    // REP-yyyyMMdd-hhmmss- and the start of a hash of the data and the details: the same
    // report of the same files made at the same second has the same identifier.
    QString Identifier() const;
    Standard GetStandard() const { return m_Standard; }
    QString LimitsPath() const { return m_LimitsPath; }
    // "ICNIRP 2010 general public", or the limits file's name.
    QString LimitsName() const;
    const std::vector<Section>& Sections() const { return m_Sections; }

    // The worst verdict over the sections.
    CSurveyAssessment::Verdict Overall() const;
    // "below the reference levels", "exceeds the reference levels by 20 %", "inconclusive: …"
    static QString VerdictText(CSurveyAssessment::Verdict verdict, double largestIndex);
    // The larger of a section's two indices.
    static double LargestIndex(const CSurveyAssessment& assessment);
    // The one paragraph on how the indices are computed, and the decision rule.
    static QString MethodText();
    static QString DecisionRuleText();

    QJsonObject ToJson() const;

    static QString Sha256(const QString& path);
    // Seconds since the epoch as local time to the millisecond, as the pages show it;
    // empty when not a number. The PDF and the JSON say the same times.
    static QString TimeText(double seconds);

private:
    CSurveyAssessment::StepsFor l_StepsFor() const;

    Details m_Details;
    QDateTime m_Created;
    Standard m_Standard = Standard::Icnirp2010Public;
    QString m_LimitsPath;
    QByteArray m_LimitsText;
    std::vector<Section> m_Sections;
};
