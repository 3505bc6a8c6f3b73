#pragma once

#include "model/CFluxList.h"
#include "viewmodels/CMeasurementOperationViewModel.h"

#include <QSharedPointer>
#include <QStringList>

class CAlarmParametersSpectrumViewModel;
class CChart2DSpectrumData;
class CFrequencyPeakListData;
class CMeasurementParametersViewModel;
class CSpectrumOperationDatasetViewModel;
class CDisplayPacer;

// The spectrum page: the amplitude spectrum of one quantity of the newest block,
// its peaks with the exposure limit at each, and the alarm when a bin crosses the
// limits file.
class CSpectrumOperationViewModel : public CMeasurementOperationViewModel
{
    Q_OBJECT
    Q_PROPERTY(QStringList FieldNames READ FieldNames CONSTANT)
    Q_PROPERTY(int SelectedFieldIndex READ SelectedFieldIndex WRITE setSelectedFieldIndex NOTIFY
                   SelectedFieldIndexChanged)
    Q_PROPERTY(double Threshold READ Threshold WRITE setThreshold NOTIFY ThresholdChanged)
    Q_PROPERTY(CMeasurementParametersViewModel* MeasurementParametersViewModel READ
                   MeasurementParametersViewModel CONSTANT)
    Q_PROPERTY(
        CAlarmParametersSpectrumViewModel* AlarmParametersViewModel READ AlarmParametersViewModel CONSTANT)
    Q_PROPERTY(CSpectrumOperationDatasetViewModel* SpectrumOperationDatasetViewModel READ
                   SpectrumOperationDatasetViewModel CONSTANT)

public:
    CSpectrumOperationViewModel(CSettings& settings, COperationMeasure* operation, QObject* parent = nullptr);

    QStringList FieldNames() const { return m_FieldNames; }
    int SelectedFieldIndex() const { return m_SelectedFieldIndex; }
    double Threshold() const { return m_Threshold; }
    void setSelectedFieldIndex(int value);
    void setThreshold(double value);
    CMeasurementParametersViewModel* MeasurementParametersViewModel() const { return m_pMeasurement; }
    CAlarmParametersSpectrumViewModel* AlarmParametersViewModel() const { return m_pAlarm; }
    CSpectrumOperationDatasetViewModel* SpectrumOperationDatasetViewModel() const { return m_pDataset; }
    CChart2DSpectrumData* Chart() const { return m_pChart; }
    CFrequencyPeakListData* Table() const { return m_pTable; }

    Q_INVOKABLE void loadData();
    Q_INVOKABLE void unloadData();
    Q_INVOKABLE void setDefaultParameters() override;
    bool DefaultParametersOffered() const override { return true; }

public slots:
    QString HelpPath() override;
    void OnNewMeasure(const QSharedPointer<CMeasureBlock>& measureBlock);
    void OnOperationParameterUnitChanged();
    void OnDataSetCleared();
    void OnPlayingBackChanged(bool isPlayingBack);
    void OnSelectedFieldIndexChanged();
    void OnThresholdChanged();
    void OnLimitsFileLoaded();
    void OnLimitsFileConverted();
    void OnDatasetLoaded();

signals:
    void SelectedFieldIndexChanged(int value);
    void ThresholdChanged(double value);

protected:
    QString ChartTitle() const override;

private:
    // The chart and the peaks of `block`.
    void l_Draw(const QSharedPointer<CMeasureBlock>& block);
    // l_Draw, the exposure and the alarm: a block shown on its own (not from the live stream).
    void l_Show(const QSharedPointer<CMeasureBlock>& block);
    void l_ComputePeaks();
    void l_CheckLimit(const KVL::Instrument::ZRQ5520Types::CFluxList& spectrum, double df);
    QSharedPointer<CMeasureBlock> l_CurrentBlock() const;

    CChart2DSpectrumData* m_pChart;
    CFrequencyPeakListData* m_pTable;
    CSpectrumOperationDatasetViewModel* m_pDataset;
    CAlarmParametersSpectrumViewModel* m_pAlarm;
    CMeasurementParametersViewModel* m_pMeasurement;
    CDisplayPacer* m_pPacer;
    QStringList m_FieldNames;
    int m_SelectedFieldIndex = 1;
    double m_Threshold = 10.0;
};
