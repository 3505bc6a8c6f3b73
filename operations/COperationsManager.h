#pragma once

#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"

#include <QObject>

// Owns the two operations and switches the active one, handing its
// measurement parameters to the active instrument.
class COperationsManager : public QObject
{
    Q_OBJECT
public:
    COperationsManager(CSettings& settings, CPluginsManager& plugins, CInstrumentSupervisor& supervisor,
                       QObject* parent = nullptr);

    COperationMeasure* MeasureOperation() { return &m_OperationMeasure; }
    COperationMapping* MappingOperation() { return &m_OperationMapping; }

    Q_INVOKABLE void setActiveOperation(COperation* operation);
    Q_INVOKABLE void clearActiveOperation();
    Q_INVOKABLE COperation* getActiveOperation() const { return m_pActiveOperation; }
    Q_INVOKABLE bool exitActiveOperationAllowed(COperation* next);
    // Each operation's unsaved recording written as a results file whose name holds the
    // date and "recovered", into the first of `folders` that takes it; the paths written,
    // and in `lost` the kinds ("measurement", "mapping") that none took. For an ending
    // that cannot ask the user (a termination signal).
    QStringList WriteRecoveryFiles(const QStringList& folders, QStringList* lost = nullptr);

private:
    COperationMeasure m_OperationMeasure;
    COperationMapping m_OperationMapping;
    COperation* m_pActiveOperation = nullptr;
    CInstrumentSupervisor& m_InstrumentSupervisor;
};
