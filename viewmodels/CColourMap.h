#pragma once

#include "quickitems/CColourMapSource.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <array>
#include <vector>

// The colour map of a planar map: when the measured points all share one
// coordinate, the chosen quantity (B, Bx, By, Bz) over the grid's plane,
// interpolated between the measured points, for spotting hot spots at a glance.
class CColourMap : public QObject, public CColourMapSource
{
    Q_OBJECT
    Q_INTERFACES(CColourMapSource)
    Q_PROPERTY(bool Planar READ Planar NOTIFY changed)
    Q_PROPERTY(QStringList QuantityNames READ QuantityNames CONSTANT)
    Q_PROPERTY(int QuantityIndex READ QuantityIndex WRITE setQuantityIndex NOTIFY QuantityIndexChanged)
    // Axis names of the plane: horizontal, vertical.
    Q_PROPERTY(QString UName READ UName NOTIFY changed)
    Q_PROPERTY(QString VName READ VName NOTIFY changed)
    Q_PROPERTY(double UMin READ UMin NOTIFY changed)
    Q_PROPERTY(double UMax READ UMax NOTIFY changed)
    Q_PROPERTY(double VMin READ VMin NOTIFY changed)
    Q_PROPERTY(double VMax READ VMax NOTIFY changed)
    Q_PROPERTY(double ValueMin READ ValueMin NOTIFY changed)
    Q_PROPERTY(double ValueMax READ ValueMax NOTIFY changed)
    Q_PROPERTY(int PointCount READ PointCount NOTIFY changed)

public:
    explicit CColourMap(QObject* parent = nullptr);

    // A measured point: its position and its field (B, Bx, By, Bz) in the mapping frame.
    // `update` false defers the map to a later Update() (a reload adds many points).
    void Add(double x, double y, double z, const std::array<double, 4>& field, bool update = true);
    void Update();
    void Clear();

    bool Planar() const override { return m_Plane >= 0; }
    QStringList QuantityNames() const
    {
        return {QStringLiteral("B"), QStringLiteral("Bx"), QStringLiteral("By"), QStringLiteral("Bz")};
    }
    int QuantityIndex() const { return m_Quantity; }
    void setQuantityIndex(int value);
    QString UName() const;
    QString VName() const;
    double UMin() const override { return m_U.empty() ? 0 : m_U.front(); }
    double UMax() const override { return m_U.empty() ? 1 : m_U.back(); }
    double VMin() const override { return m_V.empty() ? 0 : m_V.front(); }
    double VMax() const override { return m_V.empty() ? 1 : m_V.back(); }
    double ValueMin() const { return m_Value[0]; }
    double ValueMax() const { return m_Value[1]; }
    int PointCount() const { return int(m_Points.size()); }

    // The quantity at a place of the plane: bilinear between the four surrounding grid
    // points, over those measured when some are not yet; NaN off the grid or with none.
    Q_INVOKABLE double valueAt(double u, double v) const;
    // The measured grid points of the plane, as (u, v).
    std::vector<std::array<double, 2>> Nodes() const override;
    // The map as an image of width x height pixels, V upwards; unmeasured parts transparent.
    QImage Render(int width, int height, const QVector<QColor>& stops) const override;
    // A fraction of the scale (0 low, 1 high) as a colour between the stops.
    static QColor ColourOf(double fraction, const QVector<QColor>& stops);

signals:
    // Any point or the quantity changed (lower case: QML handles it).
    void changed();
    void QuantityIndexChanged(int value);

private:
    void l_Update();
    // The distinct values, merged when closer than a stage could tell apart.
    static std::vector<double> l_Distinct(std::vector<double> values);
    static std::size_t l_Index(const std::vector<double>& axis, double value);

    struct Point
    {
        std::array<double, 3> position;
        std::array<double, 4> field;
    };
    std::vector<Point> m_Points;
    int m_Quantity = 0;
    int m_Plane = -1; // the shared coordinate: 0 X, 1 Y, 2 Z
    std::vector<double> m_U;
    std::vector<double> m_V;
    // The quantity at each grid point, u fastest; NaN where nothing was measured.
    std::vector<double> m_Grid;
    std::array<double, 2> m_Value{0, 1};
};
