#include "model/CDataset.h"

#include "model/CMeasurementParameters.h"
#include "model/TesvanaSetter.h"

CDataset::CDataset(CSettings& settings, QObject* parent) : QObject(parent), m_Settings(settings)
{
    connect(this, &CDataset::MeasurementParametersChanged, this, &CDataset::OnMeasurementParametersUpdated);
}

void CDataset::OnMeasurementParametersUpdated()
{
    emit MeasurementParametersUpdated(m_MeasurementParameters ? m_MeasurementParameters->Units()
                                                              : CUnits::UnitType::UNKNOWN);
}

void CDataset::AdoptMeasurementParameters(CMeasurementParameters* parameters)
{
    CMeasurementParameters* previous = m_LoadedParameters.data();
    if (parameters)
        parameters->setParent(this);
    m_LoadedParameters = parameters;
    setMeasurementParameters(parameters);
    if (previous && previous != parameters)
        previous->deleteLater();
}

void CDataset::l_ClearHeader()
{
    setComment(QString());
    setFilePath(QString());
    setInstrumentName(QString());
    setDate(QString());
    setResultsCount(0);
    setCleared(true);
}

void CDataset::setCleared(bool value)
{
    m_Cleared = value;
    emit ClearedChanged(value);
}

void CDataset::setMeasurementParameters(CMeasurementParameters* value)
{
    m_MeasurementParameters = value;
    emit MeasurementParametersChanged(value);
}

void CDataset::setInstrumentName(const QString& value)
{
    m_InstrumentName = value;
    emit InstrumentNameChanged(value);
}

void CDataset::setDate(const QString& value)
{
    m_Date = value;
    emit DateChanged(value);
}

void CDataset::setFilePath(const QString& value)
{
    m_FilePath = value;
    emit FilePathChanged(value);
}

TESVANA_SETTER(CDataset, const QString&, Comment)
TESVANA_SETTER(CDataset, qulonglong, ResultsCount)
