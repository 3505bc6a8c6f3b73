#include "quickitems/CColourMapItem.h"

#include "quickitems/CColourMapSource.h"

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

const CColourMapSource* CColourMapItem::l_Source() const
{
    return qobject_cast<CColourMapSource*>(m_Map.data());
}

void CColourMapItem::setMap(QObject* value)
{
    if (m_Map == value)
        return;
    if (m_Map)
        disconnect(m_Map, nullptr, this, nullptr);
    // Only a colour map source is drawn; anything else is none.
    m_Map = qobject_cast<CColourMapSource*>(value) ? value : nullptr;
    if (m_Map)
        connect(m_Map, SIGNAL(changed()), this, SLOT(update()));
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
    const CColourMapSource* map = l_Source();
    if (!map || !map->Planar() || width() < 4 || height() < 4)
        return;
    const double du = map->UMax() - map->UMin();
    const double dv = map->VMax() - map->VMin();
    const double margin = MarkerRadius + 1;
    const double scale =
        std::min((width() - 2 * margin) / std::max(du, 1e-9), (height() - 2 * margin) / std::max(dv, 1e-9));
    const QRectF plot(margin, margin, du * scale, dv * scale);
    const QImage image = map->Render(std::clamp(int(plot.width()), 2, MaxRasterSide),
                                     std::clamp(int(plot.height()), 2, MaxRasterSide), m_Colours);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(plot, image);
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_MarkerColor);
    for (const auto& node : map->Nodes())
        painter->drawEllipse(QPointF(plot.left() + (node[0] - map->UMin()) * scale,
                                     plot.bottom() - (node[1] - map->VMin()) * scale),
                             MarkerRadius, MarkerRadius);
}
