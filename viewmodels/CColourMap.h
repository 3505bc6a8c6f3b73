#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <vector>

class CMeasureBlockMapping;

// The colour map of a planar map: when the measured points all share one
// coordinate, the chosen quantity (B, Bx, By, Bz) of each point as a cell of the
// grid's plane, for spotting hot spots at a glance.
class CColourMap : public QObject
{
    Q_OBJECT
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
    Q_PROPERTY(double CellWidth READ CellWidth NOTIFY changed)
    Q_PROPERTY(double CellHeight READ CellHeight NOTIFY changed)
    Q_PROPERTY(double ValueMin READ ValueMin NOTIFY changed)
    Q_PROPERTY(double ValueMax READ ValueMax NOTIFY changed)
    // One { u, v, value } per measured point.
    Q_PROPERTY(QVariantList Cells READ Cells NOTIFY changed)

public:
    explicit CColourMap(QObject* parent = nullptr);

    // A measured point: its position and its field (B, Bx, By, Bz) in the mapping frame.
    // `update` false defers the cells to a later Update() (a reload adds many points).
    void Add(double x, double y, double z, const std::array<double, 4>& field, bool update = true);
    void Update();
    void Clear();

    bool Planar() const { return m_Plane >= 0; }
    QStringList QuantityNames() const
    {
        return {QStringLiteral("B"), QStringLiteral("Bx"), QStringLiteral("By"), QStringLiteral("Bz")};
    }
    int QuantityIndex() const { return m_Quantity; }
    void setQuantityIndex(int value);
    QString UName() const;
    QString VName() const;
    double UMin() const { return m_U[0]; }
    double UMax() const { return m_U[1]; }
    double VMin() const { return m_V[0]; }
    double VMax() const { return m_V[1]; }
    double CellWidth() const { return m_CellWidth; }
    double CellHeight() const { return m_CellHeight; }
    double ValueMin() const { return m_Value[0]; }
    double ValueMax() const { return m_Value[1]; }
    QVariantList Cells() const { return m_Cells; }

signals:
    // Any point or the quantity changed (lower case: QML handles it).
    void changed();
    void QuantityIndexChanged(int value);

private:
    void l_Update();
    // The smallest gap between distinct coordinates, the size of a cell.
    static double l_Step(std::vector<double> values);

    struct Point
    {
        std::array<double, 3> position;
        std::array<double, 4> field;
    };
    std::vector<Point> m_Points;
    int m_Quantity = 0;
    int m_Plane = -1; // the shared coordinate: 0 X, 1 Y, 2 Z
    std::array<double, 2> m_U{0, 1};
    std::array<double, 2> m_V{0, 1};
    std::array<double, 2> m_Value{0, 1};
    double m_CellWidth = 1;
    double m_CellHeight = 1;
    QVariantList m_Cells;
};
