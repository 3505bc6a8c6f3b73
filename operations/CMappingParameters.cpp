#include "operations/CMappingParameters.h"

#include "model/TesvanaSetter.h"

CMappingParameters::CMappingParameters(QObject* parent) : QObject(parent) {}

void CMappingParameters::SignalMappingSourceChanged()
{
    emit SourceChanged();
}

TESVANA_SETTER(CMappingParameters, CMapperPlugin*, SelectedMapper)
TESVANA_SETTER(CMappingParameters, CMapperPositionSource*, MapperSource)
