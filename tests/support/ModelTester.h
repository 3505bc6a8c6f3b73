#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>

// Every change of `model` checked for as long as it lives: rows, columns, parents,
// indexes and data stay consistent with what its signals announced, or the test fails.
inline void checkModel(QAbstractItemModel* model)
{
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}
