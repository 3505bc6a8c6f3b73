#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QQuickItem>
#include <QVariantList>
#include <QVector>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QXYSeries>

#include "compute/CAxisTicks.h"

#include <limits>

class QSGGeometryNode;

// A chart of line series drawn straight into the scene graph: each series one node of
// line segments, the grid and the frame lines, the tick labels text items that the page
// places where this item says. QtCharts' own view paints its whole chart into an image
// and uploads it at every redraw; under software rendering that cost more than all the
// rest of the window. The series and axes stay QtCharts objects (the chart models fill
// them, the image exporter reads them), only the drawing is this item's.
class CLinePlot : public QQuickItem
{
    Q_OBJECT
    // Inputs.
    Q_PROPERTY(QtCharts::QAbstractAxis* xAxis READ xAxis WRITE setXAxis NOTIFY axesChanged)
    Q_PROPERTY(QtCharts::QAbstractAxis* yAxis READ yAxis WRITE setYAxis NOTIFY axesChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    Q_PROPERTY(QColor gridColor READ gridColor WRITE setGridColor NOTIFY coloursChanged)
    Q_PROPERTY(QColor frameColor READ frameColor WRITE setFrameColor NOTIFY coloursChanged)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY coloursChanged)
    // The X axis counts seconds (after timeOrigin, seconds since the epoch, where known).
    Q_PROPERTY(bool timeAxis READ timeAxis WRITE setTimeAxis NOTIFY axesChanged)
    Q_PROPERTY(double timeOrigin READ timeOrigin WRITE setTimeOrigin NOTIFY timeOriginChanged)
    // The pointer and the keys zoom, pan and place cursors: the ranges are asked of the page,
    // which applies them to its chart.
    Q_PROPERTY(bool interactive READ interactive WRITE setInteractive NOTIFY interactiveChanged)
    // Outputs: where the page puts the labels.
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QRectF plotArea READ plotArea NOTIFY plotAreaChanged)
    Q_PROPERTY(QVariantList xLabels READ xLabels NOTIFY xLabelsChanged)
    Q_PROPERTY(QVariantList yLabels READ yLabels NOTIFY yLabelsChanged)
    // The axes' titles with the unit their labels are written in ("Time [ms]", "[µT]").
    Q_PROPERTY(QString xTitle READ xTitle NOTIFY xLabelsChanged)
    Q_PROPERTY(QString yTitle READ yTitle NOTIFY yLabelsChanged)
    Q_PROPERTY(int maximumLabels READ maximumLabels CONSTANT)
    // The box being drawn for a zoom (empty when none); the cursors' places along X in the
    // item, and what they read.
    Q_PROPERTY(QRectF selection READ selection NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList cursorPositions READ cursorPositions NOTIFY cursorsChanged)
    Q_PROPERTY(QString cursorText READ cursorText NOTIFY cursorsChanged)
public:
    static constexpr int MaximumLabels = 16;

    explicit CLinePlot(QQuickItem* parent = nullptr);

    QtCharts::QAbstractAxis* xAxis() const { return m_XAxis; }
    void setXAxis(QtCharts::QAbstractAxis* axis);
    QtCharts::QAbstractAxis* yAxis() const { return m_YAxis; }
    void setYAxis(QtCharts::QAbstractAxis* axis);
    QFont font() const { return m_Font; }
    void setFont(const QFont& font);
    QColor gridColor() const { return m_GridColor; }
    void setGridColor(const QColor& colour);
    QColor frameColor() const { return m_FrameColor; }
    void setFrameColor(const QColor& colour);
    qreal lineWidth() const { return m_LineWidth; }
    void setLineWidth(qreal width);
    bool timeAxis() const { return m_TimeAxis; }
    void setTimeAxis(bool time);
    double timeOrigin() const { return m_TimeOrigin; }
    void setTimeOrigin(double origin);

    bool interactive() const { return m_Interactive; }
    void setInteractive(bool interactive);
    QRectF selection() const { return m_Selection; }
    QVariantList cursorPositions() const { return m_CursorPositions; }
    QString cursorText() const { return m_CursorText; }

    int count() const { return m_Series.size(); }
    QRectF plotArea() const { return m_PlotArea; }
    QVariantList xLabels() const { return m_XLabels; }
    QVariantList yLabels() const { return m_YLabels; }
    QString xTitle() const { return m_XTitle; }
    QString yTitle() const { return m_YTitle; }
    int maximumLabels() const { return MaximumLabels; }

    // A line series drawn in colour, against the item's axes; the item owns it. Its name is
    // what an exported image's legend calls it.
    Q_INVOKABLE QtCharts::QXYSeries* addLineSeries(const QColor& colour, const QString& name = QString());
    // As a ChartView answers them, for the image exporter and the tests.
    Q_INVOKABLE QtCharts::QAbstractSeries* series(int index) const;
    Q_INVOKABLE QtCharts::QAbstractAxis* axisX(QtCharts::QAbstractSeries* series = nullptr) const;
    Q_INVOKABLE QtCharts::QAbstractAxis* axisY(QtCharts::QAbstractSeries* series = nullptr) const;
    // Where a value lands in the item (NaN where it cannot be shown).
    Q_INVOKABLE QPointF mapToPosition(const QPointF& value) const;
    // Asks for the ranges zoomed about the plot's centre (below 1: in); 1 leaves an axis.
    Q_INVOKABLE void zoom(double xFactor, double yFactor);
    // A cursor at x (in the axis's values): the first, or the second of a pair; a third
    // starts again.
    Q_INVOKABLE void placeCursor(double x);
    Q_INVOKABLE void clearCursors();

signals:
    void axesChanged();
    void fontChanged();
    void coloursChanged();
    void timeOriginChanged();
    void interactiveChanged();
    void selectionChanged();
    void cursorsChanged();
    // What the pointer or the keys asked for: the page sets its axes' ranges.
    void xRangeRequested(double min, double max);
    void yRangeRequested(double min, double max);
    // Back to the automatic ranges (a double click, Home).
    void automaticRangeRequested();
    void countChanged();
    void plotAreaChanged();
    void xLabelsChanged();
    void yLabelsChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
    void geometryChanged(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void updatePolish() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public:
    // An axis as a chart draws it (also for the image exporter): its range, kind, ticks
    // and label format, and where a value lands along it.
    struct AxisScale
    {
        double min = 0;
        double max = 1;
        bool logarithmic = false;
        int tickCount = 5;
        QString format;
        bool time = false; // seconds after origin (seconds since the epoch, NaN if unknown)
        double origin = std::numeric_limits<double>::quiet_NaN();
        double At(double value) const; // 0 … 1 along the axis, NaN if not shown
        // Its grid lines and labels, thinned out by `coarser` steps where they would overlap.
        CAxisTicks::Scale Ticks(int coarser = 0) const;
        // As the axis holds it, whatever the range (no axis: 0 … 1, linear).
        static AxisScale Of(const QtCharts::QAbstractAxis* axis);
    };
    // The X axis as drawn, a time axis with its origin (also for the image exporter).
    AxisScale XScale() const;

private:
    // Of the axis, or a plain 0 … 1 (1 … 10) when its range shows nothing.
    static AxisScale l_ScaleOf(const QtCharts::QAbstractAxis* axis);
    void l_WatchAxis(QtCharts::QAbstractAxis* axis);
    void l_Relayout();
    void l_Changed(bool layout);
    void l_FillSeries(QSGGeometryNode* node, const QtCharts::QXYSeries& series) const;
    void l_UpdateCursors();
    void l_SetSelection(const QRectF& selection);
    // Where a point of the item lies along the plot: 0 … 1 from left to right, bottom to top.
    QPointF l_Fraction(const QPointF& at) const;

    QPointer<QtCharts::QAbstractAxis> m_XAxis;
    QPointer<QtCharts::QAbstractAxis> m_YAxis;
    QFont m_Font;
    QColor m_GridColor = QColor(0xe0, 0xe0, 0xe0);
    QColor m_FrameColor = QColor(0xa0, 0xa0, 0xa0);
    qreal m_LineWidth = 1;
    bool m_TimeAxis = false;
    double m_TimeOrigin = std::numeric_limits<double>::quiet_NaN();
    QVector<QtCharts::QXYSeries*> m_Series;
    QRectF m_PlotArea;
    QVector<double> m_XGrid; // positions in the item
    QVector<double> m_YGrid;
    QVariantList m_XLabels;
    QVariantList m_YLabels;
    QString m_XTitle;
    QString m_YTitle;
    bool m_LayoutDirty = true;
    bool m_Interactive = false;
    // A press: where, with which keys, and the ranges then (a drag pans from them).
    QPointF m_PressedAt;
    bool m_Dragging = false;
    bool m_BoxZoom = false;
    bool m_PanY = false;
    bool m_DoubleClicked = false;
    QRectF m_Selection;
    QVector<double> m_Cursors;
    QVariantList m_CursorPositions;
    QString m_CursorText;
    bool m_CursorsDirty = false;
    AxisScale m_PressedX;
    AxisScale m_PressedY;
};
