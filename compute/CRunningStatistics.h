#pragma once

#include <QtGlobal>

// The figures of a series given one value at a time, for series larger than memory:
// RMS, peak-to-peak, standard deviation (of a sample, n − 1), minimum and maximum, as
// the whole-series computations give them within rounding (here in double precision).
// Without values RMS, peak-to-peak and deviation are 0, as those give them; the
// deviation of a single value too.
class CRunningStatistics
{
public:
    void Add(float value);
    quint64 Count() const { return m_Count; }
    double Mean() const { return m_Mean; }
    float Rms() const;
    float PeakToPeak() const;
    float StdDev() const;
    float Min() const { return m_Min; }
    float Max() const { return m_Max; }

private:
    quint64 m_Count = 0;
    double m_SumOfSquares = 0;
    // Welford's running mean and sum of squared deviations: no cancellation over millions.
    double m_Mean = 0;
    double m_Deviations = 0;
    float m_Min = 0;
    float m_Max = 0;
};
