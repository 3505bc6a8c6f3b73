#pragma once

#include "model/CAlarmParametersAcAnalysis.h"
#include "model/CAlarmParametersMapping.h"
#include "model/CAlarmParametersMeter.h"
#include "model/CAlarmParametersSpectrum.h"
#include "model/CLimitsParameters.h"
#include "model/CMeasurementParameters.h"
#include "model/CReplayParameters.h"
#include "operations/CMappingParameters.h"

#include <QObject>

// Everything the user can set for one operation; the members live exactly as long as the container.
class COperationParameters : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CMeasurementParameters* MeasurementParameters READ MeasurementParameters CONSTANT)
    Q_PROPERTY(CMappingParameters* MappingParameters READ MappingParameters CONSTANT)
    Q_PROPERTY(CLimitsParameters* LimitsParameters READ LimitsParameters CONSTANT)
    Q_PROPERTY(CReplayParameters* ReplayParameters READ ReplayParameters CONSTANT)
    Q_PROPERTY(CAlarmParametersMeter* AlarmParametersMeter READ AlarmParametersMeter CONSTANT)
    Q_PROPERTY(CAlarmParametersSpectrum* AlarmParametersSpectrum READ AlarmParametersSpectrum CONSTANT)
    Q_PROPERTY(CAlarmParametersAcAnalysis* AlarmParametersAcAnalysis READ AlarmParametersAcAnalysis CONSTANT)
    Q_PROPERTY(CAlarmParametersMapping* AlarmParametersMapping READ AlarmParametersMapping CONSTANT)
public:
    explicit COperationParameters(QObject* parent = nullptr);

    CMeasurementParameters* MeasurementParameters() { return &m_MeasurementParameters; }
    CMappingParameters* MappingParameters() { return &m_MappingParameters; }
    CLimitsParameters* LimitsParameters() { return &m_LimitsParameters; }
    CReplayParameters* ReplayParameters() { return &m_ReplayParameters; }
    CAlarmParametersMeter* AlarmParametersMeter() { return &m_AlarmParametersMeter; }
    CAlarmParametersSpectrum* AlarmParametersSpectrum() { return &m_AlarmParametersSpectrum; }
    CAlarmParametersAcAnalysis* AlarmParametersAcAnalysis() { return &m_AlarmParametersAcAnalysis; }
    CAlarmParametersMapping* AlarmParametersMapping() { return &m_AlarmParametersMapping; }

private:
    CMeasurementParameters m_MeasurementParameters;
    CMappingParameters m_MappingParameters;
    CLimitsParameters m_LimitsParameters;
    CReplayParameters m_ReplayParameters;
    CAlarmParametersMeter m_AlarmParametersMeter;
    CAlarmParametersSpectrum m_AlarmParametersSpectrum;
    CAlarmParametersAcAnalysis m_AlarmParametersAcAnalysis;
    CAlarmParametersMapping m_AlarmParametersMapping;
};
