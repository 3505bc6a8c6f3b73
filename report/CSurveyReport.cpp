#include "report/CSurveyReport.h"

#include "app/CConstants.h"
#include "files/CRecordingFile.h"
#include "files/LimitsXmlFile.h"
#include "model/CDataset.h"
#include "model/CMeasurementParameters.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <cmath>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CSurveyReport", text);
}

QJsonValue number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

const char* verdictKey(CSurveyAssessment::Verdict verdict)
{
    switch (verdict)
    {
    case CSurveyAssessment::Verdict::Below:
        return "below";
    case CSurveyAssessment::Verdict::Inconclusive:
        return "inconclusive";
    case CSurveyAssessment::Verdict::Exceeds:
        return "exceeds";
    }
    return "";
}

QJsonObject largest(const CSurveyAssessment::Largest& at, const CSurveyAssessment::Judged& judged)
{
    QJsonObject object{{QStringLiteral("max"), number(at.index)},
                       {QStringLiteral("block"), at.block},
                       {QStringLiteral("time"), CSurveyReport::TimeText(at.time)},
                       {QStringLiteral("stretchStart"), CSurveyReport::TimeText(at.startTime)},
                       {QStringLiteral("expandedUncertainty"), number(judged.expandedUncertainty)},
                       {QStringLiteral("verdict"), QString::fromLatin1(verdictKey(judged.verdict))}};
    if (std::isfinite(at.dominantFrequency))
        object.insert(QStringLiteral("dominantFrequency"), at.dominantFrequency);
    return object;
}
} // namespace

CSurveyReport::CSurveyReport(const Details& details, const QDateTime& created)
    : m_Details(details), m_Created(created)
{
}

void CSurveyReport::SetStandard(Standard standard)
{
    m_Standard = standard;
    m_LimitsPath.clear();
    m_LimitsText.clear();
}

bool CSurveyReport::SetLimitsFile(const QString& path, const QByteArray& text, QString* error)
{
    LimitsXmlFile limits(nullptr);
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    QString why;
    if (limits.ParseDevice(&buffer, &why) != LimitsXmlFile::ParseResult::Ok)
    {
        *error = tr("%1: not a limits file (%2)").arg(path, why);
        return false;
    }
    m_Standard = Standard::None;
    m_LimitsPath = path;
    m_LimitsText = text;
    return true;
}

CSurveyAssessment::StepsFor CSurveyReport::l_StepsFor() const
{
    const QByteArray text = m_LimitsText;
    return [text](CUnits::UnitType unit) {
        LimitsXmlFile limits(nullptr);
        limits.SetUnit(unit);
        QBuffer buffer;
        buffer.setData(text);
        buffer.open(QIODevice::ReadOnly);
        limits.ParseDevice(&buffer);
        return limits.ExposureSteps();
    };
}

bool CSurveyReport::AddFile(const QString& path, CSettings& settings, QString* error)
{
    Section section;
    section.path = QFileInfo(path).absoluteFilePath();
    section.fileName = QFileInfo(path).fileName();
    section.assessment = std::make_unique<CSurveyAssessment>(m_Standard, l_StepsFor());
    CSurveyAssessment& assessment = *section.assessment;
    CRecordingFile file(settings);
    QString failure;
    // Assessed as it is read: a recording larger than memory passes through.
    const bool loaded = file.Load(path, [&](const QSharedPointer<CMeasureBlock>& block) {
        if (!assessment.Started())
            assessment.Start(*file.DataSet(), &failure);
        assessment.Add(*block);
        block->Results = {};
    });
    if (!loaded)
    {
        *error = file.ErrorText();
        return false;
    }
    if (!assessment.Started())
        assessment.Start(*file.DataSet(), &failure);
    if (!assessment.Finish(&failure))
    {
        *error = path + QStringLiteral(": ") + failure;
        return false;
    }
    section.instrument = file.DataSet()->InstrumentName();
    section.notice = file.Notice();
    section.sha256 = Sha256(path);
    m_Sections.push_back(std::move(section));
    return true;
}

bool CSurveyReport::AddDataSet(const CDataset& set, const std::vector<const CMeasureBlock*>& blocks,
                               const QString& name, const QString& path, QString* error)
{
    Section section;
    section.fileName = name;
    section.path = path;
    section.assessment = std::make_unique<CSurveyAssessment>(m_Standard, l_StepsFor());
    CSurveyAssessment& assessment = *section.assessment;
    QString failure;
    assessment.Start(set, &failure);
    for (const CMeasureBlock* block : blocks)
        assessment.Add(*block);
    if (!assessment.Finish(&failure))
    {
        *error = name + QStringLiteral(": ") + failure;
        return false;
    }
    section.instrument = set.InstrumentName();
    if (!path.isEmpty())
        section.sha256 = Sha256(path);
    m_Sections.push_back(std::move(section));
    return true;
}

QString CSurveyReport::TimeText(double seconds)
{
    if (!std::isfinite(seconds))
        return QString();
    return QDateTime::fromMSecsSinceEpoch(qint64(std::floor(seconds * 1000 + 0.5)))
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString CSurveyReport::Sha256(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString CSurveyReport::Identifier() const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(m_Details.site.toUtf8());
    hash.addData(m_Details.surveyor.toUtf8());
    hash.addData(m_Details.notes.toUtf8());
    hash.addData(LimitsName().toUtf8());
    for (const Section& section : m_Sections)
        hash.addData((section.fileName + section.sha256).toUtf8());
    return QStringLiteral("REP-%1-%2")
        .arg(m_Created.toString(QStringLiteral("yyyyMMdd-hhmmss")),
             QString::fromLatin1(hash.result().toHex().left(8)).toUpper());
}

QString CSurveyReport::LimitsName() const
{
    return m_Standard != Standard::None && m_LimitsPath.isEmpty()
               ? KVL::CExposureAssessment::StandardName(m_Standard)
               : tr("limits file %1").arg(QFileInfo(m_LimitsPath).fileName());
}

CSurveyAssessment::Verdict CSurveyReport::Overall() const
{
    CSurveyAssessment::Verdict worst = CSurveyAssessment::Verdict::Below;
    for (const Section& section : m_Sections)
        worst = std::max(worst, section.assessment->Overall());
    return worst;
}

double CSurveyReport::LargestIndex(const CSurveyAssessment& assessment)
{
    const double summation = assessment.LargestSummation().index;
    return assessment.HasWeightedPeak() ? std::max(summation, assessment.LargestWeightedPeak().index)
                                        : summation;
}

QString CSurveyReport::VerdictText(CSurveyAssessment::Verdict verdict, double largestIndex)
{
    switch (verdict)
    {
    case CSurveyAssessment::Verdict::Below:
        return tr("below the reference levels");
    case CSurveyAssessment::Verdict::Inconclusive:
        return tr("inconclusive: within the measurement uncertainty of the reference levels");
    case CSurveyAssessment::Verdict::Exceeds:
        return tr("exceeds the reference levels by %1 %").arg(std::round((largestIndex - 1) * 100));
    }
    return QString();
}

QString CSurveyReport::MethodText()
{
    return tr("The field is assessed in stretches of about one second (a power of two of samples, at most "
              "65,536), one after each half of a stretch, so that every sample is assessed outside the taper "
              "of some stretch. The summation index is the sum, over the spectral lines from 1 Hz to half "
              "the acquisition rate, of the RMS of the field vector at each line over the reference level "
              "at its frequency; the noise of each third-octave band counts once with the power of all its "
              "bins. The weighted peak index is the largest length, over the stretch, of the field vector "
              "passed through the weighting filter of the standard (gain 1 / (√2 × reference level), the "
              "phase of first-order sections at the corners of the curve). Both are the methods of the "
              "ICNIRP guidance for non-sinusoidal fields, as IEC 62311 and EN 50413 apply them. Content "
              "below 1 Hz, the static field among it, is excluded from both indices and assessed apart "
              "against the static-field limits (ICNIRP 2009); so are frequencies above half the "
              "acquisition rate, which the recording cannot hold. Against an independent reference the "
              "tests find the summation index within 2 % and the weighted peak index within 3 %.");
}

QString CSurveyReport::DecisionRuleText()
{
    return tr("The instrument's stated uncertainty (its dB column, mean over mean |B|, as a standard "
              "uncertainty) and the method's accuracy (the tests' bounds as rectangular distributions) "
              "are combined and expanded with k = 2 (about 95 % coverage). Decision rule: the result "
              "exceeds the reference levels when the index minus its expanded uncertainty is above 1, "
              "is below them when the index plus its expanded uncertainty is below 1, and is inconclusive "
              "in between.");
}

QJsonObject CSurveyReport::ToJson() const
{
    QJsonArray sections;
    double largestOverall = 0;
    for (const Section& section : m_Sections)
    {
        const CSurveyAssessment& a = *section.assessment;
        const double largestIndex = LargestIndex(a);
        largestOverall = std::max(largestOverall, largestIndex);
        QJsonObject object{
            {QStringLiteral("file"), section.fileName},
            {QStringLiteral("path"), section.path},
            {QStringLiteral("sha256"), section.sha256},
            {QStringLiteral("instrument"), section.instrument},
            {QStringLiteral("start"), TimeText(a.FirstTime())},
            {QStringLiteral("end"), TimeText(a.LastTime())},
            {QStringLiteral("duration"), number(a.LastTime() - a.FirstTime() + 1 / a.Rate())},
            {QStringLiteral("acquisitionRate"), a.Rate()},
            {QStringLiteral("unit"), CUnitsToQString(a.Unit())},
            {QStringLiteral("blocks"), a.Blocks()},
            {QStringLiteral("samples"), double(a.Samples())},
            {QStringLiteral("limits"), a.LimitsName()},
            {QStringLiteral("summation"), largest(a.LargestSummation(), a.Summation())},
            {QStringLiteral("instrumentUncertainty"), number(a.InstrumentUncertainty())},
            {QStringLiteral("verdict"), QString::fromLatin1(verdictKey(a.Overall()))},
            {QStringLiteral("verdictText"), VerdictText(a.Overall(), largestIndex)},
            {QStringLiteral("staticField"),
             QJsonObject{{QStringLiteral("meanBx"), number(a.MeanAxis(0))},
                         {QStringLiteral("meanBy"), number(a.MeanAxis(1))},
                         {QStringLiteral("meanBz"), number(a.MeanAxis(2))},
                         {QStringLiteral("meanB"), number(a.MeanMagnitude())},
                         {QStringLiteral("limit"), number(a.StaticLimit())},
                         {QStringLiteral("verdict"), QString::fromLatin1(verdictKey(a.StaticVerdict()))}}}};
        if (a.HasWeightedPeak())
            object.insert(QStringLiteral("weightedPeak"), largest(a.LargestWeightedPeak(), a.WeightedPeak()));
        if (!section.notice.isEmpty())
            object.insert(QStringLiteral("notice"), section.notice);
        QJsonArray lines;
        for (const CSurveyAssessment::Line& line : a.Lines())
            lines.append(QJsonObject{{QStringLiteral("frequency"), line.frequency},
                                     {QStringLiteral("rms"), number(line.rms)},
                                     {QStringLiteral("limit"), number(line.limit)},
                                     {QStringLiteral("ratio"), number(line.ratio)},
                                     {QStringLiteral("share"), number(line.share)},
                                     {QStringLiteral("noise"), line.noise}});
        object.insert(QStringLiteral("lines"), lines);
        QJsonArray series;
        for (const CSurveyAssessment::Point& p : a.Series())
            series.append(QJsonObject{{QStringLiteral("time"), TimeText(p.time)},
                                      {QStringLiteral("summation"), number(p.summation)},
                                      {QStringLiteral("weightedPeak"), number(p.weightedPeak)}});
        object.insert(QStringLiteral("indicesOverTime"), series);
        // The levels at the corners of the standards' curves and round frequencies between.
        QJsonArray levels;
        for (const double f : {1.0,   2.0,   5.0, 8.0, 10.0, 20.0, 25.0, 50.0, 100.0, 200.0, 300.0,
                               400.0, 500.0, 1e3, 2e3, 3e3,  5e3,  1e4,  2e4,  5e4,   1e5})
            levels.append(QJsonObject{{QStringLiteral("frequency"), f},
                                      {QStringLiteral("level"), number(a.LimitAt(f))}});
        object.insert(QStringLiteral("referenceLevels"), levels);
        QJsonArray bins;
        for (const double rms : a.Spectrum())
            bins.append(number(rms));
        object.insert(QStringLiteral("spectrum"),
                      QJsonObject{{QStringLiteral("stretchStart"), TimeText(a.LargestSummation().startTime)},
                                  {QStringLiteral("stretchEnd"), TimeText(a.LargestSummation().time)},
                                  {QStringLiteral("binWidth"), a.SpectrumBinWidth()},
                                  {QStringLiteral("rms"), bins}});
        object.insert(QStringLiteral("uncertainty"),
                      QJsonObject{{QStringLiteral("instrument"), number(a.InstrumentUncertainty())},
                                  {QStringLiteral("summationMethod"),
                                   CSurveyAssessment::SummationAccuracy / std::sqrt(3.0)},
                                  {QStringLiteral("weightedPeakMethod"),
                                   CSurveyAssessment::WeightedPeakAccuracy / std::sqrt(3.0)},
                                  {QStringLiteral("coverageFactor"), 2}});
        sections.append(object);
    }
    return {{QStringLiteral("identifier"), Identifier()},
            {QStringLiteral("created"), m_Created.toString(Qt::ISODate)},
            {QStringLiteral("program"), CConstants::ApplicationName},
            {QStringLiteral("version"), CConstants::Version},
            {QStringLiteral("site"), m_Details.site},
            {QStringLiteral("surveyor"), m_Details.surveyor},
            {QStringLiteral("notes"), m_Details.notes},
            {QStringLiteral("limits"), LimitsName()},
            {QStringLiteral("standard"), QString::fromLatin1(KVL::CExposureAssessment::Key(m_Standard))},
            {QStringLiteral("verdict"), QString::fromLatin1(verdictKey(Overall()))},
            {QStringLiteral("verdictText"), VerdictText(Overall(), largestOverall)},
            {QStringLiteral("method"), MethodText()},
            {QStringLiteral("decisionRule"), DecisionRuleText()},
            {QStringLiteral("recordings"), sections}};
}
