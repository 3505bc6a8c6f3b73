#pragma once

#include <QColor>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QVariantList>

class CColourMapSource;

// Draws a colour map: the interpolated plane, one millimetre the same on both axes,
// and a dot on every measured point. Colours come from the page's theme.
class CColourMapItem : public QQuickPaintedItem
{
    Q_OBJECT
    // A QObject that implements CColourMapSource and emits changed().
    Q_PROPERTY(QObject* map READ map WRITE setMap NOTIFY mapChanged)
    Q_PROPERTY(QVariantList stops READ stops WRITE setStops NOTIFY stopsChanged)
    Q_PROPERTY(QColor markerColor READ markerColor WRITE setMarkerColor NOTIFY markerColorChanged)
public:
    explicit CColourMapItem(QQuickItem* parent = nullptr);

    QObject* map() const { return m_Map; }
    void setMap(QObject* value);
    QVariantList stops() const { return m_Stops; }
    void setStops(const QVariantList& value);
    QColor markerColor() const { return m_MarkerColor; }
    void setMarkerColor(const QColor& value);

    void paint(QPainter* painter) override;

signals:
    void mapChanged();
    void stopsChanged();
    void markerColorChanged();

private:
    QPointer<QObject> m_Map;
    const CColourMapSource* l_Source() const;
    QVariantList m_Stops;
    QVector<QColor> m_Colours;
    QColor m_MarkerColor = Qt::black;
};
