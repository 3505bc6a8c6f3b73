#pragma once

#include <QObject>

// One axis of a Cartesian grid: start, stop and step.
class CAxisStepSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Start READ Start WRITE setStart NOTIFY StartChanged)
    Q_PROPERTY(double Stop READ Stop WRITE setStop NOTIFY StopChanged)
    Q_PROPERTY(double StepSize READ StepSize WRITE setStepSize NOTIFY StepSizeChanged)
public:
    explicit CAxisStepSeries(QObject* parent = nullptr);

    double Start() const { return m_Start; }
    double Stop() const { return m_Stop; }
    double StepSize() const { return m_StepSize; }
    void setStart(double value);
    void setStop(double value);
    void setStepSize(double value);

public slots:
    void OnUpdated();

signals:
    void StartChanged(double value);
    void StopChanged(double value);
    void StepSizeChanged(double value);
    void Updated();

private:
    double m_Start = 0.0;
    double m_Stop = 1.0;
    double m_StepSize = 1.0;
};
