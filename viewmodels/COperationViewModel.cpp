#include "viewmodels/COperationViewModel.h"

#include "model/TesvanaSetter.h"

COperationViewModel::COperationViewModel(const QString& name, QObject* parent) : CPageViewModel(name, parent)
{
}

TESVANA_SETTER(COperationViewModel, CUnits::UnitType, DisplayUnits)
TESVANA_SETTER(COperationViewModel, CUnits::UnitType, DisplayUncertaintyUnits)
TESVANA_SETTER(COperationViewModel, int, SectionIndex)
