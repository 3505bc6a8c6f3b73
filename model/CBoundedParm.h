#pragma once

#include <QObject>

// The allowed interval of one measurement parameter, published by the instrument.
class CBoundedParm : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Min READ Min WRITE setMin NOTIFY MinChanged)
    Q_PROPERTY(double Max READ Max WRITE setMax NOTIFY MaxChanged)
    Q_PROPERTY(double Default READ Default WRITE setDefault NOTIFY DefaultChanged)
public:
    explicit CBoundedParm(QObject* parent = nullptr);

    double Min() const { return m_Min; }
    double Max() const { return m_Max; }
    double Default() const { return m_Default; }
    void setMin(double value);
    void setMax(double value);
    void setDefault(double value);
    // A finite value within the interval; an interval the driver does not give (Max not
    // above Min) limits nothing.
    bool Allows(double value) const;

signals:
    void MinChanged(double value);
    void MaxChanged(double value);
    void DefaultChanged(double value);

private:
    double m_Min = 0;
    double m_Max = 0;
    double m_Default = 0;
};
