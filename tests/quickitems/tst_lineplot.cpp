#include "quickitems/CLinePlot.h"
#include "quickitems/CPlotNavigation.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickView>
#include <QSignalSpy>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace QtCharts;

// The charts' own plot: its axes' labels, and what it draws, read back from the screen.
class tst_lineplot : public QObject
{
    Q_OBJECT

    std::unique_ptr<QQuickView> m_View;

    // A plot of the given size in a window of its own, shown and drawn once.
    CLinePlot* show(int width, int height, const QString& yAxis)
    {
        m_View = std::make_unique<QQuickView>();
        QQmlComponent component(m_View->engine());
        component.setData(QStringLiteral("import QtQuick 2.15\nimport QtCharts 2.15\n"
                                         "import Tesvana.ViewModels 1.0\n"
                                         "LinePlot { width: %1; height: %2; lineWidth: 1\n"
                                         "  xAxis: ValueAxis { min: 0; max: 10; tickCount: 5 }\n"
                                         "  yAxis: %3 }")
                              .arg(width)
                              .arg(height)
                              .arg(yAxis)
                              .toUtf8(),
                          QUrl());
        auto* plot = qobject_cast<CLinePlot*>(component.create());
        if (!plot)
        {
            qWarning() << component.errors();
            return nullptr;
        }
        plot->setParent(m_View->contentItem());
        plot->setParentItem(m_View->contentItem());
        m_View->resize(width, height);
        m_View->setColor(Qt::white);
        m_View->show();
        if (!QTest::qWaitForWindowExposed(m_View.get()))
            return nullptr;
        return plot;
    }

    // Whether a pixel of the colour lies within reach of the point (in the item).
    static bool drawnNear(const QImage& image, QPointF at, const QColor& colour, int reach)
    {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
            {
                const QPoint p = at.toPoint() + QPoint(dx, dy);
                if (image.rect().contains(p) && image.pixelColor(p) == colour)
                    return true;
            }
        return false;
    }

private slots:
    // Zoom and pan keep what is under the pointer where it is, on linear and logarithmic
    // axes, and stop where a double can no longer tell the ends apart.
    void navigationKeepsTheValueUnderThePointer()
    {
        const CPlotNavigation::Axis linear{0, 10, false};
        CPlotNavigation::Range zoomed = CPlotNavigation::Zoomed(linear, 0.2, 0.5);
        QCOMPARE(zoomed.min, 1.0);
        QCOMPARE(zoomed.max, 6.0); // 2 stays at a fifth of the width
        zoomed = CPlotNavigation::Zoomed(linear, 0.2, 2);
        QCOMPARE(zoomed.min, -2.0);
        QCOMPARE(zoomed.max, 18.0);
        const CPlotNavigation::Axis log{1, 1e4, true};
        zoomed = CPlotNavigation::Zoomed(log, 0.5, 0.5); // about 100, one decade each way
        QVERIFY(std::fabs(zoomed.min - 10) < 1e-9 && std::fabs(zoomed.max - 1000) < 1e-9);
        const CPlotNavigation::Range panned = CPlotNavigation::Panned(linear, 0.1);
        QCOMPARE(panned.min, 1.0);
        QCOMPARE(panned.max, 11.0);
        const CPlotNavigation::Range box = CPlotNavigation::Between(linear, 0.7, 0.3);
        QCOMPARE(box.min, 3.0);
        QCOMPARE(box.max, 7.0);
        // Far from zero and narrow already: no further.
        const CPlotNavigation::Axis narrow{1e9, 1e9 + 1e-4, false};
        QCOMPARE(CPlotNavigation::Zoomed(narrow, 0.5, 1e-6).max, narrow.max);
        QCOMPARE(CPlotNavigation::Zoomed(linear, 0.5, qQNaN()).max, 10.0);

        // The cursors read each series at its nearest point.
        const QVector<QPointF> b{{0, 1e-6}, {0.01, 2e-6}, {0.02, 4e-6}};
        QCOMPARE(CPlotNavigation::ValueNear(b, 0.012), 2e-6);
        QCOMPARE(CPlotNavigation::ValueNear(b, -5), 1e-6);
        QCOMPARE(CPlotNavigation::ValueNear(b, 5), 4e-6);
        QVERIFY(std::isnan(CPlotNavigation::ValueNear({}, 1)));
        const QVector<CPlotNavigation::Series> shown{{"B", &b}};
        QCOMPARE(CPlotNavigation::CursorText({0.01}, shown, true, "T"),
                 QString::fromUtf8("t = 10.000 ms   B 2.0000 \u00b5T"));
        QCOMPARE(CPlotNavigation::CursorText({0, 0.02}, shown, true, "T"),
                 QString::fromUtf8("\u0394t = 20.000 ms   1/\u0394t = 50.000 Hz   \u0394B 3.0000 \u00b5T"));
        QVERIFY(CPlotNavigation::CursorText({}, shown, true, "T").isEmpty());
        // A frequency axis reads in its unit, with a prefix where one fits.
        QCOMPARE(CPlotNavigation::CursorText({1500}, {}, false, "T", "Hz"), QString("x = 1.5000 kHz"));
    }

    void initTestCase() { qmlRegisterType<CLinePlot>("Tesvana.ViewModels", 1, 0, "LinePlot"); }
    void cleanup() { m_View.reset(); }

    // A spike of one point shows at its place, and what lies beyond the axes is cut at
    // the plot's frame, not drawn over the labels.
    void seriesAreDrawnWhereTheirValuesAreAndClipped()
    {
        CLinePlot* plot = show(400, 300, "ValueAxis { min: -1; max: 1; tickCount: 5 }");
        QVERIFY(plot);
        QXYSeries* series = plot->addLineSeries(QColor("#c0392b"));
        QCOMPARE(plot->count(), 1);
        QCOMPARE(plot->series(0), series);
        QCOMPARE(plot->axisX(series), plot->xAxis());
        QVector<QPointF> points;
        for (int i = 0; i <= 100; ++i)
            points << QPointF(i / 10.0, i == 50 ? 0.9 : (i > 90 ? 5.0 : 0.0));
        series->replace(points);
        QTRY_VERIFY(plot->plotArea().width() > 100);
        QImage image;
        QTRY_VERIFY((image = m_View->grabWindow(),
                     drawnNear(image, plot->mapToPosition({5.0, 0.9}), series->color(), 1)));
        QVERIFY(drawnNear(image, plot->mapToPosition({2.0, 0.0}), series->color(), 1));
        // Above the frame, where the points of 5 would go, the series is not drawn.
        const QRectF area = plot->plotArea();
        for (int x = int(area.left()); x < int(area.right()); ++x)
            for (int y = 0; y < int(area.top()) - 1; ++y)
                QVERIFY2(image.pixelColor(x, y) != series->color(),
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
        // A series along the axis's end (a map's points all at one position) shows over
        // the frame.
        QXYSeries* edge = plot->addLineSeries(QColor("#27ae60"));
        edge->replace(QVector<QPointF>{QPointF(0, -0.5), QPointF(0, 0.5)});
        QTRY_VERIFY(
            (image = m_View->grabWindow(), drawnNear(image, plot->mapToPosition({0, 0}), edge->color(), 1)));
        // A series of one point is a mark, not nothing.
        QXYSeries* single = plot->addLineSeries(QColor("#8e44ad"));
        single->replace(QVector<QPointF>{QPointF(7, -0.4)});
        QTRY_VERIFY((image = m_View->grabWindow(),
                     drawnNear(image, plot->mapToPosition({7, -0.4}), single->color(), 1)));
        // Hidden, it is gone.
        series->setVisible(false);
        QTRY_VERIFY((image = m_View->grabWindow(),
                     !drawnNear(image, plot->mapToPosition({5.0, 0.9}), series->color(), 1)));
    }

    // Twelve decades on a low plot: labels thinned out so that each has its line, never
    // crowded into an ellipsis; as the time axis scrolls, the Y labels stay untouched.
    void labelsFitALowPlotAndOnlyMovedOnesChange()
    {
        CLinePlot* plot = show(500, 160, "LogValueAxis { min: 2e-12; max: 0.5; labelFormat: \"%.0e\" }");
        QVERIFY(plot);
        QTRY_VERIFY(!plot->yLabels().isEmpty());
        const double line = QFontMetricsF(plot->font()).height();
        QVERIFY(plot->yLabels().size() >= 2);
        QVERIFY2(plot->yLabels().size() * line * 1.5 <= plot->plotArea().height(),
                 qPrintable(QString::number(plot->yLabels().size())));
        for (const QVariant& label : plot->yLabels())
        {
            const QVariantMap map = label.toMap();
            QVERIFY(map.value("y").toDouble() >= plot->plotArea().top() - 0.5);
            QVERIFY(map.value("y").toDouble() <= plot->plotArea().bottom() + 0.5);
            QVERIFY(map.value("x").toDouble() < plot->plotArea().left());
        }
        QSignalSpy yMoved(plot, &CLinePlot::yLabelsChanged);
        QSignalSpy xMoved(plot, &CLinePlot::xLabelsChanged);
        qobject_cast<QValueAxis*>(plot->xAxis())->setRange(3, 13);
        QTRY_COMPARE(xMoved.count(), 1);
        QCOMPARE(plot->xLabels().first().toMap().value("text").toString(), QString("4"));
        QCOMPARE(yMoved.count(), 0);

        // A time axis zoomed to milliseconds says so in its title, and its labels are round.
        plot->xAxis()->setTitleText("Time [s]");
        plot->setTimeAxis(true);
        qobject_cast<QValueAxis*>(plot->xAxis())->setRange(0.0021, 0.0062);
        QTRY_COMPARE(plot->xTitle(), QString("Time [ms]"));
        QStringList shown;
        for (const QVariant& label : plot->xLabels())
            shown << label.toMap().value("text").toString();
        QCOMPARE(shown, QStringList({"3", "4", "5", "6"}));
        // The Y title names its unit as written: "[T]" over a millitesla range.
        plot->yAxis()->setTitleText("[T]");
        qobject_cast<QLogValueAxis*>(plot->yAxis())->setRange(1e-4, 1e-2);
        QTRY_COMPARE(plot->yTitle(), QString("[T]")); // decades carry their own power
    }

    // Every gesture has its key: the plot asks for ranges, the page applies them.
    void keysZoomPanAndPlaceCursors()
    {
        CLinePlot* plot = show(400, 300, "ValueAxis { min: -1; max: 1; tickCount: 5 }");
        QVERIFY(plot);
        plot->addLineSeries(QColor("#c0392b"), "B")->replace(QVector<QPointF>{{0, 0.5}, {10, -0.5}});
        plot->setInteractive(true);
        plot->forceActiveFocus();
        QTRY_VERIFY(plot->hasActiveFocus());
        QSignalSpy x(plot, &CLinePlot::xRangeRequested), y(plot, &CLinePlot::yRangeRequested),
            automatic(plot, &CLinePlot::automaticRangeRequested);
        QTest::keyClick(m_View.get(), Qt::Key_Plus);
        QCOMPARE(x.count(), 1);
        QCOMPARE(x.last().at(0).toDouble(), 1.0); // 0 … 10 zoomed about 5 by 0.8
        QCOMPARE(x.last().at(1).toDouble(), 9.0);
        QTest::keyClick(m_View.get(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(y.count(), 1);
        QCOMPARE(y.last().at(1).toDouble(), 1.25);
        QTest::keyClick(m_View.get(), Qt::Key_Right);
        QCOMPARE(x.last().at(0).toDouble(), 1.0);
        QTest::keyClick(m_View.get(), Qt::Key_Home);
        QCOMPARE(automatic.count(), 1);
        QTest::keyClick(m_View.get(), Qt::Key_C);
        QTRY_COMPARE(plot->cursorPositions().size(), 1);
        QCOMPARE(plot->cursorText(), QString("x = 5.0000   B 0.50000"));
        QTest::keyClick(m_View.get(), Qt::Key_Escape);
        QVERIFY(plot->cursorPositions().isEmpty());
        // Not interactive: the keys and the pointer pass through.
        plot->setInteractive(false);
        QTest::keyClick(m_View.get(), Qt::Key_Plus);
        QCOMPARE(x.count(), 2);
    }
};

QTEST_MAIN(tst_lineplot)
#include "tst_lineplot.moc"
