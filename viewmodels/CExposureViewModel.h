#pragma once

#include "compute/CExposureAssessment.h"
#include "compute/CExposureWindow.h"

#include <QObject>
#include <QString>

#include <limits>

class CMeasureBlock;
class LimitsXmlFile;

// The exposure of the newest (or replayed) block against the limits in force: the
// summation index, the weighted peak index when the limits are a standard's, the
// frequency that adds most, and the largest indices since the last reset. Shown by
// the spectrum and AC analysis pages beside their limits; the computations are
// KVL::CExposureAssessment's. Outputs only, but for resetMaxima().
class CExposureViewModel : public QObject
{
    Q_OBJECT
    // The standard the limits follow ("ICNIRP 2010 general public"), or the limits
    // file's name; empty without limits.
    Q_PROPERTY(QString LimitsName READ LimitsName NOTIFY ExposureChanged)
    Q_PROPERTY(bool Applies READ Applies NOTIFY ExposureChanged)
    // Only a standard's curve gives the weighting filter.
    Q_PROPERTY(bool WeightedPeakOffered READ WeightedPeakOffered NOTIFY ExposureChanged)
    // NaN when there is nothing to show.
    Q_PROPERTY(double SummationIndex READ SummationIndex NOTIFY ExposureChanged)
    Q_PROPERTY(double WeightedPeakIndex READ WeightedPeakIndex NOTIFY ExposureChanged)
    Q_PROPERTY(double DominantFrequency READ DominantFrequency NOTIFY ExposureChanged)
    Q_PROPERTY(double MaxSummationIndex READ MaxSummationIndex NOTIFY ExposureChanged)
    Q_PROPERTY(double MaxWeightedPeakIndex READ MaxWeightedPeakIndex NOTIFY ExposureChanged)
    // Any index, newest or largest, above 1: the limits are exceeded.
    Q_PROPERTY(bool Exceeded READ Exceeded NOTIFY ExposureChanged)

public:
    explicit CExposureViewModel(const LimitsXmlFile* limits, QObject* parent = nullptr);

    QString LimitsName() const { return m_LimitsName; }
    bool Applies() const { return m_Applies; }
    bool WeightedPeakOffered() const
    {
        return m_Assessment.GetStandard() != KVL::CExposureAssessment::Standard::None;
    }
    double SummationIndex() const { return m_Newest.Summation; }
    double WeightedPeakIndex() const { return m_Newest.WeightedPeak; }
    double DominantFrequency() const { return m_Newest.DominantFrequency; }
    double MaxSummationIndex() const { return m_MaxSummation; }
    double MaxWeightedPeakIndex() const { return m_MaxWeightedPeak; }
    bool Exceeded() const;

    // The display names of the standards.

    // Takes the limits again (loaded, cleared or converted to another unit): the
    // indices and their maxima start over.
    void Refresh(const QString& fileName);
    // The indices of about the last second of the field ending with `block` (joined to
    // the blocks before it when they follow on; see KVL::CExposureWindow), sampled at
    // `rate` Hz, assessed again after each quarter of that window. Null: none shown.
    void Assess(const CMeasureBlock* block, double rate);

    Q_INVOKABLE void resetMaxima();

signals:
    void ExposureChanged();

private:
    const LimitsXmlFile* m_pLimits;
    KVL::CExposureAssessment m_Assessment;
    KVL::CExposureWindow m_Window;
    KVL::CExposureAssessment::Result m_Newest;
    QString m_LimitsName;
    bool m_Applies = false;
    double m_MaxSummation = std::numeric_limits<double>::quiet_NaN();
    double m_MaxWeightedPeak = std::numeric_limits<double>::quiet_NaN();
};
