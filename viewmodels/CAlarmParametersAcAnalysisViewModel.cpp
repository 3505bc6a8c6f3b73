#include "viewmodels/CAlarmParametersAcAnalysisViewModel.h"

#include "app/CUtils.h"
#include "model/CAlarmParametersAxis.h"

CAlarmParametersAcAnalysisViewModel::CAlarmParametersAcAnalysisViewModel(CAlarmParametersAxis* parameters,
                                                                         QObject* parent)
    : CAlarmParametersSpectrumViewModel(parameters, parent),
      m_pAxis(parameters), m_Axis{CAxis::AxisType::B, CAxis::AxisType::BBprime, CAxis::AxisType::Bx,
                                  CAxis::AxisType::By, CAxis::AxisType::Bz}
{
    for (const CAxis::AxisType axis : qAsConst(m_Axis))
        m_AxisNames << CUtils::AxisStateToStringUTF(axis);
    m_SelectedAxisIndex = m_AxisNames.indexOf(CUtils::AxisStateToStringUTF(m_pAxis->Axis()));
    connect(this, &CAlarmParametersAcAnalysisViewModel::SelectedAxisIndexChanged, this,
            &CAlarmParametersAcAnalysisViewModel::OnSelectedAxisIndexChanged);
    // Follows its parameters whenever they change (a parameter file loaded, say).
    connect(m_pAxis, &CAlarmParametersAxis::AxisChanged, this,
            [this](CAxis::AxisType axis) { setSelectedAxisIndex(m_Axis.indexOf(axis)); });
}

void CAlarmParametersAcAnalysisViewModel::setSelectedAxisIndex(int value)
{
    if (m_SelectedAxisIndex == value)
        return;
    m_SelectedAxisIndex = value;
    emit SelectedAxisIndexChanged(value);
}

void CAlarmParametersAcAnalysisViewModel::OnSelectedAxisIndexChanged(int index)
{
    if (index >= 0 && index < m_Axis.size())
        m_pAxis->setAxis(m_Axis.at(index));
}
