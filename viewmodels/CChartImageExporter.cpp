#include "viewmodels/CChartImageExporter.h"

#include "viewmodels/CLinePlot.h"

#include <QAbstractAxis>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QXYSeries>

#include <cmath>

using namespace QtCharts;

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CChartImageExporter", text);
}

// One axis of the chart as the plot reads it; where a value lands along the plot area
// (-1 where it cannot be shown), and the export's own ticks.
struct Scale : CLinePlot::AxisScale
{
    QString title;

    double fraction(double value) const
    {
        const double at = At(value);
        return std::isnan(at) ? -1 : at;
    }
    QVector<double> ticks(int count) const
    {
        QVector<double> values;
        if (logarithmic)
        {
            for (double v = std::pow(10.0, std::ceil(std::log10(min))); v <= max * (1 + 1e-9); v *= 10)
                values << v;
            return values;
        }
        for (int i = 0; i < count; ++i)
            values << min + (max - min) * i / std::max(1, count - 1);
        return values;
    }
};

Scale scaleOf(QAbstractAxis* axis)
{
    Scale scale;
    static_cast<CLinePlot::AxisScale&>(scale) = CLinePlot::AxisScale::Of(axis);
    if (axis)
        scale.title = axis->titleText();
    if (!(scale.max > scale.min))
        scale.max = scale.min + 1;
    return scale;
}
} // namespace

bool CChartImageExporter::Export(QQuickItem* chart, const QString& path, QString* error)
{
    if (!chart || !chart->window() || chart->width() < 1 || chart->height() < 1)
    {
        *error = tr("The chart is not shown");
        return false;
    }
    return QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0
               ? l_WriteSvg(chart, path, error)
               : l_WritePng(chart, path, error);
}

bool CChartImageExporter::l_WritePng(QQuickItem* chart, const QString& path, QString* error)
{
    const QImage window = chart->window()->grabWindow();
    const qreal ratio = window.devicePixelRatio();
    const QRectF area = chart->mapRectToScene(QRectF(0, 0, chart->width(), chart->height()));
    const QImage image = window.copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect());
    QSaveFile file(path);
    if (image.isNull() || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
    {
        *error = tr("Could not write file %1").arg(path);
        return false;
    }
    return true;
}

bool CChartImageExporter::l_WriteSvg(QQuickItem* chart, const QString& path, QString* error)
{
    const QSize size(int(chart->width()), int(chart->height()));
    QRectF plot = chart->property("plotArea").toRectF();
    if (!plot.isValid())
        plot = QRectF(QPointF(0, 0), size).adjusted(60, 20, -20, -50);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = tr("Could not write file %1").arg(path);
        return false;
    }
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Tesvana chart"));
        QPainter painter(&svg);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);

        // The chart's series, through its QML interface.
        int count = chart->property("count").toInt();
        QAbstractSeries* first = nullptr;
        QList<QXYSeries*> series;
        for (int i = 0; i < count; ++i)
        {
            QAbstractSeries* s = nullptr;
            QMetaObject::invokeMethod(chart, "series", Q_RETURN_ARG(QAbstractSeries*, s), Q_ARG(int, i));
            if (auto* xy = qobject_cast<QXYSeries*>(s))
            {
                series << xy;
                if (!first)
                    first = s;
            }
        }
        QAbstractAxis* xAxis = nullptr;
        QAbstractAxis* yAxis = nullptr;
        if (first)
        {
            QMetaObject::invokeMethod(chart, "axisX", Q_RETURN_ARG(QAbstractAxis*, xAxis),
                                      Q_ARG(QAbstractSeries*, first));
            QMetaObject::invokeMethod(chart, "axisY", Q_RETURN_ARG(QAbstractAxis*, yAxis),
                                      Q_ARG(QAbstractSeries*, first));
        }
        const Scale x = scaleOf(xAxis);
        const Scale y = scaleOf(yAxis);
        const auto at = [&](double u, double v) {
            return QPointF(plot.left() + x.fraction(u) * plot.width(),
                           plot.bottom() - y.fraction(v) * plot.height());
        };

        // Grid, ticks and titles.
        painter.setPen(QPen(QColor("#d0d0d0"), 1));
        QFont font = painter.font();
        font.setPixelSize(11);
        painter.setFont(font);
        const int yTicks = yAxis ? std::max(2, yAxis->property("tickCount").toInt()) : 5;
        const int xTicks = xAxis ? std::max(2, xAxis->property("tickCount").toInt()) : 5;
        const QVector<double> yValues = y.ticks(yTicks);
        // Decades as the chart on screen labels them.
        const auto decade = [](double v) { return int(std::lround(std::log10(v))); };
        for (double v : yValues)
        {
            const double yy = at(x.min, v).y();
            painter.setPen(QPen(QColor("#d0d0d0"), 1));
            painter.drawLine(QPointF(plot.left(), yy), QPointF(plot.right(), yy));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, yy - 8, plot.left() - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                             y.logarithmic ? CLinePlot::DecadeLabel(decade(v), decade(yValues.first()),
                                                                    decade(yValues.last()))
                                           : QString::number(v, 'g', 4));
        }
        for (double u : x.ticks(xTicks))
        {
            const double xx = at(u, y.min).x();
            painter.setPen(QPen(QColor("#d0d0d0"), 1));
            painter.drawLine(QPointF(xx, plot.top()), QPointF(xx, plot.bottom()));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(xx - 40, plot.bottom() + 2, 80, 16), Qt::AlignHCenter | Qt::AlignTop,
                             QString::number(u, 'g', 5));
        }
        painter.setPen(Qt::black);
        painter.drawRect(plot);
        painter.drawText(QRectF(plot.left(), plot.bottom() + 18, plot.width(), 18), Qt::AlignHCenter,
                         x.title);
        painter.save();
        painter.translate(12, plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-plot.height() / 2, -8, plot.height(), 16), Qt::AlignHCenter, y.title);
        painter.restore();

        // The series as drawn: their points, colours and visibility.
        painter.setClipRect(plot);
        for (QXYSeries* s : qAsConst(series))
        {
            if (!s->isVisible() || s->count() < 1)
                continue;
            QPolygonF line;
            for (const QPointF& p : s->pointsVector())
                if (!x.logarithmic || p.x() > 0)
                    line << at(p.x(), p.y());
            painter.setPen(QPen(s->color(), std::max(1.0, s->pen().widthF())));
            painter.drawPolyline(line);
        }
    }
    if (!file.commit())
    {
        *error = tr("Could not write file %1").arg(path);
        return false;
    }
    return true;
}
