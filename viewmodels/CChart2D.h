#pragma once

#include <QAbstractTableModel>

#include <limits>

// The common base of every chart model: the axis ranges the QML chart shows, and
// the largest Y range seen so far (for the Y range slider).
class CChart2D : public QAbstractTableModel
{
    Q_OBJECT
    Q_PROPERTY(double Xmax READ Xmax NOTIFY XmaxChanged)
    Q_PROPERTY(double Xmin READ Xmin NOTIFY XminChanged)
    Q_PROPERTY(bool Visible READ Visible NOTIFY VisibleChanged)
    Q_PROPERTY(bool AutoScaling READ AutoScaling WRITE setAutoScaling NOTIFY AutoScalingChanged)
    Q_PROPERTY(double Ymax READ Ymax NOTIFY YmaxChanged)
    Q_PROPERTY(double Ymin READ Ymin NOTIFY YminChanged)
    Q_PROPERTY(double YmaxAllSignal READ YmaxAllSignal NOTIFY YmaxAllSignalChanged)
    Q_PROPERTY(double YminAllSignal READ YminAllSignal NOTIFY YminAllSignalChanged)
    Q_PROPERTY(bool FirstDataInit READ FirstDataInit NOTIFY FirstDataInitChanged)
    Q_PROPERTY(bool YminMaxReseted READ YminMaxReseted NOTIFY YminMaxResetedChanged)
public:
    // "No value yet" for the largest and the smallest Y bound seen.
    static constexpr double UnsetYmax = std::numeric_limits<double>::max();
    static constexpr double UnsetYmin = std::numeric_limits<double>::min();

    explicit CChart2D(QObject* parent = nullptr);

    double Xmax() const { return m_Xmax; }
    double Xmin() const { return m_Xmin; }
    bool Visible() const { return m_Visible; }
    bool AutoScaling() const { return m_AutoScaling; }
    double Ymax() const { return m_Ymax; }
    double Ymin() const { return m_Ymin; }
    double YmaxAllSignal() const { return m_YmaxAllSignal; }
    double YminAllSignal() const { return m_YminAllSignal; }
    bool FirstDataInit() const { return m_FirstDataInit; }
    bool YminMaxReseted() const { return m_YminMaxReseted; }

    void setXmax(double value);
    void setXmin(double value);
    void setVisible(bool value);
    void setAutoScaling(bool value);
    void setYmax(double value);
    void setYmin(double value);

    // The chart's axes to Xmin … Xmax and Ymin … Ymax, each in one step: a bound set
    // alone lays out the axis and every series again, so a range moved by its two
    // bounds would cost two layouts per redraw.
    Q_INVOKABLE void applyRanges(QObject* axisX, QObject* axisY) const;

    // Widen a local bound, and the bound over all data seen.
    void ComputeMin(float& localMin, float value);
    void ComputeMax(float& localMax, float value);

signals:
    void XmaxChanged(double value);
    void XminChanged(double value);
    void VisibleChanged(bool value);
    void AutoScalingChanged(bool value);
    void YmaxChanged(double value);
    void YminChanged(double value);
    void YmaxAllSignalChanged(double value);
    void YminAllSignalChanged(double value);
    void FirstDataInitChanged(bool value);
    void YminMaxResetedChanged(bool value);
    void refreshLimitSliderX();
    void refreshLimitSliderY();

private:
    double m_Xmax = 0;
    double m_Xmin = 0;
    bool m_Visible = true;
    bool m_AutoScaling = true;
    double m_Ymax;
    double m_Ymin;
    double m_YmaxAllSignal = UnsetYmax;
    double m_YminAllSignal = UnsetYmin;
    bool m_FirstDataInit = false;
    bool m_YminMaxReseted = true;

protected:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setYmaxAllSignal(double value);
    void setYminAllSignal(double value);
    void setFirstDataInit(bool value);
    void setYminMaxReseted(bool value);
};
