#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>
#include <vector>

class CMeasureBlock;
class LimitsXmlFile;

// The figure of merit of B, B.B', Bx, By and Bz in each band of a limits file (one
// band up to half the acquisition rate without one), with each band's text and
// limit: what the AC analysis page's table shows and `tesvana-cli ac` reports.
class CBandTable
{
    Q_DECLARE_TR_FUNCTIONS(CBandTable)

public:
    // `limits` (not owned) gives the bands.
    explicit CBandTable(const LimitsXmlFile* limits) : m_pLimits(limits) {}

    // The figures of `block` (null or empty: no band) measured at `sampleRate`. False,
    // with no band and the reason in `error`, when the rate is not a positive number
    // or the bands cannot be computed.
    bool Compute(const CMeasureBlock* block, double sampleRate, int figureIndex, QString* error = nullptr);
    void Clear();
    int Bands() const { return int(m_Figures[0].size()); }
    // The bands of the limits file not listed, all above half the rate, and where they start
    // (0 when every band is listed).
    int BandsAboveRange() const;
    double AboveRangeFrom() const;
    QString BandText(int row) const;
    // Figure of quantity q (0 B .. 4 Bz) in band `row`.
    float Figure(int quantity, int row) const { return m_Figures[std::size_t(quantity)][std::size_t(row)]; }
    // The band's limit; 0 without a limits file.
    double ExposureLimit(int row) const;

private:
    const LimitsXmlFile* m_pLimits;
    std::array<std::vector<float>, 5> m_Figures;
    double m_SampleRate = 0;
};
