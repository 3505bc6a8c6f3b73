#pragma once

#include <QObject>

class CChart2DMappingData;
class CMeasureBlockData;

// The mapping page's data: the chart and the sample table.
class CMappingOperationDatasetViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CChart2DMappingData* Chart2DData READ Chart2DData CONSTANT)
    Q_PROPERTY(CMeasureBlockData* TableData READ TableData CONSTANT)

public:
    CMappingOperationDatasetViewModel(CChart2DMappingData* chart, CMeasureBlockData* table,
                                      QObject* parent = nullptr)
        : QObject(parent), m_pChart(chart), m_pTable(table)
    {
    }

    CChart2DMappingData* Chart2DData() const { return m_pChart; }
    CMeasureBlockData* TableData() const { return m_pTable; }

private:
    CChart2DMappingData* m_pChart;
    CMeasureBlockData* m_pTable;
};
