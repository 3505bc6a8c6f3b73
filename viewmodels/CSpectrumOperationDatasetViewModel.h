#pragma once

#include <QObject>

class CChart2DSpectrumData;
class CFrequencyPeakListData;

// The spectrum page's data: the spectrum chart and the peak table.
class CSpectrumOperationDatasetViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CChart2DSpectrumData* FFTChart2DData READ FFTChart2DData CONSTANT)
    Q_PROPERTY(CFrequencyPeakListData* TableData READ TableData CONSTANT)

public:
    CSpectrumOperationDatasetViewModel(CChart2DSpectrumData* chart, CFrequencyPeakListData* table,
                                       QObject* parent = nullptr)
        : QObject(parent), m_pChart(chart), m_pTable(table)
    {
    }

    CChart2DSpectrumData* FFTChart2DData() const { return m_pChart; }
    CFrequencyPeakListData* TableData() const { return m_pTable; }

private:
    CChart2DSpectrumData* m_pChart;
    CFrequencyPeakListData* m_pTable;
};
