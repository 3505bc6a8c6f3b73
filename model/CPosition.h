#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>

// A probe position. A QObject with value semantics: copies are parentless and
// copying emits nothing, so positions can live in lists and cross threads in
// queued signals.
class CPosition : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double X READ X WRITE setX NOTIFY XChanged)
    Q_PROPERTY(double Y READ Y WRITE setY NOTIFY YChanged)
    Q_PROPERTY(double Z READ Z WRITE setZ NOTIFY ZChanged)
public:
    CPosition(QObject* parent = nullptr);
    CPosition(double x, double y, double z);
    CPosition(const CPosition& other);
    CPosition& operator=(const CPosition& other);
    ~CPosition() override = default;

    double X() const { return m_X; }
    double Y() const { return m_Y; }
    double Z() const { return m_Z; }
    void setX(double value);
    void setY(double value);
    void setZ(double value);

    bool operator==(const CPosition& other) const;
    bool operator!=(const CPosition& other) const { return !(*this == other); }

signals:
    void XChanged(double value);
    void YChanged(double value);
    void ZChanged(double value);

private:
    double m_X = 0;
    double m_Y = 0;
    double m_Z = 0;
};

Q_DECLARE_METATYPE(CPosition)
Q_DECLARE_METATYPE(QList<CPosition>)
