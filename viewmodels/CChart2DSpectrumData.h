#pragma once

#include "model/CFluxList.h"
#include "viewmodels/CChart2D.h"

#include <utility>
#include <vector>

class CMeasureBlock;
class CMeasurementParameters;
class COperationMeasure;

// The amplitude spectrum of one quantity of a block, downsampled over frequency
// to at most NbPointsAxeX points that keep the bins deviating most, with a Y
// range that also takes in the limits file.
class CChart2DSpectrumData : public CChart2D
{
    Q_OBJECT
    Q_PROPERTY(double MaxSpectrum READ MaxSpectrum NOTIFY MaxSpectrumChanged)
    Q_PROPERTY(double MinSpectrum READ MinSpectrum NOTIFY MinSpectrumChanged)
    Q_PROPERTY(double MaxFrequency READ MaxFrequency NOTIFY MaxFrequencyChanged)
    Q_PROPERTY(double MinFrequency READ MinFrequency NOTIFY MinFrequencyChanged)
    Q_PROPERTY(int NbPointsAxeX READ NbPointsAxeX CONSTANT)
    Q_PROPERTY(int DownsampledSignalLength READ DownsampledSignalLength NOTIFY DownsampledSignalLengthChanged)

public:
    explicit CChart2DSpectrumData(COperationMeasure* operation, QObject* parent = nullptr);

    double MaxSpectrum() const { return m_MaxSpectrum; }
    double MinSpectrum() const { return m_MinSpectrum; }
    double MaxFrequency() const { return m_MaxFrequency; }
    double MinFrequency() const { return m_MinFrequency; }
    int NbPointsAxeX() const { return m_NbPointsAxeX; }
    static constexpr int MaximumPoints = 401;
    int DownsampledSignalLength() const { return m_DownsampledSignalLength; }

    // The parameters the blocks were measured with (the operation's, or a loaded file's).
    void setMeasurementParameters(CMeasurementParameters* parameters);
    // Spectrum of quantity fieldIndex (0 B, 1 B.B', 2 Bx, 3 By, 4 Bz) of the block.
    void Plot(const CMeasureBlock& block, int fieldIndex);
    const KVL::Instrument::ZRQ5520Types::CFluxList& GetSpectrum() const { return m_Spectrum; }
    // Width of a bin: the acquisition rate over the block's own length.
    double DeltaFrequency() const { return m_DeltaFrequency; }
    void UpdateDownsampling();
    void UpdatePlot();
    void UpdateYMinMax();
    // The Y range for a spectrum between minimum and maximum, taking in the limit
    // values (smallest, largest) when a limits file is loaded.
    static std::pair<double, double> YRange(double minimum, double maximum, bool limitsLoaded,
                                            double smallestLimit, double largestLimit);
    void UpdateBoundaries();
    void Clear();
    double PointFrequency(int row) const { return m_X[std::size_t(row)]; }
    float PointAmplitude(int row) const { return m_Y[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Hands the plotted points to a chart series in one replacement, and the Y range to
    // the chart's axisY.
    Q_INVOKABLE void updateSeries(QObject* series, QObject* axisY) const;
    // The limits file as a step line over the shown frequencies (empty without one).
    Q_INVOKABLE void updateLimitSeries(QObject* series) const;
    Q_INVOKABLE void refreshAxisX(double axeXMin, double axeXMax);

signals:
    void MaxSpectrumChanged(double value);
    void MinSpectrumChanged(double value);
    void MaxFrequencyChanged(double value);
    void MinFrequencyChanged(double value);
    void DownsampledSignalLengthChanged(int value);
    // The plotted points changed: series must be refreshed.
    void seriesUpdated();

private:
    void l_Set(double& member, double value, void (CChart2DSpectrumData::*signal)(double));
    void l_SetLength(int value);
    double l_FrequencyMax() const;

    const int m_NbPointsAxeX = MaximumPoints;
    COperationMeasure* m_pOperation;
    CMeasurementParameters* m_pParameters;
    KVL::Instrument::ZRQ5520Types::CFluxList m_Spectrum;
    KVL::Instrument::ZRQ5520Types::CFluxList m_Series;
    std::vector<double> m_X;
    std::vector<float> m_Y;
    double m_DeltaFrequency = 0;
    double m_MaxSpectrum = 1.0;
    double m_MinSpectrum = 1.0;
    double m_MaxFrequency = 10.0;
    double m_MinFrequency = 0;
    int m_DownsampledSignalLength = 0;
};
