#include "viewmodels/CMeterOperationDatasetViewModel.h"

CMeterOperationDatasetViewModel::CMeterOperationDatasetViewModel(CMeasureBlockData* table,
                                                                 CChart2DMeterData* chart, QObject* parent)
    : QObject(parent), m_pTable(table), m_pChart(chart)
{
}
