#pragma once

#include "model/CFluxList.h"

#include <vector>

namespace KVL
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

enum eFigureOfMerit
{
    kRMS = 0,
    kPeakToPeak = 1,
    kStdDev = 2
};

// One figure per frequency band (0..f0, f0..f1, ...) of the signal sampled at
// fs, each band isolated by masking the spectrum and transforming back.
bool ComputeACFigureOfMeritPerBand(const CFluxList& signal, float sampleRate, std::vector<float> upperLimits,
                                   eFigureOfMerit figure, std::vector<float>& result);
} // namespace KVL
