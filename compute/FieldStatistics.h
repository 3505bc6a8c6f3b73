#pragma once

#include "model/CFluxList.h"
#include "model/CUnits.h"

// Scalar statistics of a series, the total field, unit conversion and the
// tolerant comparisons. Every computation returns a success flag; a bad input
// is reported on the standard error stream and never escapes as an exception.
namespace KVL
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

bool ComputeP2PValue(const CFluxList& series, float& result);
bool ComputeRMSValue(const CFluxList& series, float& result);
bool ComputeStdDevValue(const CFluxList& series, float& result);
bool ComputeTotalField(const CFluxList& bx, const CFluxList& by, const CFluxList& bz, CFluxList& result);
bool ComputeUnitsConversion(eZRQ5520Units from, float value, eZRQ5520Units to, float& result);
bool ComputeUnitsConversion(CUnits::UnitType from, float value, CUnits::UnitType to, float& result);
// The number of `unit` in one tesla; NaN for a unit that is not of the field.
double TeslaToUnit(CUnits::UnitType unit);
// factor(from, to) of the conversion table: -1 between ADC and the field units.
double UnitsConversionFactor(eZRQ5520Units from, eZRQ5520Units to);
bool AlmostEquals(double a, double b, double tolerance);
bool LesserThan(double a, double b, double margin);
} // namespace KVL
