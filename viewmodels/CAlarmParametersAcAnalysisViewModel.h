#pragma once

#include "model/CAxis.h"
#include "viewmodels/CAlarmParametersSpectrumViewModel.h"

class CAlarmParametersAxis;

// The AC analysis page's alarm panel: the state, and which quantity's bands are
// checked against the limits file (B, B.B', Bx, By, Bz; no uncertainty).
class CAlarmParametersAcAnalysisViewModel : public CAlarmParametersSpectrumViewModel
{
    Q_OBJECT
    Q_PROPERTY(QList<CAxis::AxisType> Axis READ Axis CONSTANT)
    Q_PROPERTY(QStringList AxisNames READ AxisNames CONSTANT)
    Q_PROPERTY(int SelectedAxisIndex READ SelectedAxisIndex WRITE setSelectedAxisIndex NOTIFY
                   SelectedAxisIndexChanged)

public:
    explicit CAlarmParametersAcAnalysisViewModel(CAlarmParametersAxis* parameters, QObject* parent = nullptr);

    QList<CAxis::AxisType> Axis() const { return m_Axis; }
    QStringList AxisNames() const { return m_AxisNames; }
    int SelectedAxisIndex() const { return m_SelectedAxisIndex; }
    void setSelectedAxisIndex(int value);

public slots:
    void OnSelectedAxisIndexChanged(int index);

signals:
    void SelectedAxisIndexChanged(int value);

private:
    CAlarmParametersAxis* m_pAxis;
    QList<CAxis::AxisType> m_Axis;
    QStringList m_AxisNames;
    int m_SelectedAxisIndex = -1;
};
