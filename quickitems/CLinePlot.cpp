#include "quickitems/CLinePlot.h"

#include "quickitems/CPlotNavigation.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSGClipNode>
#include <QSGFlatColorMaterial>
#include <QSGGeometryNode>
#include <QWheelEvent>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace QtCharts;

namespace
{
constexpr double NotShown = std::numeric_limits<double>::quiet_NaN();
// Far outside the plot the clip hides a line anyway; nearer, vertices stay exact floats.
constexpr double FarOutside = 1e6;

QSGGeometryNode* lineNode(QSGNode* parent, QSGGeometryNode* node)
{
    if (node)
        return node;
    node = new QSGGeometryNode;
    auto* geometry = new QSGGeometry(QSGGeometry::defaultAttributes_Point2D(), 0);
    geometry->setDrawingMode(QSGGeometry::DrawLines);
    node->setGeometry(geometry);
    node->setMaterial(new QSGFlatColorMaterial);
    node->setFlags(QSGNode::OwnsGeometry | QSGNode::OwnsMaterial);
    parent->appendChildNode(node);
    return node;
}

void setColour(QSGGeometryNode* node, const QColor& colour)
{
    auto* material = static_cast<QSGFlatColorMaterial*>(node->material());
    if (material->color() != colour)
    {
        material->setColor(colour);
        node->markDirty(QSGNode::DirtyMaterial);
    }
}
} // namespace

CLinePlot::CLinePlot(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
}

void CLinePlot::setXAxis(QAbstractAxis* axis)
{
    if (m_XAxis == axis)
        return;
    m_XAxis = axis;
    l_WatchAxis(axis);
    emit axesChanged();
    l_Changed(true);
}

void CLinePlot::setYAxis(QAbstractAxis* axis)
{
    if (m_YAxis == axis)
        return;
    m_YAxis = axis;
    l_WatchAxis(axis);
    emit axesChanged();
    l_Changed(true);
}

void CLinePlot::setFont(const QFont& font)
{
    if (m_Font == font)
        return;
    m_Font = font;
    emit fontChanged();
    l_Changed(true);
}

void CLinePlot::setGridColor(const QColor& colour)
{
    if (m_GridColor == colour)
        return;
    m_GridColor = colour;
    emit coloursChanged();
    l_Changed(false);
}

void CLinePlot::setTimeAxis(bool time)
{
    if (m_TimeAxis == time)
        return;
    m_TimeAxis = time;
    emit axesChanged();
    l_Changed(true);
}

void CLinePlot::setTimeOrigin(double origin)
{
    // NaN never equals itself: an unknown origin set again is no change.
    if (m_TimeOrigin == origin || (std::isnan(m_TimeOrigin) && std::isnan(origin)))
        return;
    m_TimeOrigin = origin;
    emit timeOriginChanged();
    // Only labels in time of day (spans of ten minutes and more) depend on the origin.
    const AxisScale x = l_ScaleOf(m_XAxis);
    if (m_TimeAxis && x.max - x.min >= CAxisTicks::ClockSpan)
        l_Changed(true);
}

void CLinePlot::setFrameColor(const QColor& colour)
{
    if (m_FrameColor == colour)
        return;
    m_FrameColor = colour;
    emit coloursChanged();
    l_Changed(false);
}

void CLinePlot::setLineWidth(qreal width)
{
    if (m_LineWidth == width)
        return;
    m_LineWidth = width;
    for (QXYSeries* series : qAsConst(m_Series))
    {
        QPen pen = series->pen();
        pen.setWidthF(width);
        series->setPen(pen);
    }
    emit coloursChanged();
    l_Changed(false);
}

QXYSeries* CLinePlot::addLineSeries(const QColor& colour, const QString& name)
{
    auto* series = new QLineSeries(this);
    series->setName(name);
    QPen pen(colour);
    pen.setWidthF(m_LineWidth);
    series->setPen(pen);
    const auto redraw = [this] { l_Changed(false); };
    connect(series, &QXYSeries::pointsReplaced, this, redraw);
    connect(series, &QXYSeries::pointAdded, this, redraw);
    connect(series, &QXYSeries::pointRemoved, this, redraw);
    connect(series, &QXYSeries::pointsRemoved, this, redraw);
    connect(series, &QXYSeries::pointReplaced, this, redraw);
    connect(series, &QXYSeries::colorChanged, this, redraw);
    connect(series, &QXYSeries::penChanged, this, redraw);
    connect(series, &QAbstractSeries::visibleChanged, this, redraw);
    m_Series.append(series);
    emit countChanged();
    l_Changed(false);
    return series;
}

QAbstractSeries* CLinePlot::series(int index) const
{
    return index >= 0 && index < m_Series.size() ? m_Series[index] : nullptr;
}

QAbstractAxis* CLinePlot::axisX(QAbstractSeries*) const
{
    return m_XAxis;
}

QAbstractAxis* CLinePlot::axisY(QAbstractSeries*) const
{
    return m_YAxis;
}

double CLinePlot::AxisScale::At(double value) const
{
    if (logarithmic)
        return value > 0 ? std::log10(value / min) / std::log10(max / min) : NotShown;
    return (value - min) / (max - min);
}

CLinePlot::AxisScale CLinePlot::AxisScale::Of(const QAbstractAxis* axis)
{
    AxisScale scale;
    if (const auto* values = qobject_cast<const QValueAxis*>(axis))
    {
        scale.min = values->min();
        scale.max = values->max();
        scale.tickCount = values->tickCount();
        scale.format = values->labelFormat();
    }
    else if (const auto* log = qobject_cast<const QLogValueAxis*>(axis))
    {
        scale.min = log->min();
        scale.max = log->max();
        scale.logarithmic = true;
        scale.format = log->labelFormat();
    }
    return scale;
}

CAxisTicks::Scale CLinePlot::AxisScale::Ticks(int coarser) const
{
    if (logarithmic)
        return CAxisTicks::Logarithmic(min, max, 1 + coarser);
    const int intervals = std::max(1, tickCount - 1);
    if (time)
        return CAxisTicks::Time(min, max, intervals, coarser, origin);
    return CAxisTicks::Linear(min, max, intervals, coarser, format);
}

CLinePlot::AxisScale CLinePlot::XScale() const
{
    AxisScale scale = l_ScaleOf(m_XAxis);
    scale.time = m_TimeAxis && !scale.logarithmic;
    scale.origin = m_TimeOrigin;
    return scale;
}

CLinePlot::AxisScale CLinePlot::l_ScaleOf(const QAbstractAxis* axis)
{
    AxisScale scale = AxisScale::Of(axis);
    const bool usable = std::isfinite(scale.min) && std::isfinite(scale.max) && scale.max > scale.min &&
                        (!scale.logarithmic || scale.min > 0);
    if (!usable)
    {
        scale.min = scale.logarithmic ? 1 : 0;
        scale.max = scale.logarithmic ? 10 : 1;
    }
    return scale;
}

QPointF CLinePlot::mapToPosition(const QPointF& value) const
{
    const AxisScale x = l_ScaleOf(m_XAxis), y = l_ScaleOf(m_YAxis);
    return {m_PlotArea.left() + x.At(value.x()) * m_PlotArea.width(),
            m_PlotArea.bottom() - y.At(value.y()) * m_PlotArea.height()};
}

void CLinePlot::l_WatchAxis(QAbstractAxis* axis)
{
    if (!axis)
        return;
    const auto relayout = [this] { l_Changed(true); };
    // The titles are written with the labels' unit.
    connect(axis, &QAbstractAxis::titleTextChanged, this, relayout);
    if (auto* values = qobject_cast<QValueAxis*>(axis))
    {
        connect(values, &QValueAxis::rangeChanged, this, relayout);
        connect(values, &QValueAxis::tickCountChanged, this, relayout);
        connect(values, &QValueAxis::labelFormatChanged, this, relayout);
    }
    else if (auto* log = qobject_cast<QLogValueAxis*>(axis))
    {
        connect(log, &QLogValueAxis::rangeChanged, this, relayout);
        connect(log, &QLogValueAxis::labelFormatChanged, this, relayout);
    }
}

void CLinePlot::l_Changed(bool layout)
{
    // The cursors read the series and sit on the axes: read again before the next frame.
    if (!m_Cursors.isEmpty())
    {
        m_CursorsDirty = true;
        polish();
    }
    if (layout)
    {
        // Laid out once before the next frame, however many bounds moved in this turn.
        m_LayoutDirty = true;
        polish();
    }
    update();
}

void CLinePlot::geometryChanged(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChanged(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        l_Changed(true);
}

void CLinePlot::updatePolish()
{
    if (m_LayoutDirty)
        l_Relayout();
    if (m_CursorsDirty)
        l_UpdateCursors();
}

namespace
{
CPlotNavigation::Axis navigationAxis(const CLinePlot::AxisScale& scale)
{
    return {scale.min, scale.max, scale.logarithmic};
}
// One wheel notch zooms by this much; a key press too.
constexpr double ZoomStep = 0.8;
// A press that moves less than this is a click (a cursor), not a drag.
constexpr double ClickSlack = 4;
} // namespace

void CLinePlot::setInteractive(bool interactive)
{
    if (m_Interactive == interactive)
        return;
    m_Interactive = interactive;
    setAcceptedMouseButtons(interactive ? Qt::LeftButton : Qt::NoButton);
    setActiveFocusOnTab(interactive);
    if (!interactive)
        clearCursors();
    emit interactiveChanged();
}

QPointF CLinePlot::l_Fraction(const QPointF& at) const
{
    if (m_PlotArea.width() <= 0 || m_PlotArea.height() <= 0)
        return {0.5, 0.5};
    return {(at.x() - m_PlotArea.left()) / m_PlotArea.width(),
            (m_PlotArea.bottom() - at.y()) / m_PlotArea.height()};
}

void CLinePlot::zoom(double xFactor, double yFactor)
{
    if (xFactor != 1)
    {
        const CPlotNavigation::Range x = CPlotNavigation::Zoomed(navigationAxis(XScale()), 0.5, xFactor);
        emit xRangeRequested(x.min, x.max);
    }
    if (yFactor != 1)
    {
        const CPlotNavigation::Range y =
            CPlotNavigation::Zoomed(navigationAxis(l_ScaleOf(m_YAxis)), 0.5, yFactor);
        emit yRangeRequested(y.min, y.max);
    }
}

void CLinePlot::wheelEvent(QWheelEvent* event)
{
    if (!m_Interactive || event->angleDelta().y() == 0)
    {
        event->ignore();
        return;
    }
    const double factor = std::pow(ZoomStep, event->angleDelta().y() / 120.0);
    const QPointF at = l_Fraction(event->position());
    // The value under the pointer stays under it; Ctrl zooms the values, not the time.
    if (event->modifiers() & Qt::ControlModifier)
    {
        const CPlotNavigation::Range y =
            CPlotNavigation::Zoomed(navigationAxis(l_ScaleOf(m_YAxis)), at.y(), factor);
        emit yRangeRequested(y.min, y.max);
    }
    else
    {
        const CPlotNavigation::Range x = CPlotNavigation::Zoomed(navigationAxis(XScale()), at.x(), factor);
        emit xRangeRequested(x.min, x.max);
    }
    event->accept();
}

void CLinePlot::mousePressEvent(QMouseEvent* event)
{
    if (!m_Interactive || !m_PlotArea.contains(event->localPos()))
    {
        event->ignore();
        return;
    }
    forceActiveFocus(Qt::MouseFocusReason);
    m_PressedAt = event->localPos();
    m_Dragging = false;
    m_PanY = false;
    m_BoxZoom = event->modifiers() & Qt::ShiftModifier;
    m_PressedX = XScale();
    m_PressedY = l_ScaleOf(m_YAxis);
    event->accept();
}

void CLinePlot::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF moved = event->localPos() - m_PressedAt;
    if (!m_Dragging && std::hypot(moved.x(), moved.y()) < ClickSlack)
        return;
    m_Dragging = true;
    if (m_BoxZoom)
    {
        l_SetSelection(QRectF(m_PressedAt, event->localPos()).normalized().intersected(m_PlotArea));
        return;
    }
    // The plot follows the pointer: time along X, and the values once the drag goes up or down.
    const double dx = -moved.x() / std::max(1.0, m_PlotArea.width());
    const CPlotNavigation::Range x = CPlotNavigation::Panned(navigationAxis(m_PressedX), dx);
    emit xRangeRequested(x.min, x.max);
    m_PanY = m_PanY || std::fabs(moved.y()) > 2 * ClickSlack;
    if (m_PanY)
    {
        const double dy = moved.y() / std::max(1.0, m_PlotArea.height());
        const CPlotNavigation::Range y = CPlotNavigation::Panned(navigationAxis(m_PressedY), dy);
        emit yRangeRequested(y.min, y.max);
    }
}

void CLinePlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_DoubleClicked)
        m_DoubleClicked = false; // the end of a double click places no cursor
    else if (!m_Dragging)
    {
        // A click: a cursor where it was.
        const AxisScale x = XScale();
        placeCursor(CPlotNavigation::ValueAt(navigationAxis(x), l_Fraction(event->localPos()).x()));
    }
    else if (m_BoxZoom && m_Selection.width() > ClickSlack && m_Selection.height() > ClickSlack)
    {
        const QPointF low = l_Fraction(m_Selection.bottomLeft()), high = l_Fraction(m_Selection.topRight());
        const CPlotNavigation::Range x =
            CPlotNavigation::Between(navigationAxis(XScale()), low.x(), high.x());
        const CPlotNavigation::Range y =
            CPlotNavigation::Between(navigationAxis(l_ScaleOf(m_YAxis)), low.y(), high.y());
        emit xRangeRequested(x.min, x.max);
        emit yRangeRequested(y.min, y.max);
    }
    m_Dragging = false;
    l_SetSelection(QRectF());
    event->accept();
}

void CLinePlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_Interactive)
    {
        event->ignore();
        return;
    }
    m_DoubleClicked = true;
    clearCursors();
    emit automaticRangeRequested();
    event->accept();
}

void CLinePlot::keyPressEvent(QKeyEvent* event)
{
    if (!m_Interactive)
    {
        event->ignore();
        return;
    }
    const bool values = event->modifiers() & Qt::ControlModifier;
    const auto pan = [this](double dx, double dy) {
        if (dx != 0)
        {
            const CPlotNavigation::Range x = CPlotNavigation::Panned(navigationAxis(XScale()), dx);
            emit xRangeRequested(x.min, x.max);
        }
        if (dy != 0)
        {
            const CPlotNavigation::Range y = CPlotNavigation::Panned(navigationAxis(l_ScaleOf(m_YAxis)), dy);
            emit yRangeRequested(y.min, y.max);
        }
    };
    switch (event->key())
    {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(values ? 1 : ZoomStep, values ? ZoomStep : 1);
        break;
    case Qt::Key_Minus:
        zoom(values ? 1 : 1 / ZoomStep, values ? 1 / ZoomStep : 1);
        break;
    case Qt::Key_Left:
        pan(-0.1, 0);
        break;
    case Qt::Key_Right:
        pan(0.1, 0);
        break;
    case Qt::Key_Up:
        pan(0, 0.1);
        break;
    case Qt::Key_Down:
        pan(0, -0.1);
        break;
    case Qt::Key_Home:
    case Qt::Key_0:
        emit automaticRangeRequested();
        break;
    case Qt::Key_C:
        placeCursor(CPlotNavigation::ValueAt(navigationAxis(XScale()), 0.5));
        break;
    case Qt::Key_Escape:
        clearCursors();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void CLinePlot::placeCursor(double x)
{
    if (!std::isfinite(x))
        return;
    if (m_Cursors.size() >= 2)
        m_Cursors.clear();
    m_Cursors.append(x);
    l_UpdateCursors();
}

void CLinePlot::clearCursors()
{
    if (m_Cursors.isEmpty())
        return;
    m_Cursors.clear();
    l_UpdateCursors();
}

void CLinePlot::l_SetSelection(const QRectF& selection)
{
    if (m_Selection == selection)
        return;
    m_Selection = selection;
    emit selectionChanged();
}

void CLinePlot::l_UpdateCursors()
{
    m_CursorsDirty = false;
    QVariantList positions;
    const AxisScale x = XScale();
    for (double at : qAsConst(m_Cursors))
    {
        const double fraction = x.At(at);
        if (std::isfinite(fraction) && fraction >= 0 && fraction <= 1)
            positions.append(m_PlotArea.left() + fraction * m_PlotArea.width());
    }
    // Each series shown, by the name its legend gives it; the unit of the Y title.
    QVector<QVector<QPointF>> points;
    points.reserve(m_Series.size()); // no reallocation: the readout points into it
    QVector<CPlotNavigation::Series> shown;
    for (const QXYSeries* series : qAsConst(m_Series))
        if (series->isVisible() && !series->name().isEmpty() && series->count() > 0)
        {
            points.append(series->pointsVector());
            shown.append({series->name(), &points.last()});
        }
    const QString unit = CAxisTicks::UnitOf(m_YAxis ? m_YAxis->titleText() : QString());
    const QString text = CPlotNavigation::CursorText(
        m_Cursors, shown, x.time, unit, CAxisTicks::UnitOf(m_XAxis ? m_XAxis->titleText() : QString()));
    if (positions != m_CursorPositions || text != m_CursorText)
    {
        m_CursorPositions = positions;
        m_CursorText = text;
        emit cursorsChanged();
    }
}

void CLinePlot::l_Relayout()
{
    m_LayoutDirty = false;
    const QFontMetricsF metrics(m_Font);
    const double line = metrics.height();
    const double gap = std::ceil(line / 3);
    const AxisScale x = XScale(), y = l_ScaleOf(m_YAxis);
    const auto labelled = [](const CAxisTicks::Scale& scale) {
        return int(std::count_if(scale.ticks.begin(), scale.ticks.end(),
                                 [](const CAxisTicks::Tick& t) { return !t.text.isEmpty(); }));
    };
    const auto widest = [&metrics](const CAxisTicks::Scale& scale) {
        double width = 0;
        for (const CAxisTicks::Tick& tick : scale.ticks)
            width = std::max(width, metrics.horizontalAdvance(tick.text));
        return width;
    };
    // Thinning ends where a coarser step would leave fewer than two labels.
    constexpr int Coarsest = 60;

    // Rows from the top: half a label, the plot, a gap, the labels, the title.
    const double top = std::ceil(line / 2) + gap;
    const double bottom = std::max(top + 1, height() - (3 * gap + 2 * line));
    const double plotHeight = bottom - top;
    // The Y labels at one and a half lines each at least: a coarser step where the plot is low.
    CAxisTicks::Scale yTicks;
    for (int coarser = 0; coarser < Coarsest; ++coarser)
    {
        yTicks = y.Ticks(coarser);
        const int shown = labelled(yTicks);
        if ((shown * line * 1.5 <= plotHeight && shown <= MaximumLabels) || shown <= 2)
            break;
    }
    const double left = std::ceil(gap + line + gap + widest(yTicks) + gap);
    CAxisTicks::Scale xTicks = x.Ticks();
    const double lastHalf =
        xTicks.ticks.isEmpty() ? 0 : metrics.horizontalAdvance(xTicks.ticks.last().text) / 2;
    const double right = std::max(left + 1, width() - std::ceil(std::max(2 * gap, lastHalf + gap)));
    const double plotWidth = right - left;
    for (int coarser = 1;
         coarser < Coarsest && labelled(xTicks) > 2 &&
         (labelled(xTicks) * (widest(xTicks) + 2 * line) > plotWidth || labelled(xTicks) > MaximumLabels);
         ++coarser)
        xTicks = x.Ticks(coarser);

    const QRectF area(left, top, plotWidth, plotHeight);
    QVariantList xLabels, yLabels;
    m_XGrid.clear();
    m_YGrid.clear();
    for (const CAxisTicks::Tick& tick : qAsConst(xTicks.ticks))
    {
        const double at = left + x.At(tick.value) * plotWidth;
        m_XGrid.append(at);
        if (!tick.text.isEmpty())
            xLabels.append(QVariantMap{{"x", at}, {"y", bottom + gap}, {"text", tick.text}});
    }
    for (const CAxisTicks::Tick& tick : qAsConst(yTicks.ticks))
    {
        const double at = bottom - y.At(tick.value) * plotHeight;
        m_YGrid.append(at);
        if (!tick.text.isEmpty())
            yLabels.append(QVariantMap{{"x", left - gap}, {"y", at}, {"text", tick.text}});
    }
    // Told only what moved: as the time axis scrolls, the Y labels stay as they are.
    if (area != m_PlotArea)
    {
        m_PlotArea = area;
        emit plotAreaChanged();
    }
    const QString xTitle = CAxisTicks::Title(m_XAxis ? m_XAxis->titleText() : QString(), xTicks);
    const QString yTitle = CAxisTicks::Title(m_YAxis ? m_YAxis->titleText() : QString(), yTicks);
    if (xLabels != m_XLabels || xTitle != m_XTitle)
    {
        m_XLabels = xLabels;
        m_XTitle = xTitle;
        emit xLabelsChanged();
    }
    if (yLabels != m_YLabels || yTitle != m_YTitle)
    {
        m_YLabels = yLabels;
        m_YTitle = yTitle;
        emit yLabelsChanged();
    }
}

void CLinePlot::l_FillSeries(QSGGeometryNode* node, const QXYSeries& series) const
{
    const AxisScale x = l_ScaleOf(m_XAxis), y = l_ScaleOf(m_YAxis);
    const QVector<QPointF> points = series.isVisible() ? series.pointsVector() : QVector<QPointF>();
    QVector<QPointF> mapped;
    mapped.reserve(points.size());
    const double left = m_PlotArea.left(), bottom = m_PlotArea.bottom();
    const double w = m_PlotArea.width(), h = m_PlotArea.height();
    for (const QPointF& p : points)
    {
        const double u = left + x.At(p.x()) * w;
        const double v = bottom - y.At(p.y()) * h;
        // A point that cannot be shown (NaN, zero on a log axis) breaks the line.
        mapped.append(std::isfinite(u) && std::isfinite(v)
                          ? QPointF(std::clamp(u, left - FarOutside, left + w + FarOutside),
                                    std::clamp(v, bottom - h - FarOutside, bottom + FarOutside))
                          : QPointF(NotShown, NotShown));
    }
    // Each drawable point joins the next; a point with no drawable neighbour (a series of
    // one point, a value between two gaps) is a small cross, so that it still shows.
    const auto drawable = [&mapped](int i) {
        return i >= 0 && i < mapped.size() && std::isfinite(mapped[i].x());
    };
    QVector<QPointF> ends;
    ends.reserve(2 * mapped.size());
    const double arm = std::max(2.0, m_LineWidth + 1);
    for (int i = 0; i < mapped.size(); ++i)
    {
        if (!drawable(i))
            continue;
        const QPointF& p = mapped[i];
        if (drawable(i + 1))
            ends << p << mapped[i + 1];
        else if (!drawable(i - 1))
            ends << p - QPointF(arm, 0) << p + QPointF(arm, 0) << p - QPointF(0, arm) << p + QPointF(0, arm);
    }
    QSGGeometry* geometry = node->geometry();
    geometry->allocate(ends.size());
    geometry->setLineWidth(float(std::max(1.0, m_LineWidth)));
    QSGGeometry::Point2D* vertex = geometry->vertexDataAsPoint2D();
    for (const QPointF& end : qAsConst(ends))
        (vertex++)->set(float(end.x()), float(end.y()));
    node->markDirty(QSGNode::DirtyGeometry);
    setColour(node, series.color());
}

QSGNode* CLinePlot::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    // The root's children: the grid, the frame, then the clip with one node per series:
    // a series along an edge (all its points at the axis's end) shows over the frame.
    QSGNode* root = old ? old : new QSGNode;
    auto* grid = lineNode(root, static_cast<QSGGeometryNode*>(root->firstChild()));
    auto* frame = lineNode(root, static_cast<QSGGeometryNode*>(grid->nextSibling()));
    auto* clip = static_cast<QSGClipNode*>(frame->nextSibling());
    if (!clip)
    {
        clip = new QSGClipNode;
        clip->setIsRectangular(true);
        clip->setGeometry(new QSGGeometry(QSGGeometry::defaultAttributes_Point2D(), 4));
        clip->setFlag(QSGNode::OwnsGeometry);
        root->appendChildNode(clip);
    }

    const QRectF& area = m_PlotArea;
    QSGGeometry* lines = grid->geometry();
    lines->allocate(2 * (m_XGrid.size() + m_YGrid.size()));
    QSGGeometry::Point2D* vertex = lines->vertexDataAsPoint2D();
    for (double x : qAsConst(m_XGrid))
    {
        (vertex++)->set(float(x), float(area.top()));
        (vertex++)->set(float(x), float(area.bottom()));
    }
    for (double y : qAsConst(m_YGrid))
    {
        (vertex++)->set(float(area.left()), float(y));
        (vertex++)->set(float(area.right()), float(y));
    }
    grid->markDirty(QSGNode::DirtyGeometry);
    setColour(grid, m_GridColor);

    QSGGeometry* box = frame->geometry();
    box->allocate(8);
    vertex = box->vertexDataAsPoint2D();
    const QPointF corners[] = {area.topLeft(), area.topRight(), area.bottomRight(), area.bottomLeft()};
    for (int i = 0; i < 4; ++i)
    {
        (vertex++)->set(float(corners[i].x()), float(corners[i].y()));
        (vertex++)->set(float(corners[(i + 1) % 4].x()), float(corners[(i + 1) % 4].y()));
    }
    frame->markDirty(QSGNode::DirtyGeometry);
    setColour(frame, m_FrameColor);

    // A pixel of slack: a line exactly on an edge may fall in the pixels just outside it.
    const QRectF clipped = area.adjusted(-1, -1, 1, 1);
    clip->setClipRect(clipped);
    QSGGeometry::updateRectGeometry(clip->geometry(), clipped);
    clip->markDirty(QSGNode::DirtyGeometry);
    QSGGeometryNode* node = static_cast<QSGGeometryNode*>(clip->firstChild());
    // The first series added is drawn last, on top: B over its uncertainty lines, the
    // spectrum over its limits.
    for (auto series = m_Series.crbegin(); series != m_Series.crend(); ++series)
    {
        node = lineNode(clip, node);
        l_FillSeries(node, **series);
        node = static_cast<QSGGeometryNode*>(node->nextSibling());
    }
    return root;
}
