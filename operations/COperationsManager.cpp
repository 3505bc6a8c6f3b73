#include "operations/COperationsManager.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "instruments/CInstrumentSupervisor.h"

COperationsManager::COperationsManager(CSettings& settings, CPluginsManager& plugins,
                                       CInstrumentSupervisor& supervisor, QObject* parent)
    : QObject(parent), m_OperationMeasure(settings, plugins, supervisor),
      m_OperationMapping(settings, plugins, supervisor), m_InstrumentSupervisor(supervisor)
{
}

void COperationsManager::setActiveOperation(COperation* operation)
{
    if (operation == m_pActiveOperation)
        return;
    clearActiveOperation();
    const QSharedPointer<CInstrument> instrument = m_InstrumentSupervisor.Instrument().toStrongRef();
    if (operation && m_InstrumentSupervisor.HasActiveInstrument() && instrument)
    {
        CMeasurementParameters* parameters = operation->MeasurementParameters();
        // Announced once, also when the pointer was already there.
        if (instrument->MeasurementParameters() != parameters)
            instrument->setMeasurementParameters(parameters);
        else
            emit instrument->MeasurementParametersChanged(parameters);
    }
    m_pActiveOperation = operation;
    if (operation)
        operation->initialize();
}

void COperationsManager::clearActiveOperation()
{
    if (!m_pActiveOperation)
        return;
    m_pActiveOperation->stop();
    m_pActiveOperation->clear();
    m_pActiveOperation->terminate();
    m_pActiveOperation = nullptr;
}

bool COperationsManager::exitActiveOperationAllowed(COperation* next)
{
    if (!m_pActiveOperation || next == m_pActiveOperation)
        return true;
    if (!m_pActiveOperation->HasUnsavedData() && !m_pActiveOperation->SessionInProgress())
        return true;
    if (next && next->Name() == m_pActiveOperation->Name())
        return true;
    return CUtils::askDataLoseConfirmation(CConstants::QuitApplicationConfirmationMessage,
                                           CConstants::QuitApplicationConfirmationInformationMessage);
}
