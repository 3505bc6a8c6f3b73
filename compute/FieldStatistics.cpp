#include "compute/FieldStatistics.h"

#include "compute/ComputationError.h"

#include <array>
#include <cmath>
#include <limits>

namespace KVL
{
namespace
{
// Units per tesla of each instrument unit; ADC (last) has no relation to the field.
constexpr std::array<double, 11> UnitsPerTesla = {1.0,      1000.0,   1000000.0,  1000000000.0,
                                                  10000.0,  10.0,     10000000.0, 42.576385,
                                                  795774.7, 795.7747, 795774700.0};

struct FactorTable
{
    double factor[eZRQ5520UnitsCount][eZRQ5520UnitsCount];
    FactorTable()
    {
        for (int from = 0; from < eZRQ5520UnitsCount; ++from)
        {
            for (int to = 0; to < eZRQ5520UnitsCount; ++to)
            {
                if (from == to)
                    factor[from][to] = 1.0;
                else if (from == eAdc || to == eAdc)
                    factor[from][to] = -1.0;
                else
                    // The single-precision value nearest k(to)/k(from), held as a double.
                    factor[from][to] =
                        double(float(UnitsPerTesla[std::size_t(to)] / UnitsPerTesla[std::size_t(from)]));
            }
        }
    }
};

const FactorTable& factors()
{
    static const FactorTable table;
    return table;
}
} // namespace

bool ComputeP2PValue(const CFluxList& series, float& result)
{
    result = 0;
    return RunComputation([&] {
        if (series.empty())
            throw FluxException("No signal", "ComputeP2PValue");
        float minimum = series.front();
        float maximum = series.front();
        for (const float value : series)
        {
            minimum = std::min(minimum, value);
            maximum = std::max(maximum, value);
        }
        result = maximum - minimum;
        return true;
    });
}

bool ComputeRMSValue(const CFluxList& series, float& result)
{
    result = 0;
    return RunComputation([&] {
        if (series.empty())
            throw FluxException("No signal", "ComputeRMSValue");
        double sum = 0;
        for (const float value : series)
            sum += double(value) * double(value);
        result = float(std::sqrt(sum / double(series.size())));
        return true;
    });
}

bool ComputeStdDevValue(const CFluxList& series, float& result)
{
    result = 0;
    return RunComputation([&] {
        if (series.size() < 2)
            throw FluxException("Need a signal with at least 2 samples", "ComputeStdDevValue");
        const float n = float(series.size());
        float sum = 0;
        for (const float value : series)
            sum += value;
        const float mean = sum / n;
        float deviations = 0;
        for (const float value : series)
            deviations += (value - mean) * (value - mean);
        result = std::sqrt(deviations / (n - 1.0f));
        return true;
    });
}

bool ComputeTotalField(const CFluxList& bx, const CFluxList& by, const CFluxList& bz, CFluxList& result)
{
    result.clear();
    return RunComputation([&] {
        if (bx.size() != by.size() || bx.size() != bz.size())
            throw FluxException("Field-component vectors are not of equal length", "ComputeTotalField");
        result.reserve(bx.size());
        for (std::size_t i = 0; i < bx.size(); ++i)
        {
            const double squares = double(by[i]) * by[i] + double(bx[i]) * bx[i] + double(bz[i]) * bz[i];
            result.push_back(float(std::sqrt(squares)));
        }
        return true;
    });
}

double UnitsConversionFactor(eZRQ5520Units from, eZRQ5520Units to)
{
    const int f = int(from);
    const int t = int(to);
    if (f < 0 || f >= eZRQ5520UnitsCount || t < 0 || t >= eZRQ5520UnitsCount)
        return f == t ? 1.0 : -1.0;
    return factors().factor[f][t];
}

bool ComputeUnitsConversion(eZRQ5520Units from, float value, eZRQ5520Units to, float& result)
{
    result = float(double(value) * UnitsConversionFactor(from, to));
    return true;
}

bool ComputeUnitsConversion(CUnits::UnitType from, float value, CUnits::UnitType to, float& result)
{
    return ComputeUnitsConversion(ConvertUnitsToZRQ5520(from), value, ConvertUnitsToZRQ5520(to), result);
}

bool AlmostEquals(double a, double b, double tolerance)
{
    return std::fabs(b - a) <= tolerance;
}

bool LesserThan(double a, double b, double margin)
{
    return std::fabs(a) <= std::fabs(b) - std::fabs(margin);
}

double TeslaToUnit(CUnits::UnitType unit)
{
    // Units without a code of their own (Hz, %, unknown) would otherwise pass for tesla.
    if (!IsFieldUnit(unit))
        return std::numeric_limits<double>::quiet_NaN();
    return UnitsConversionFactor(ConvertUnitsToZRQ5520(CUnits::UnitType::TESLA), ConvertUnitsToZRQ5520(unit));
}
} // namespace KVL
