#pragma once

#include <QObject>

class CMeasureBlockData;
class CChart2DMeterData;

// The meter page's data: the sample table and the time-series chart.
class CMeterOperationDatasetViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CMeasureBlockData* TableData READ TableData CONSTANT)
    Q_PROPERTY(CChart2DMeterData* Chart2DData READ Chart2DData CONSTANT)
public:
    CMeterOperationDatasetViewModel(CMeasureBlockData* table, CChart2DMeterData* chart,
                                    QObject* parent = nullptr);

    CMeasureBlockData* TableData() const { return m_pTable; }
    CChart2DMeterData* Chart2DData() const { return m_pChart; }

private:
    CMeasureBlockData* m_pTable;
    CChart2DMeterData* m_pChart;
};
