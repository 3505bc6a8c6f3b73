#pragma once

#include <QObject>

// The block-level B' vector.
class CBprimeResult : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double X READ X WRITE setX NOTIFY XChanged)
    Q_PROPERTY(double Y READ Y WRITE setY NOTIFY YChanged)
    Q_PROPERTY(double Z READ Z WRITE setZ NOTIFY ZChanged)
public:
    explicit CBprimeResult(QObject* parent = nullptr);

    double X() const { return m_X; }
    double Y() const { return m_Y; }
    double Z() const { return m_Z; }
    void setX(double value);
    void setY(double value);
    void setZ(double value);

signals:
    void XChanged(double value);
    void YChanged(double value);
    void ZChanged(double value);

private:
    double m_X = 0;
    double m_Y = 0;
    double m_Z = 0;
};
