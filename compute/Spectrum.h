#pragma once

#include "model/CFluxList.h"

#include <vector>

// Amplitude spectrum of one axis of a block, and the peaks of a spectrum.
namespace KVL
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

// floor(n/2) + 1 amplitudes (2/n)|X[k]| of the sin^2-windowed signal.
bool ComputeSpectrum(const CFluxList& signal, CFluxList& spectrum);
// Peaks above median * 10^(threshold/20), refined by a parabola through each run's maximum.
bool ComputeSpectralPeaks(const CFluxList& spectrum, float binWidth, float thresholdDb,
                          std::vector<float>& frequencies, std::vector<float>& amplitudes);
// The peaks of the spectrum at or above `minFrequency` (Hz): the peak list of a page
// whose window starts there. False when the peaks cannot be computed (none are given).
bool ComputeSpectralPeaksFrom(const CFluxList& spectrum, float binWidth, float thresholdDb,
                              double minFrequency, std::vector<float>& frequencies,
                              std::vector<float>& amplitudes);
} // namespace KVL
