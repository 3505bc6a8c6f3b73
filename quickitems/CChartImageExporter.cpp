#include "quickitems/CChartImageExporter.h"

#include "quickitems/CLinePlot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

using namespace QtCharts;

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CChartImageExporter", text);
}

// Text sizes of the image, in its own pixels (a 2× PNG doubles them with the rest).
constexpr int TitlePixels = 15;
constexpr int TextPixels = 11;
constexpr double Margin = 12;
// Below this an image has no room for its title, legend and labels: it is drawn larger.
constexpr double SmallestWidth = 640;
constexpr double SmallestHeight = 400;

QString duration(double seconds)
{
    if (seconds < 1)
        return QString::number(seconds * 1000, 'g', 4) + QStringLiteral(" ms");
    if (seconds < 120)
        return QString::number(seconds, 'g', 4) + QStringLiteral(" s");
    if (seconds < 7200)
        return QString::number(seconds / 60, 'g', 4) + QStringLiteral(" min");
    return QString::number(seconds / 3600, 'g', 4) + QStringLiteral(" h");
}

// From the first to the last instant on the time axis, to the millisecond.
QString spanOf(const CLinePlot::AxisScale& x)
{
    if (!x.time || !std::isfinite(x.origin))
        return QString();
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(qint64(std::llround((x.origin + x.min) * 1000)));
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(qint64(std::llround((x.origin + x.max) * 1000)));
    const QLocale c = QLocale::c();
    const QString end = from.date() == to.date() ? c.toString(to, QStringLiteral("hh:mm:ss.zzz"))
                                                 : c.toString(to, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    return c.toString(from, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QStringLiteral(" \u2013 ") + end +
           QStringLiteral(" (") + duration(x.max - x.min) + QLatin1Char(')');
}

// The ticks of an axis, a coarser step at a time until `fits` says the labels do.
template <typename Fits> CAxisTicks::Scale fittedTicks(const CLinePlot::AxisScale& axis, Fits fits)
{
    CAxisTicks::Scale ticks = axis.Ticks();
    for (int coarser = 1; coarser < 60 && !fits(ticks); ++coarser)
    {
        CAxisTicks::Scale next = axis.Ticks(coarser);
        if (next.ticks.size() < 2)
            break;
        ticks = next;
    }
    return ticks;
}

int labelCount(const CAxisTicks::Scale& scale)
{
    return int(std::count_if(scale.ticks.begin(), scale.ticks.end(),
                             [](const CAxisTicks::Tick& tick) { return !tick.text.isEmpty(); }));
}

// The whole image in logical pixels on any paint device.
void draw(QPainter& painter, const QSizeF& size, const CLinePlot& chart,
          const CChartImageExporter::Caption& caption)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    QFont text = chart.font();
    text.setPixelSize(TextPixels);
    QFont bold = text;
    bold.setBold(true);
    QFont heading = bold;
    heading.setPixelSize(TitlePixels);
    const QFontMetricsF metrics(text), boldMetrics(bold), headingMetrics(heading);
    const double line = metrics.height();

    const CLinePlot::AxisScale x = chart.XScale();
    const CLinePlot::AxisScale y = CLinePlot::AxisScale::Of(chart.yAxis());

    // Title and the line under it: where the data came from and when.
    double top = Margin;
    painter.setPen(Qt::black);
    painter.setFont(heading);
    painter.drawText(QRectF(Margin, top, size.width() - 2 * Margin, headingMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, caption.title);
    top += headingMetrics.height();
    const QString span = caption.span.isEmpty() ? spanOf(x) : caption.span;
    QStringList about;
    for (const QString& part : {caption.source, span})
        if (!part.isEmpty())
            about << part;
    if (!about.isEmpty())
    {
        painter.setFont(text);
        painter.drawText(QRectF(Margin, top, size.width() - 2 * Margin, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(about.join(QStringLiteral(" \u00b7 ")), Qt::ElideMiddle,
                                            size.width() - 2 * Margin));
        top += line;
    }
    top += line;

    // The legend at the right: the series shown, with a name, in their colours.
    QList<QXYSeries*> series;
    for (int i = 0; i < chart.count(); ++i)
        if (auto* xy = qobject_cast<QXYSeries*>(chart.series(i)))
            series << xy;
    QList<QXYSeries*> named;
    double legendWidth = 0;
    for (QXYSeries* s : qAsConst(series))
        if (s->isVisible() && !s->name().isEmpty())
        {
            named << s;
            legendWidth = std::max(legendWidth, metrics.horizontalAdvance(s->name()));
        }
    const double swatch = 2 * line;
    const double legend = named.isEmpty() ? 0 : swatch + line / 2 + legendWidth + Margin;

    // The plot: Y title and labels on the left, X labels and title below.
    const double bottom = size.height() - Margin - 2 * line - line / 2;
    const double plotHeight = std::max(1.0, bottom - top);
    const CAxisTicks::Scale yTicks = fittedTicks(y, [&](const CAxisTicks::Scale& t) {
        return labelCount(t) * line * 1.5 <= plotHeight || labelCount(t) <= 2;
    });
    double yLabelWidth = 0;
    for (const CAxisTicks::Tick& tick : yTicks.ticks)
        yLabelWidth = std::max(yLabelWidth, metrics.horizontalAdvance(tick.text));
    const double left = Margin + line + line / 2 + yLabelWidth + line / 2;
    const double right = size.width() - Margin - legend - line;
    const QRectF plot(left, top, std::max(1.0, right - left), plotHeight);
    const CAxisTicks::Scale xTicks = fittedTicks(x, [&](const CAxisTicks::Scale& t) {
        double widest = 0;
        for (const CAxisTicks::Tick& tick : t.ticks)
            widest = std::max(widest, metrics.horizontalAdvance(tick.text));
        return labelCount(t) * (widest + 2 * line) <= plot.width() || labelCount(t) <= 2;
    });
    const auto at = [&](double u, double v) {
        return QPointF(plot.left() + x.At(u) * plot.width(), plot.bottom() - y.At(v) * plot.height());
    };

    painter.setFont(text);
    const QPen grid(QColor(0xd0, 0xd0, 0xd0), 0.8);
    for (const CAxisTicks::Tick& tick : yTicks.ticks)
    {
        const double yy = plot.bottom() - y.At(tick.value) * plot.height();
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), yy), QPointF(plot.right(), yy));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(Margin, yy - line / 2, plot.left() - line / 2 - Margin, line),
                         Qt::AlignRight | Qt::AlignVCenter, tick.text);
    }
    for (const CAxisTicks::Tick& tick : xTicks.ticks)
    {
        const double xx = plot.left() + x.At(tick.value) * plot.width();
        painter.setPen(grid);
        painter.drawLine(QPointF(xx, plot.top()), QPointF(xx, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(xx - 60, plot.bottom() + line / 4, 120, line),
                         Qt::AlignHCenter | Qt::AlignTop, tick.text);
    }
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.drawRect(plot);
    painter.setPen(Qt::black);
    painter.setFont(bold);
    painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.25, plot.width(), boldMetrics.height()),
                     Qt::AlignHCenter,
                     CAxisTicks::Title(chart.xAxis() ? chart.xAxis()->titleText() : QString(), xTicks));
    painter.save();
    painter.translate(Margin + line / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -line / 2, plot.height(), line),
                     Qt::AlignHCenter | Qt::AlignVCenter,
                     CAxisTicks::Title(chart.yAxis() ? chart.yAxis()->titleText() : QString(), yTicks));
    painter.restore();

    // The legend, top down in the order of the check boxes.
    painter.setFont(text);
    double legendY = plot.top();
    for (QXYSeries* s : qAsConst(named))
    {
        const double xx = size.width() - Margin - legend + Margin;
        painter.setPen(QPen(s->color(), 2));
        painter.drawLine(QPointF(xx, legendY + line / 2), QPointF(xx + swatch, legendY + line / 2));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(xx + swatch + line / 2, legendY, legendWidth + 1, line),
                         Qt::AlignLeft | Qt::AlignVCenter, s->name());
        legendY += line * 1.4;
    }

    // The series as on screen: the first on top, each in its colour and width.
    painter.setClipRect(plot.adjusted(-1, -1, 1, 1));
    for (int i = series.size() - 1; i >= 0; --i)
    {
        QXYSeries* s = series[i];
        if (!s->isVisible() || s->count() < 1)
            continue;
        QPolygonF polyline;
        const auto flush = [&] {
            if (polyline.size() == 1)
                painter.drawPoint(polyline.first());
            else if (polyline.size() > 1)
                painter.drawPolyline(polyline);
            polyline.clear();
        };
        painter.setPen(
            QPen(s->color(), std::max(1.0, s->pen().widthF()), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const auto points = s->pointsVector();
        for (const QPointF& p : points)
        {
            const QPointF point = at(p.x(), p.y());
            // A point that cannot be shown (NaN, zero on a log axis) breaks the line.
            if (std::isfinite(point.x()) && std::isfinite(point.y()))
                polyline << QPointF(std::clamp(point.x(), plot.left() - 1e5, plot.right() + 1e5),
                                    std::clamp(point.y(), plot.top() - 1e5, plot.bottom() + 1e5));
            else
                flush();
        }
        flush();
    }
}
} // namespace

bool CChartImageExporter::Export(QQuickItem* chart, const QString& path, int scale, const Caption& caption,
                                 QString* error)
{
    const auto* plot = qobject_cast<const CLinePlot*>(chart);
    if (!plot || plot->width() < 1 || plot->height() < 1)
    {
        *error = tr("The chart is not shown");
        return false;
    }
    const QSizeF size(std::max(SmallestWidth, std::ceil(plot->width())),
                      std::max(SmallestHeight, std::ceil(plot->height())));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = tr("Could not write file %1").arg(path);
        return false;
    }
    bool written = true;
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), size));
        svg.setTitle(caption.title.isEmpty() ? QStringLiteral("Tesvana chart") : caption.title);
        svg.setDescription(caption.source);
        QPainter painter(&svg);
        draw(painter, size, *plot, caption);
    }
    else
    {
        scale = std::clamp(scale, 1, 4);
        QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        // 96 dots per inch at 1×: a 2× image prints at the same size, twice as sharp.
        image.setDotsPerMeterX(3780 * scale);
        image.setDotsPerMeterY(3780 * scale);
        {
            QPainter painter(&image);
            painter.scale(scale, scale);
            draw(painter, size, *plot, caption);
        }
        written = !image.isNull() && image.save(&file, "PNG");
    }
    if (!written || !file.commit())
    {
        *error = tr("Could not write file %1").arg(path);
        return false;
    }
    return true;
}
