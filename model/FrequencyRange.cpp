#include "model/FrequencyRange.h"

#include "model/TesvanaSetter.h"

FrequencyRange::FrequencyRange(QObject* parent) : QObject(parent) {}

TESVANA_SETTER(FrequencyRange, double, UpperFrequencyLimitValue)
TESVANA_SETTER(FrequencyRange, CUnits::UnitType, UpperFrequencyLimitUnit)
TESVANA_SETTER(FrequencyRange, double, ExposureLimitValue)
TESVANA_SETTER(FrequencyRange, CUnits::UnitType, ExposureLimitUnit)
