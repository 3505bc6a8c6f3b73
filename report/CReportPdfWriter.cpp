#include "report/CReportPdfWriter.h"

#include "app/CConstants.h"
#include "compute/CEngineeringNotation.h"
#include "report/CReportChart.h"
#include "report/CSurveyReport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CReportPdfWriter", text);
}

const QColor Summation(0x1f, 0x5f, 0xa8);
const QColor WeightedPeak(0xd0, 0x70, 0x10);
const QColor Limit(0xc0, 0x28, 0x28);

QColor verdictColour(CSurveyAssessment::Verdict verdict)
{
    switch (verdict)
    {
    case CSurveyAssessment::Verdict::Below:
        return QColor(0x1b, 0x7f, 0x3b);
    case CSurveyAssessment::Verdict::Inconclusive:
        return QColor(0xb2, 0x6b, 0x00);
    case CSurveyAssessment::Verdict::Exceeds:
        return Limit;
    }
    return Qt::black;
}

QString timeText(double seconds)
{
    const QString text = CSurveyReport::TimeText(seconds);
    return text.isEmpty() ? QStringLiteral("--") : text;
}

QString index(double value)
{
    return CEngineeringNotation::Fixed(value, 4);
}

QString percent(double relative)
{
    return std::isfinite(relative) ? CEngineeringNotation::Fixed(relative * 100, 3) + QStringLiteral(" %")
                                   : QStringLiteral("--");
}

QString duration(double seconds)
{
    if (!std::isfinite(seconds))
        return QStringLiteral("--");
    if (seconds < 60)
        return CEngineeringNotation::Format(seconds, QStringLiteral("s"), 5);
    const qint64 whole = qint64(std::floor(seconds));
    return QStringLiteral("%1:%2:%3 (%4 s)")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'))
        .arg(CEngineeringNotation::Fixed(seconds, 6));
}

// The pages as a flow from top to bottom: blocks of text, tables and charts, each
// moved whole to the next page when it does not fit. Laid out twice: first without a
// painter to count the pages, then drawn with "page n of N" known.
class Flow
{
public:
    Flow(QPdfWriter& writer, QPainter* painter, const CSurveyReport& report, int pages)
        : m_Writer(writer), m_Painter(painter), m_Report(report), m_Pages(pages)
    {
        const QRect area = writer.pageLayout().paintRectPixels(writer.resolution());
        m_Width = area.width();
        m_Height = area.height();
        m_Body = QFont(QStringLiteral("DejaVu Sans"));
        m_Body.setPointSizeF(9);
        // No ligatures: "fi" stays two letters for whoever searches or copies the text.
        m_Body.setStyleStrategy(QFont::PreferNoShaping);
        m_Small = m_Body;
        m_Small.setPointSizeF(7);
        m_Mono = QFont(QStringLiteral("DejaVu Sans Mono"));
        m_Mono.setPointSizeF(7.5);
        m_Mono.setStyleStrategy(QFont::PreferNoShaping);
        m_Heading = m_Body;
        m_Heading.setPointSizeF(13);
        m_Heading.setBold(true);
        m_Title = m_Body;
        m_Title.setPointSizeF(18);
        m_Title.setBold(true);
        m_Bold = m_Body;
        m_Bold.setBold(true);
        // The footer: one line of the report, one per file's checksum.
        int files = 0;
        for (const auto& section : report.Sections())
            files += section.sha256.isEmpty() ? 0 : 1;
        m_FooterHeight = Line(m_Small) * (2.5 + files);
    }

    int Page() const { return m_Page; }
    double Line(const QFont& font) const { return QFontMetricsF(font, &m_Writer).height(); }
    const QFont& Body() const { return m_Body; }
    const QFont& Bold() const { return m_Bold; }
    const QFont& Mono() const { return m_Mono; }
    const QFont& Small() const { return m_Small; }

    // Room for `height` on this page, else a new one.
    void Need(double height)
    {
        if (m_Y > 0 && m_Y + height > m_Height - m_FooterHeight)
            NewPage();
    }

    void NewPage()
    {
        l_Footer();
        if (m_Painter)
            m_Writer.newPage();
        ++m_Page;
        m_Y = 0;
    }

    void Finish() { l_Footer(); }

    void Space(double lines) { m_Y += Line(m_Body) * lines; }

    double TextHeight(const QString& text, const QFont& font, double width) const
    {
        return QFontMetricsF(font, &m_Writer)
            .boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text)
            .height();
    }

    void Text(const QString& text, const QFont& font, const QColor& colour = Qt::black)
    {
        const double height = TextHeight(text, font, m_Width);
        Need(height);
        if (m_Painter)
        {
            m_Painter->setFont(font);
            m_Painter->setPen(colour);
            m_Painter->drawText(QRectF(0, m_Y, m_Width, height), Qt::TextWordWrap, text);
        }
        m_Y += height + Line(font) * 0.3;
    }

    void Title(const QString& text) { Text(text, m_Title); }

    // A heading never ends a page: it goes with at least a few lines of what follows, or
    // with `following` (a chart's height and its caption).
    void Heading(const QString& text, double following = 0)
    {
        Need(Line(m_Heading) * 1.5 + std::max(Line(m_Body) * 6, following));
        Space(0.6);
        Text(text, m_Heading);
    }

    struct Cell
    {
        QString text;
        const QFont* font = nullptr;
        QColor colour = Qt::black;
        bool right = false;
    };
    using Row = std::vector<Cell>;

    // Columns as shares of the width; the first row is a heading when `heading`.
    void Table(const std::vector<Row>& rows, const std::vector<double>& shares, bool heading)
    {
        const double pad = Line(m_Body) * 0.25;
        for (std::size_t r = 0; r < rows.size(); ++r)
        {
            double height = 0;
            for (std::size_t c = 0; c < rows[r].size() && c < shares.size(); ++c)
            {
                const Cell& cell = rows[r][c];
                height = std::max(height, TextHeight(cell.text, l_FontOf(cell, r == 0 && heading),
                                                     shares[c] * m_Width - 2 * pad));
            }
            height += 2 * pad;
            // A table's heading goes with its first row.
            Need(r == 0 && heading ? height * 2.2 : height);
            if (m_Painter)
            {
                double x = 0;
                if (r == 0 && heading)
                    m_Painter->fillRect(QRectF(0, m_Y, m_Width, height), QColor(0xee, 0xee, 0xee));
                for (std::size_t c = 0; c < rows[r].size() && c < shares.size(); ++c)
                {
                    const Cell& cell = rows[r][c];
                    const double width = shares[c] * m_Width;
                    m_Painter->setFont(l_FontOf(cell, r == 0 && heading));
                    m_Painter->setPen(cell.colour);
                    m_Painter->drawText(
                        QRectF(x + pad, m_Y + pad, width - 2 * pad, height - 2 * pad),
                        int(Qt::TextWordWrap) | int(cell.right ? Qt::AlignRight : Qt::AlignLeft), cell.text);
                    x += width;
                }
                m_Painter->setPen(QPen(QColor(0xcc, 0xcc, 0xcc), 1));
                m_Painter->drawLine(QPointF(0, m_Y + height), QPointF(m_Width, m_Y + height));
            }
            m_Y += height;
        }
        Space(0.5);
    }

    double ChartHeight(double heightShare) const { return m_Width * heightShare; }

    void Chart(const CReportChart& chart, double heightShare)
    {
        const double height = ChartHeight(heightShare);
        Need(height);
        if (m_Painter)
            chart.Draw(*m_Painter, QRectF(0, m_Y, m_Width, height), m_Small);
        m_Y += height + Line(m_Body) * 0.5;
    }

private:
    const QFont& l_FontOf(const Cell& cell, bool heading) const
    {
        return cell.font ? *cell.font : heading ? m_Bold : m_Body;
    }

    void l_Footer()
    {
        if (!m_Painter)
            return;
        const double line = Line(m_Small);
        double y = m_Height - m_FooterHeight + line * 0.5;
        m_Painter->setPen(QPen(QColor(0x99, 0x99, 0x99), 1));
        m_Painter->drawLine(QPointF(0, y), QPointF(m_Width, y));
        y += line * 0.3;
        m_Painter->setFont(m_Small);
        m_Painter->setPen(QColor(0x44, 0x44, 0x44));
        m_Painter->drawText(QRectF(0, y, m_Width, line), Qt::AlignLeft,
                            tr("Report %1 · %2 %3 · %4")
                                .arg(m_Report.Identifier(), CConstants::ApplicationName, CConstants::Version,
                                     m_Report.LimitsName()));
        m_Painter->drawText(QRectF(0, y, m_Width, line), Qt::AlignRight,
                            tr("Page %1 of %2").arg(m_Page).arg(m_Pages));
        for (const auto& section : m_Report.Sections())
            if (!section.sha256.isEmpty())
            {
                y += line;
                m_Painter->drawText(QRectF(0, y, m_Width, line), Qt::AlignLeft,
                                    tr("SHA-256 %1  %2").arg(section.sha256, section.fileName));
            }
    }

    QPdfWriter& m_Writer;
    QPainter* m_Painter;
    const CSurveyReport& m_Report;
    int m_Pages;
    int m_Page = 1;
    double m_Width = 0, m_Height = 0, m_Y = 0, m_FooterHeight = 0;
    QFont m_Body, m_Small, m_Mono, m_Heading, m_Title, m_Bold;
};

using Cell = Flow::Cell;
using Row = Flow::Row;

QString field(double value, const QString& unit)
{
    return CEngineeringNotation::Format(value, unit, 4);
}

// The reference levels from 1 Hz to 100 kHz in the unit of the samples, on a dense
// logarithmic grid (a limits file's steps stand nearly upright).
CReportChart::Series levels(const CSurveyAssessment& a, double from, double to)
{
    CReportChart::Series series{tr("reference level"), Limit, CReportChart::Style::Line, true, {}};
    const int points = 600;
    for (int i = 0; i <= points; ++i)
    {
        const double f = from * std::pow(to / from, double(i) / points);
        series.points.append(QPointF(f, a.LimitAt(f)));
    }
    return series;
}

void front(Flow& flow, const CSurveyReport& report)
{
    const CSurveyReport::Details& details = report.GetDetails();
    flow.Title(tr("Exposure survey report"));
    const auto row = [](const QString& name, const QString& value) { return Row{{name}, {value}}; };
    std::vector<Row> rows{
        row(tr("Site"), details.site.isEmpty() ? QStringLiteral("--") : details.site),
        row(tr("Surveyor"), details.surveyor.isEmpty() ? QStringLiteral("--") : details.surveyor),
        row(tr("Date of the report"), report.Created().toString(QStringLiteral("yyyy-MM-dd hh:mm"))),
        row(tr("Report identifier"), report.Identifier()),
        row(tr("Program"), CConstants::ApplicationName + QLatin1Char(' ') + CConstants::Version),
        row(tr("Limits applied"),
            report.LimitsName() + (report.LimitsPath().isEmpty()
                                       ? QString()
                                       : QStringLiteral(" (") + report.LimitsPath() + ')')),
        row(tr("Recordings"), QString::number(report.Sections().size()))};
    if (!details.notes.isEmpty())
        rows.push_back(row(tr("Notes"), details.notes));
    flow.Table(rows, {0.25, 0.75}, false);

    double largest = 0;
    for (const auto& section : report.Sections())
        largest = std::max(largest, CSurveyReport::LargestIndex(*section.assessment));
    QFont verdict = flow.Bold();
    verdict.setPointSizeF(12);
    flow.Text(tr("Result: %1").arg(CSurveyReport::VerdictText(report.Overall(), largest)), verdict,
              verdictColour(report.Overall()));

    if (report.Sections().size() > 1)
    {
        flow.Heading(tr("Summary"));
        std::vector<Row> summary{{{tr("Recording")},
                                  {tr("Summation index"), nullptr, Qt::black, true},
                                  {tr("Weighted peak index"), nullptr, Qt::black, true},
                                  {tr("Result")}}};
        for (const auto& section : report.Sections())
        {
            const CSurveyAssessment& a = *section.assessment;
            summary.push_back(
                {{section.fileName},
                 {index(a.LargestSummation().index), nullptr, Qt::black, true},
                 {a.HasWeightedPeak() ? index(a.LargestWeightedPeak().index) : QStringLiteral("--"), nullptr,
                  Qt::black, true},
                 {CSurveyReport::VerdictText(a.Overall(), CSurveyReport::LargestIndex(a)), nullptr,
                  verdictColour(a.Overall())}});
        }
        flow.Table(summary, {0.34, 0.16, 0.18, 0.32}, true);
    }

    // The limits as the first recording's unit holds them.
    const CSurveyAssessment& first = *report.Sections().front().assessment;
    flow.Heading(tr("Reference levels"), flow.ChartHeight(0.36) + flow.Line(flow.Body()) * 3);
    flow.Text(tr("%1: the RMS reference level of the magnetic flux density by frequency, from 1 Hz to "
                 "100 kHz, in %2.")
                  .arg(first.LimitsName(), CUnitsToQString(first.Unit())),
              flow.Body());
    CReportChart chart;
    chart.xAxis = CReportChart::Axis::Logarithmic;
    chart.yAxis = CReportChart::Axis::Logarithmic;
    chart.xTitle = tr("Frequency [Hz]");
    chart.yTitle = tr("Reference level [%1]").arg(CUnitsToQString(first.Unit()));
    chart.series.push_back(levels(first, 1, 1e5));
    chart.series.back().name.clear();
    chart.series.back().dashed = false;
    flow.Chart(chart, 0.36);
}

void section(Flow& flow, const CSurveyReport::Section& s, int number)
{
    const CSurveyAssessment& a = *s.assessment;
    const QString unit = CUnitsToQString(a.Unit());
    flow.NewPage();
    flow.Heading(tr("Recording %1: %2").arg(number).arg(s.fileName));
    const auto row = [](const QString& name, const QString& value) { return Row{{name}, {value}}; };
    std::vector<Row> rows{
        row(tr("File"), s.path.isEmpty() ? tr("%1 (not saved in a file)").arg(s.fileName) : s.path)};
    if (!s.sha256.isEmpty())
        rows.push_back({{tr("SHA-256")}, {s.sha256, &flow.Mono()}});
    rows.push_back(row(tr("Start"), timeText(a.FirstTime())));
    rows.push_back(row(tr("End"), timeText(a.LastTime())));
    rows.push_back(row(tr("Duration"), duration(a.LastTime() - a.FirstTime() + 1 / a.Rate())));
    rows.push_back(
        row(tr("Acquisition rate"), CEngineeringNotation::Format(a.Rate(), QStringLiteral("Hz"), 6)));
    rows.push_back(row(tr("Unit"), unit));
    rows.push_back(row(tr("Instrument (model and serial number)"),
                       s.instrument.isEmpty() ? tr("not stated in the file") : s.instrument));
    rows.push_back(row(tr("Blocks"), QString::number(a.Blocks())));
    rows.push_back(row(tr("Samples"), QString::number(a.Samples())));
    rows.push_back(row(tr("Limits"), a.LimitsName()));
    if (!s.notice.isEmpty())
        rows.push_back(row(tr("Notice"), s.notice));
    flow.Table(rows, {0.3, 0.7}, false);

    // The result.
    flow.Heading(tr("Result"));
    const CSurveyAssessment::Judged summation = a.Summation();
    std::vector<Row> results{{{tr("Index")},
                              {tr("Largest"), nullptr, Qt::black, true},
                              {tr("U (k=2)"), nullptr, Qt::black, true},
                              {tr("When")},
                              {tr("Block"), nullptr, Qt::black, true},
                              {tr("Result")}}};
    const auto judged = [&](const QString& name, const CSurveyAssessment::Largest& at,
                            const CSurveyAssessment::Judged& j, const QString& when) {
        results.push_back(
            {{name},
             {index(at.index), nullptr, Qt::black, true},
             {CEngineeringNotation::Fixed(j.index * j.expandedUncertainty, 2), nullptr, Qt::black, true},
             {when},
             {QString::number(at.block), nullptr, Qt::black, true},
             {CSurveyReport::VerdictText(j.verdict, at.index), nullptr, verdictColour(j.verdict)}});
    };
    const CSurveyAssessment::Largest& sum = a.LargestSummation();
    judged(tr("Summation"), sum, summation,
           tr("stretch %1 – %2; most from %3")
               .arg(timeText(sum.startTime), timeText(sum.time),
                    CEngineeringNotation::Format(sum.dominantFrequency, QStringLiteral("Hz"), 4)));
    if (a.HasWeightedPeak())
        judged(tr("Weighted peak"), a.LargestWeightedPeak(), a.WeightedPeak(),
               timeText(a.LargestWeightedPeak().time));
    flow.Table(results, {0.15, 0.1, 0.1, 0.33, 0.07, 0.25}, true);
    QFont verdict = flow.Bold();
    verdict.setPointSizeF(11);
    flow.Text(tr("Result: %1").arg(CSurveyReport::VerdictText(a.Overall(), CSurveyReport::LargestIndex(a))),
              verdict, verdictColour(a.Overall()));

    // Both indices over the recording, every stretch assessed.
    flow.Heading(tr("Indices over time"), flow.ChartHeight(0.34));
    // Logarithmic: indices far below 1 still show their course beside the limit.
    CReportChart overTime;
    overTime.xAxis = CReportChart::Axis::Time;
    overTime.yAxis = CReportChart::Axis::Logarithmic;
    overTime.xTitle = tr("Time [s]");
    overTime.yTitle = tr("Index [1]");
    CReportChart::Series sums{tr("summation index"), Summation, CReportChart::Style::Line, false, {}};
    CReportChart::Series peaks{tr("weighted peak index"), WeightedPeak, CReportChart::Style::Line, false, {}};
    double top = 2, bottom = 0.5;
    for (const CSurveyAssessment::Point& p : a.Series())
    {
        sums.points.append(QPointF(p.time, p.summation));
        for (const double value : {p.summation, p.weightedPeak})
            if (value > 0 && std::isfinite(value))
            {
                top = std::max(top, value * 2);
                bottom = std::min(bottom, value / 2);
            }
        if (std::isfinite(p.weightedPeak))
            peaks.points.append(QPointF(p.time, p.weightedPeak));
    }
    overTime.yMin = std::max(bottom, top * 1e-8);
    if (a.Series().size() == 1)
    {
        // One stretch: a point, not a line of no length.
        sums.style = CReportChart::Style::Points;
        peaks.style = CReportChart::Style::Points;
    }
    overTime.yMax = top;
    overTime.xMin = a.FirstTime();
    overTime.xMax = std::max(a.LastTime(), a.FirstTime() + 1 / a.Rate());
    overTime.series.push_back(sums);
    if (!peaks.points.isEmpty())
        overTime.series.push_back(peaks);
    overTime.series.push_back({tr("limit (index 1)"),
                               Limit,
                               CReportChart::Style::Line,
                               true,
                               {QPointF(overTime.xMin, 1), QPointF(overTime.xMax, 1)}});
    flow.Chart(overTime, 0.34);

    // The spectrum of the stretch with the largest summation index.
    flow.Heading(tr("Spectrum of the stretch with the largest summation index"),
                 flow.ChartHeight(0.42) + flow.Line(flow.Body()) * 3);
    flow.Text(tr("%1 – %2: the RMS of the field vector per bin (%3 apart), with the reference levels.")
                  .arg(timeText(sum.startTime), timeText(sum.time),
                       CEngineeringNotation::Format(a.SpectrumBinWidth(), QStringLiteral("Hz"), 4)),
              flow.Body());
    CReportChart spectrum;
    spectrum.xAxis = CReportChart::Axis::Logarithmic;
    spectrum.yAxis = CReportChart::Axis::Logarithmic;
    spectrum.xTitle = tr("Frequency [Hz]");
    spectrum.yTitle = tr("RMS of the field vector [%1]").arg(unit);
    CReportChart::Series bins{tr("spectrum"), Summation, CReportChart::Style::Line, false, {}};
    double largestBin = 0;
    for (std::size_t k = 1; k < a.Spectrum().size(); ++k)
    {
        bins.points.append(QPointF(double(k) * a.SpectrumBinWidth(), a.Spectrum()[k]));
        largestBin = std::max(largestBin, a.Spectrum()[k]);
    }
    const double nyquist = a.Rate() / 2;
    const double lowest = std::max(1.0, a.SpectrumBinWidth());
    spectrum.xMin = lowest;
    spectrum.xMax = std::max(nyquist, lowest * 10);
    // Four decades under the strongest content or the lowest level, whichever is lower.
    double lowestLevel = HUGE_VAL;
    for (double f = lowest; f <= spectrum.xMax; f *= 1.5)
        lowestLevel = std::min(lowestLevel, a.LimitAt(f));
    spectrum.yMax = std::max(largestBin, a.LimitAt(lowest)) * 2;
    spectrum.yMin = std::min(largestBin, lowestLevel) * 1e-4;
    if (!(spectrum.yMin > 0))
        spectrum.yMin = spectrum.yMax * 1e-6;
    spectrum.series.push_back(bins);
    spectrum.series.push_back(levels(a, lowest, spectrum.xMax));
    flow.Chart(spectrum, 0.42);

    flow.Heading(tr("Content that adds most to the summation index"));
    std::vector<Row> lines{{{tr("Frequency [Hz]"), nullptr, Qt::black, true},
                            {tr("RMS of the vector [%1]").arg(unit), nullptr, Qt::black, true},
                            {tr("Level [%1]").arg(unit), nullptr, Qt::black, true},
                            {tr("Ratio"), nullptr, Qt::black, true},
                            {tr("Share of the index"), nullptr, Qt::black, true},
                            {tr("Kind")}}};
    for (const CSurveyAssessment::Line& line : a.Lines())
        lines.push_back({{CEngineeringNotation::Fixed(line.frequency, 5), nullptr, Qt::black, true},
                         {CEngineeringNotation::Fixed(line.rms, 4), nullptr, Qt::black, true},
                         {CEngineeringNotation::Fixed(line.limit, 4), nullptr, Qt::black, true},
                         {CEngineeringNotation::Format(line.ratio, QString(), 4), nullptr, Qt::black, true},
                         {percent(line.share), nullptr, Qt::black, true},
                         {line.noise ? tr("band noise") : tr("line")}});
    flow.Table(lines, {0.15, 0.2, 0.15, 0.16, 0.18, 0.16}, true);
    flow.Text(
        tr("A line stands 10 dB above the noise floor of its third-octave band; the rest of a band, its "
           "noise, counts once (said to lie at its largest lobe)."),
        flow.Small());

    // The static field, a result of its own.
    flow.Heading(tr("Static field"));
    const CSurveyAssessment::Verdict staticVerdict = a.StaticVerdict();
    flow.Table({{{tr("Mean Bx")}, {tr("Mean By")}, {tr("Mean Bz")}, {tr("Mean |B|")}, {tr("Limit")}},
                {{field(a.MeanAxis(0), unit)},
                 {field(a.MeanAxis(1), unit)},
                 {field(a.MeanAxis(2), unit)},
                 {field(a.MeanMagnitude(), unit)},
                 {field(a.StaticLimit(), unit)}}},
               {0.2, 0.2, 0.2, 0.2, 0.2}, true);
    flow.Text(tr("Static field %1: mean |B| is %2 of %3 (ICNIRP 2009, %4).")
                  .arg(staticVerdict == CSurveyAssessment::Verdict::Below ? tr("below the limit")
                                                                          : tr("exceeds the limit"),
                       percent(a.MeanMagnitude() / a.StaticLimit()), field(a.StaticLimit(), unit),
                       a.GetStandard() == CSurveyAssessment::Standard::Icnirp2010Occupational
                           ? tr("occupational")
                           : tr("general public")),
              flow.Bold(), verdictColour(staticVerdict));

    // The uncertainty.
    flow.Heading(tr("Measurement uncertainty"));
    const double instrument = a.InstrumentUncertainty();
    std::vector<Row> uncertainty{
        {{tr("Component")},
         {tr("Summation index"), nullptr, Qt::black, true},
         {tr("Weighted peak index"), nullptr, Qt::black, true}},
        {{tr("Instrument (dB column, standard)")},
         {std::isfinite(instrument) ? percent(instrument) : tr("not stated"), nullptr, Qt::black, true},
         {std::isfinite(instrument) ? percent(instrument) : tr("not stated"), nullptr, Qt::black, true}},
        {{tr("Method (the tests' bound / √3)")},
         {percent(CSurveyAssessment::SummationAccuracy / std::sqrt(3.0)), nullptr, Qt::black, true},
         {percent(CSurveyAssessment::WeightedPeakAccuracy / std::sqrt(3.0)), nullptr, Qt::black, true}},
        {{tr("Expanded, k = 2")},
         {percent(summation.expandedUncertainty), nullptr, Qt::black, true},
         {a.HasWeightedPeak() ? percent(a.WeightedPeak().expandedUncertainty) : QStringLiteral("--"), nullptr,
          Qt::black, true}}};
    flow.Table(uncertainty, {0.5, 0.25, 0.25}, true);
    if (!std::isfinite(instrument))
        flow.Text(tr("The file states no uncertainty of its values: only the method's accuracy is counted."),
                  flow.Body());
}
} // namespace

bool CReportPdfWriter::Write(const CSurveyReport& report, const QString& path, QString* error)
{
    if (report.Sections().empty())
    {
        *error = tr("no recording to report on");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 14), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(tr("Exposure survey report %1").arg(report.Identifier()));
    writer.setCreator(CConstants::ApplicationName + QLatin1Char(' ') + CConstants::Version);
    const auto layOut = [&](QPainter* painter, int total) {
        Flow flow(writer, painter, report, total);
        front(flow, report);
        int number = 0;
        for (const auto& s : report.Sections())
            section(flow, s, ++number);
        flow.Heading(tr("How the indices were computed"));
        flow.Text(CSurveyReport::MethodText(), flow.Body());
        flow.Heading(tr("Decision rule"));
        flow.Text(CSurveyReport::DecisionRuleText(), flow.Body());
        flow.Finish();
        return flow.Page();
    };
    const int pages = layOut(nullptr, 0);
    QPainter painter;
    if (!painter.begin(&writer))
    {
        file.cancelWriting();
        *error = tr("cannot write %1: the PDF writer did not start").arg(path);
        return false;
    }
    layOut(&painter, pages);
    painter.end();
    if (!file.commit())
    {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
