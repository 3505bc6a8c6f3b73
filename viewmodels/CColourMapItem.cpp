#include "viewmodels/CColourMapItem.h"

#include "viewmodels/CColourMap.h"

#include <QPainter>

#include <algorithm>

namespace
{
// Finer than this the interpolation shows nothing new; the painter scales the rest smoothly.
constexpr int MaxRasterSide = 400;
constexpr double MarkerRadius = 2.5;
} // namespace

CColourMapItem::CColourMapItem(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void CColourMapItem::setMap(CColourMap* value)
{
    if (m_Map == value)
        return;
    if (m_Map)
        disconnect(m_Map, nullptr, this, nullptr);
    m_Map = value;
    if (m_Map)
        connect(m_Map, &CColourMap::changed, this, [this] { update(); });
    emit mapChanged();
    update();
}

void CColourMapItem::setStops(const QVariantList& value)
{
    m_Stops = value;
    m_Colours.clear();
    for (const QVariant& stop : value)
        m_Colours.append(stop.value<QColor>());
    emit stopsChanged();
    update();
}

void CColourMapItem::setMarkerColor(const QColor& value)
{
    if (m_MarkerColor == value)
        return;
    m_MarkerColor = value;
    emit markerColorChanged();
    update();
}

void CColourMapItem::paint(QPainter* painter)
{
    if (!m_Map || !m_Map->Planar() || width() < 4 || height() < 4)
        return;
    const double du = m_Map->UMax() - m_Map->UMin();
    const double dv = m_Map->VMax() - m_Map->VMin();
    const double margin = MarkerRadius + 1;
    const double scale =
        std::min((width() - 2 * margin) / std::max(du, 1e-9), (height() - 2 * margin) / std::max(dv, 1e-9));
    const QRectF plot(margin, margin, du * scale, dv * scale);
    const QImage image = m_Map->Render(std::clamp(int(plot.width()), 2, MaxRasterSide),
                                       std::clamp(int(plot.height()), 2, MaxRasterSide), m_Colours);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(plot, image);
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_MarkerColor);
    for (const auto& node : m_Map->Nodes())
        painter->drawEllipse(QPointF(plot.left() + (node[0] - m_Map->UMin()) * scale,
                                     plot.bottom() - (node[1] - m_Map->VMin()) * scale),
                             MarkerRadius, MarkerRadius);
}
