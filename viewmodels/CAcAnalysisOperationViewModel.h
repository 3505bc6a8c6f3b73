#pragma once

#include "viewmodels/CMeasurementOperationViewModel.h"

#include <QSharedPointer>
#include <QStringList>

class CAcAnalysisOperationDatasetViewModel;
class CAlarmParametersAcAnalysisViewModel;
class CChart2DAcAnalysisData;
class CFrequencyTableData;
class CMeasurementParametersViewModel;
class CDisplayPacer;

// The AC analysis page: one figure of merit per quantity and block over time, and
// the newest block's figures per band of the limits file, with the alarm when a
// band exceeds its limit.
class CAcAnalysisOperationViewModel : public CMeasurementOperationViewModel
{
    Q_OBJECT
    Q_PROPERTY(QStringList FigureOfMeritNames READ FigureOfMeritNames CONSTANT)
    Q_PROPERTY(int SelectedFigureOfMeritIndex READ SelectedFigureOfMeritIndex WRITE
                   setSelectedFigureOfMeritIndex NOTIFY SelectedFigureOfMeritIndexChanged)
    Q_PROPERTY(CMeasurementParametersViewModel* MeasurementParametersViewModel READ
                   MeasurementParametersViewModel CONSTANT)
    Q_PROPERTY(
        CAlarmParametersAcAnalysisViewModel* AlarmParametersViewModel READ AlarmParametersViewModel CONSTANT)
    Q_PROPERTY(CAcAnalysisOperationDatasetViewModel* AcAnalysisOperationDatasetViewModel READ
                   AcAnalysisOperationDatasetViewModel CONSTANT)

public:
    CAcAnalysisOperationViewModel(CSettings& settings, COperationMeasure* operation,
                                  QObject* parent = nullptr);

    QStringList FigureOfMeritNames() const { return m_FigureOfMeritNames; }
    int SelectedFigureOfMeritIndex() const { return m_SelectedFigureOfMeritIndex; }
    void setSelectedFigureOfMeritIndex(int value);
    CMeasurementParametersViewModel* MeasurementParametersViewModel() const { return m_pMeasurement; }
    CAlarmParametersAcAnalysisViewModel* AlarmParametersViewModel() const { return m_pAlarm; }
    CAcAnalysisOperationDatasetViewModel* AcAnalysisOperationDatasetViewModel() const { return m_pDataset; }
    CChart2DAcAnalysisData* Chart() const { return m_pChart; }
    CFrequencyTableData* Table() const { return m_pTable; }

    Q_INVOKABLE void setDefaultParameters() override;
    bool DefaultParametersOffered() const override { return true; }

public slots:
    QString HelpPath() override;
    void OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock);
    void OnOperationParameterUnitChanged();
    void OnDataSetCleared();
    void OnPlayingBackChanged(bool isPlayingBack);
    void OnSelectedFigureOfMeritIndexChanged();
    void OnLimitFileLoaded(bool isFileLoaded);
    void OnDatasetLoaded();

signals:
    void SelectedFigureOfMeritIndexChanged(int value);

private:
    void l_ComputeTable();
    // The block the page shows: the newest, or the one replayed or stepped to.
    QSharedPointer<CMeasureBlock> l_CurrentBlock() const;
    void l_CheckRange();
    void l_Replot();

    CFrequencyTableData* m_pTable;
    CChart2DAcAnalysisData* m_pChart;
    CAcAnalysisOperationDatasetViewModel* m_pDataset;
    CAlarmParametersAcAnalysisViewModel* m_pAlarm;
    CMeasurementParametersViewModel* m_pMeasurement;
    CDisplayPacer* m_pTablePacer;
    QStringList m_FigureOfMeritNames;
    int m_SelectedFigureOfMeritIndex = 0;
    bool m_FullRedrawPending = false;
};
