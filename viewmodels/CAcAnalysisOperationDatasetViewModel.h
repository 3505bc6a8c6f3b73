#pragma once

#include <QObject>

class CChart2DAcAnalysisData;
class CFrequencyTableData;

// The AC analysis page's data: the band table and the figure-of-merit chart.
class CAcAnalysisOperationDatasetViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CFrequencyTableData* TableData READ TableData CONSTANT)
    Q_PROPERTY(CChart2DAcAnalysisData* Chart2DData READ Chart2DData CONSTANT)

public:
    CAcAnalysisOperationDatasetViewModel(CFrequencyTableData* table, CChart2DAcAnalysisData* chart,
                                         QObject* parent = nullptr)
        : QObject(parent), m_pTable(table), m_pChart(chart)
    {
    }

    CFrequencyTableData* TableData() const { return m_pTable; }
    CChart2DAcAnalysisData* Chart2DData() const { return m_pChart; }

private:
    CFrequencyTableData* m_pTable;
    CChart2DAcAnalysisData* m_pChart;
};
