#pragma once

#include "compute/CExposureAssessment.h"

#include <vector>

class CMeasureBlock;

namespace KVL
{
// The field of about the last second, ending with the newest block, for the
// exposure assessment: one short block (10 ms at 100 kHz) cannot tell 50 Hz from
// 100 Hz, so consecutive blocks are joined; a gap in time or a step back (another
// run, a replay stepped elsewhere) starts the window anew.
class CExposureWindow
{
public:
    // Assessed again each time 1/`hops` of the window came in: 4 for a display that
    // follows the field; 2 is the least that sees every sample in the untapered middle
    // of some assessment (the weighting tapers a quarter at each end).
    explicit CExposureWindow(int hops = 4) : m_Hops(hops) {}

    void Reset();
    // Joins `block` (sampled at `rate` Hz); true when the window is due for an
    // assessment: it started anew, or 1/hops of it came in since the last one.
    bool Append(const CMeasureBlock& block, double rate);
    // The indices of the window (the newest Capacity() samples); false without samples.
    bool Assess(CExposureAssessment& assessment, CExposureAssessment::Result& result);
    // At least the newest block; else a power of two near one second's samples, at most 65,536.
    int Capacity() const { return m_Capacity; }
    int Size() const { return int(m_X.size()) - m_Start; }
    // The stretch the last Assess took: its sample count, and the time (seconds since
    // the epoch) of its newest sample.
    int AssessedCount() const { return m_Assessed; }
    double NewestTime() const { return m_LastTime; }

private:
    int m_Hops;
    std::vector<float> m_X, m_Y, m_Z;
    int m_Start = 0; // samples before this one have left the window
    int m_Capacity = 0;
    int m_BlockSize = 0;
    int m_SinceAssessed = 0;
    int m_Assessed = 0;
    bool m_Fresh = true;
    double m_Rate = 0;
    double m_LastTime = 0; // seconds, of the newest sample
};
} // namespace KVL
