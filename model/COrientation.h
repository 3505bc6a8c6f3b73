#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>

// A probe orientation in degrees. A QObject with value semantics: copies are parentless and
// copying emits nothing, so orientations can live in lists and cross threads in
// queued signals.
class COrientation : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Roll READ Roll WRITE setRoll NOTIFY RollChanged)
    Q_PROPERTY(double Pitch READ Pitch WRITE setPitch NOTIFY PitchChanged)
    Q_PROPERTY(double Yaw READ Yaw WRITE setYaw NOTIFY YawChanged)
public:
    COrientation(QObject* parent = nullptr);
    COrientation(double roll, double pitch, double yaw);
    COrientation(const COrientation& other);
    COrientation& operator=(const COrientation& other);
    ~COrientation() override = default;

    double Roll() const { return m_Roll; }
    double Pitch() const { return m_Pitch; }
    double Yaw() const { return m_Yaw; }
    void setRoll(double value);
    void setPitch(double value);
    void setYaw(double value);

    bool operator==(const COrientation& other) const;
    bool operator!=(const COrientation& other) const { return !(*this == other); }

signals:
    void RollChanged(double value);
    void PitchChanged(double value);
    void YawChanged(double value);

private:
    double m_Roll = 0;
    double m_Pitch = 0;
    double m_Yaw = 0;
};

Q_DECLARE_METATYPE(COrientation)
Q_DECLARE_METATYPE(QList<COrientation>)
