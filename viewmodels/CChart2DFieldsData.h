#pragma once

#include "model/CFieldIntensityResult.h"
#include "viewmodels/CChart2D.h"
#include "viewmodels/CDisplayPacer.h"

#include <QDateTime>
#include <QSharedPointer>
#include <QTimer>
#include <QVariantList>

#include <array>
#include <deque>
#include <limits>
#include <vector>

class COperationParameters;

// The time-series chart of field results: keeps the received results and their
// times, lets a subclass filter them, and hands the chart at most NbPointsAxeX
// points per component for the visible window, each chosen so that peaks survive.
// Abstract: a subclass supplies the data, the filter and the X step.
class CChart2DFieldsData : public CChart2D
{
    Q_OBJECT
    Q_PROPERTY(quint64 MeasureResultCount READ MeasureResultCount NOTIFY MeasureResultCountChanged)
    Q_PROPERTY(double MeasureResultMinX READ MeasureResultMinX NOTIFY MeasureResultMinXChanged)
    Q_PROPERTY(double MeasureResultMaxX READ MeasureResultMaxX NOTIFY MeasureResultMaxXChanged)
    Q_PROPERTY(double MinDeltaAxisX READ MinDeltaAxisX NOTIFY MinDeltaAxisXChanged)
    Q_PROPERTY(QString XmaxDate READ XmaxDate NOTIFY XmaxDateChanged)
    Q_PROPERTY(QString XminDate READ XminDate NOTIFY XminDateChanged)
    Q_PROPERTY(QString XmaxTime READ XmaxTime NOTIFY XmaxTimeChanged)
    Q_PROPERTY(QString XminTime READ XminTime NOTIFY XminTimeChanged)
    Q_PROPERTY(int IntensityFieldCount READ IntensityFieldCount CONSTANT)
    Q_PROPERTY(int NbPointsAxeX READ NbPointsAxeX NOTIFY NbPointsAxeXChanged)
    Q_PROPERTY(int DownsampledSignalLength READ DownsampledSignalLength NOTIFY DownsampledSignalLengthChanged)
    Q_PROPERTY(int XTickCount READ XTickCount NOTIFY XTickCountChanged)
    Q_PROPERTY(int YTickCount READ YTickCount NOTIFY YTickCountChanged)
    Q_PROPERTY(int NumberValidPoints READ NumberValidPoints NOTIFY NumberValidPointsChanged)
    // The title of the X axis: what the chart is drawn against.
    Q_PROPERTY(QString XAxisTitle READ XAxisTitle NOTIFY XAxisTitleChanged)
    // Whether X counts seconds, and the seconds since the epoch of X = 0 (NaN without data):
    // the chart writes its time labels from them.
    Q_PROPERTY(bool XAxisIsTime READ XAxisIsTime NOTIFY XAxisTitleChanged)
    Q_PROPERTY(double XTimeOrigin READ XTimeOrigin NOTIFY XTimeOriginChanged)
    // Input: the statistics strip is shown. Output: per component shown, over the window's
    // samples (all of them, not the points drawn): { index, min, max, mean, rms, sigma, pp }.
    Q_PROPERTY(
        bool StatisticsShown READ StatisticsShown WRITE setStatisticsShown NOTIFY StatisticsShownChanged)
    Q_PROPERTY(QVariantList WindowStatistics READ WindowStatistics NOTIFY WindowStatisticsChanged)
public:
    static constexpr int ComponentCount = 7;
    // The window the X axis scrolls by, in seconds.
    static constexpr double WindowSeconds = 10.0;

    CChart2DFieldsData(COperationParameters* parameters, QObject* parent = nullptr);

    // Table model: column 0 the X value (seconds from t0), columns 1-7 the components
    // B, B.B', Bx, By, Bz, B-dB, B+dB.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    quint64 MeasureResultCount() const { return m_MeasureResultCount; }
    double MeasureResultMinX() const { return m_MeasureResultMinX; }
    double MeasureResultMaxX() const { return m_MeasureResultMaxX; }
    double MinDeltaAxisX() const { return m_MinDeltaAxisX; }
    QString XmaxDate() const { return m_XmaxDate; }
    QString XminDate() const { return m_XminDate; }
    QString XmaxTime() const { return m_XmaxTime; }
    QString XminTime() const { return m_XminTime; }
    int IntensityFieldCount() const { return ComponentCount; }
    int NbPointsAxeX() const { return m_NbPointsAxeX; }
    int DownsampledSignalLength() const { return m_DownsampledSignalLength; }
    int XTickCount() const { return m_XTickCount; }
    int YTickCount() const { return m_YTickCount; }
    int NumberValidPoints() const { return m_NumberValidPoints; }

    // Whole seconds of the timestamp since the epoch plus the nanosecond part.
    static double MeasureToSeconds(const CFieldIntensityResult& result);
    static double niceNumber(double x, bool ceiling);
    // Indexes into the time list for a time relative to t0.
    int GetIndexFromTimeStart(double x) const;
    int GetIndexFromTimeEnd(double x) const;
    void Clear();

    // The value of component `column` (1-7) of a result.
    static float ComponentValue(const CFieldIntensityResult& result, int column);
    // The chart's point `row` of series `column`, as data() gives it.
    float PointValue(int row, int column) const;
    // Hands the points of component `column` to a chart series in one replacement:
    // a model mapper would add them one by one, redrawing the line for each.
    Q_INVOKABLE void updateSeries(QObject* series, int column) const;
    // The user chose the Y range with the sliders: it holds until auto-scaling is
    // turned back on, instead of giving way to the next redraw.
    Q_INVOKABLE void chooseYRange(double low, double high);
    // A chart not shown draws nothing; shown again, it draws what came meanwhile.
    void setShown(bool shown);
    // Seconds since the epoch of X = 0.
    double TimeOrigin() const { return m_T0; }
    // The X range the user chose, held through the redraw of other data that follows
    // (a file read on demand draws the blocks of the range chosen).
    void KeepXRange(double from, double to);

public slots:
    void RecomputeFullFilter();
    void OnMeasurementParametersRateChanged();
    void UpdatePlot();
    virtual void refreshLegendData(double axeXMin, double axeXMax);
    virtual QString XAxisTitle() const { return tr("Time [s]"); }
    virtual bool XAxisIsTime() const { return true; }
    double XTimeOrigin() const;
    bool StatisticsShown() const { return m_StatisticsShown; }
    void setStatisticsShown(bool shown);
    QVariantList WindowStatistics() const { return m_WindowStatistics; }
    void setComponantVisibility(int index, bool visible, bool updateDownsample);
    virtual void resetAxisXDelta(bool resetFullAxis);
    virtual void resetAxisYDelta();
    virtual void UpdateXBoundaries(int count);
    virtual void UpdateTimeLegend();
    virtual void UpdateDownsampling();
    void refreshYminYmax(double yMin, double yMax);
    void refreshYmin(double sliderValue);
    void refreshYmax(double sliderValue);

signals:
    void MeasureResultCountChanged(quint64 value);
    void MeasureResultMinXChanged(double value);
    void MeasureResultMaxXChanged(double value);
    void MinDeltaAxisXChanged(double value);
    void XmaxDateChanged(QString value);
    void XminDateChanged(QString value);
    void XmaxTimeChanged(QString value);
    void XminTimeChanged(QString value);
    void NbPointsAxeXChanged(int value);
    void DownsampledSignalLengthChanged(int value);
    void XTickCountChanged(int value);
    void YTickCountChanged(int value);
    void NumberValidPointsChanged(int value);
    void XAxisTitleChanged();
    void XTimeOriginChanged();
    void StatisticsShownChanged();
    void WindowStatisticsChanged();
    void clearCharts();
    // The downsampled series changed: a chart that is shown takes them (updateSeries).
    void seriesUpdated();
    // The user chose the X range (seconds from the time origin).
    void XRangeChosen(double from, double to);

protected:
    virtual void ComputeDeltaX() = 0;
    // Turns the received results not yet filtered into filtered ones (AppendFiltered).
    virtual void ApplyFilter() {}
    virtual void ResetFilter() {}

    // For subclasses as results arrive: a received result with its time, and a
    // filtered one (the downsampling reads those), and dropping the oldest of both.
    void AppendReceived(const QSharedPointer<CFieldIntensityResult>& result);
    void AppendFiltered(const QSharedPointer<CFieldIntensityResult>& result);
    void DropOldest(std::size_t count);
    // Sets the time origin to the oldest received result and flags new data.
    void MarkNewData();
    // A chart over another horizontal quantity (a position): a result at x, and the
    // origin of x; the results must come in order of x.
    void AppendReceivedAt(const QSharedPointer<CFieldIntensityResult>& result, double x);
    void MarkNewData(double origin);
    // Empties the received and filtered results, to add them again in another order.
    void ClearResults();

    const std::deque<QSharedPointer<CFieldIntensityResult>>& ReceivedResults() const { return m_Received; }
    const std::deque<QSharedPointer<CFieldIntensityResult>>& FilteredResults() const { return m_Filtered; }
    const std::deque<double>& Times() const { return m_Times; }
    bool ComponentVisible(int column) const { return m_ComponentVisible[std::size_t(column - 1)]; }

private:
    using Values = std::array<float, ComponentCount>;

    COperationParameters* m_pParameters;
    std::deque<QSharedPointer<CFieldIntensityResult>> m_Received;
    std::deque<QSharedPointer<CFieldIntensityResult>> m_Filtered;
    // The seven component values of each filtered result, side by side: the
    // downsampling scans these, not the result objects.
    std::deque<Values> m_FilteredValues;
    bool m_StatisticsShown = false;
    double m_ToldTimeOrigin = std::numeric_limits<double>::quiet_NaN();
    QVariantList m_WindowStatistics;
    // The statistics of the samples from `from` to `to` (indexes of m_FilteredValues).
    void l_UpdateWindowStatistics(int from, int to);
    // Each component's smallest and largest value (and where each first occurs) over
    // consecutive groups of BucketSize filtered values: a span's candidate of largest
    // deviation is one of its extremes, so a redraw of a window of a million samples
    // reads the groups instead of every value.
    struct Extremes
    {
        Values min, max;
        std::array<qint64, ComponentCount> minAt, maxAt; // counted from the first result ever kept
    };
    static constexpr qint64 BucketSize = 64;
    std::deque<Extremes> m_Buckets;
    qint64 m_FirstBucket = 0; // the number of m_Buckets.front()
    qint64 m_Dropped = 0;     // the count of m_FilteredValues.front(), from the first result ever kept
    static Extremes l_NoExtremes();
    static void l_Widen(Extremes& extremes, const Values& values, qint64 at);
    void l_ClearFiltered();
    // The extremes of the filtered values `from` to `to` (indexes of m_FilteredValues).
    Extremes l_SpanExtremes(int from, int to) const;
    std::deque<double> m_Times;
    double m_T0 = 0;
    std::array<bool, ComponentCount> m_ComponentVisible;
    std::vector<Values> m_Series;
    std::vector<double> m_SeriesX;
    double m_Ratio = 1.0;
    bool m_NewData = false;
    bool m_KeepRange = false;
    double m_KeptFrom = 0;
    double m_KeptTo = 0;
    double m_LastXmin = 0;
    double m_LastXmax = 0;
    double m_WindowStart = 0;
    quint64 m_LastCount = 0;
    QTimer m_RedrawTimer;
    // The drawing and the per-block outputs (count, X extent), at most at the screen's pace.
    CDisplayPacer m_Pacer;

    quint64 m_MeasureResultCount = 0;
    double m_MeasureResultMinX = 0;
    double m_MeasureResultMaxX = 1.0;
    double m_MinDeltaAxisX = 0.1;
    QString m_XmaxDate;
    QString m_XminDate;
    QString m_XmaxTime;
    QString m_XminTime;
    int m_NbPointsAxeX = 401;
    int m_DownsampledSignalLength = 0;
    int m_XTickCount = 3;
    int m_YTickCount = 11;
    int m_NumberValidPoints = 0;

protected:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setMeasureResultCount(quint64 value);
    void setMeasureResultMinX(double value);
    void setMeasureResultMaxX(double value);
    void setMinDeltaAxisX(double value);
    void setXmaxDate(const QString& value);
    void setXminDate(const QString& value);
    void setXmaxTime(const QString& value);
    void setXminTime(const QString& value);

private:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setNbPointsAxeX(int value);
    void setDownsampledSignalLength(int value);
    void setXTickCount(int value);
    void setYTickCount(int value);
    void setNumberValidPoints(int value);
};
