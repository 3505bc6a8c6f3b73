#include "operations/CAxisStepSeries.h"

#include "model/TesvanaSetter.h"

CAxisStepSeries::CAxisStepSeries(QObject* parent) : QObject(parent)
{
    connect(this, &CAxisStepSeries::StartChanged, this, &CAxisStepSeries::OnUpdated);
    connect(this, &CAxisStepSeries::StopChanged, this, &CAxisStepSeries::OnUpdated);
    connect(this, &CAxisStepSeries::StepSizeChanged, this, &CAxisStepSeries::OnUpdated);
}

void CAxisStepSeries::OnUpdated()
{
    emit Updated();
}

TESVANA_SETTER(CAxisStepSeries, double, Start)
TESVANA_SETTER(CAxisStepSeries, double, Stop)
TESVANA_SETTER(CAxisStepSeries, double, StepSize)
