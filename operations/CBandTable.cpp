#include "operations/CBandTable.h"

#include "compute/FigureOfMerit.h"
#include "files/LimitsXmlFile.h"
#include "model/CMeasureBlock.h"

#include <cmath>

bool CBandTable::Compute(const CMeasureBlock* block, double sampleRate, int figureIndex, QString* error)
{
    decltype(m_Figures) figures;
    std::vector<float> upperLimits;
    const bool rateKnown = sampleRate > 0 && std::isfinite(sampleRate) && std::isfinite(float(sampleRate));
    if (block && !block->Results.isEmpty() && !rateKnown)
    {
        // Bands of a rate that is no number would all read 0, as if nothing were there.
        Clear();
        m_SampleRate = sampleRate;
        if (error)
            *error = tr("The acquisition rate (%1 Hz) is not a positive number: no band can be computed")
                         .arg(sampleRate);
        return false;
    }
    if (block && !block->Results.isEmpty())
    {
        // Bands wholly above half the rate hold nothing this block can show: listed, they
        // would be rows of zeros (82 of them for ICNIRP limits at 200 Hz). The band that
        // holds half the rate is the last.
        const double nyquist = sampleRate * 0.5;
        for (const QSharedPointer<FrequencyRange>& range : m_pLimits->Limits())
        {
            upperLimits.push_back(float(range->UpperFrequencyLimitValue()));
            if (range->UpperFrequencyLimitValue() >= nyquist)
                break;
        }
        if (upperLimits.empty())
            upperLimits.push_back(float(sampleRate * 0.5));
        KVL::Instrument::ZRQ5520Types::CFluxList series;
        series.reserve(std::size_t(block->Results.size()));
        for (std::size_t q = 0; q < figures.size(); ++q)
        {
            series.clear();
            for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block->Results))
            {
                const float values[] = {sample->B(), sample->BBprime(), sample->Bx(), sample->By(),
                                        sample->Bz()};
                series.push_back(values[q]);
            }
            // A failed computation (a block of one sample) shows zeros, never a short row.
            if (!KVL::ComputeACFigureOfMeritPerBand(series, float(sampleRate), upperLimits,
                                                    KVL::eFigureOfMerit(figureIndex), figures[q]))
                figures[q].assign(upperLimits.size(), 0.0f);
        }
    }
    m_Figures.swap(figures);
    m_SampleRate = sampleRate;
    return true;
}

void CBandTable::Clear()
{
    for (auto& figures : m_Figures)
        figures.clear();
}

int CBandTable::BandsAboveRange() const
{
    const int limits = m_pLimits->Limits().size();
    return Bands() > 0 && limits > Bands() ? limits - Bands() : 0;
}

double CBandTable::AboveRangeFrom() const
{
    return BandsAboveRange() > 0 ? m_pLimits->Limits().at(Bands() - 1)->UpperFrequencyLimitValue() : 0.0;
}

QString CBandTable::BandText(int row) const
{
    const auto& limits = m_pLimits->Limits();
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    if (limits.isEmpty())
        return QStringLiteral("0-") + number(m_SampleRate * 0.5);
    if (row == 0)
        return QStringLiteral("0-") + number(limits.first()->UpperFrequencyLimitValue());
    return number(limits.at(row - 1)->UpperFrequencyLimitValue()) + QLatin1Char('-') +
           number(limits.at(row)->UpperFrequencyLimitValue());
}

double CBandTable::ExposureLimit(int row) const
{
    const auto& limits = m_pLimits->Limits();
    return row >= 0 && row < limits.size() ? limits.at(row)->ExposureLimitValue() : 0.0;
}
