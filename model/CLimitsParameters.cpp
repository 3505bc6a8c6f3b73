#include "model/CLimitsParameters.h"

#include "model/TesvanaSetter.h"

CLimitsParameters::CLimitsParameters(QObject* parent) : QObject(parent) {}

void CLimitsParameters::setLimitsFilePath(const QString& value)
{
    m_LimitsFilePath = value;
    emit LimitsFilePathChanged(value);
}

TESVANA_SETTER(CLimitsParameters, const QString&, LimitsFileName)
