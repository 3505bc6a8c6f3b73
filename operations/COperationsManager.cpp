#include "operations/COperationsManager.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"
#include "instruments/CInstrumentSupervisor.h"
#include "model/CNumberText.h"

#include <QDateTime>
#include <QDir>

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
    // Asked only when something unsaved would be lost: a live view that records
    // nothing loses nothing when it stops.
    if (!m_pActiveOperation->HasUnsavedData())
        return true;
    if (next && next->Name() == m_pActiveOperation->Name())
        return true;
    return CUtils::askDataLoseConfirmation(CConstants::QuitApplicationConfirmationMessage,
                                           CConstants::QuitApplicationConfirmationInformationMessage);
}

QStringList COperationsManager::WriteRecoveryFiles(const QString& folder)
{
    QStringList written;
    const QString stamp =
        CNumberText::DateTime(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd_HH.mm.ss"));
    const std::pair<COperation*, CRecordingManager*> recordings[] = {
        {&m_OperationMeasure, m_OperationMeasure.RecordingManager()},
        {&m_OperationMapping, m_OperationMapping.RecordingManager()}};
    for (const auto& [operation, recorder] : recordings)
    {
        if (!operation->HasUnsavedData())
            continue;
        if (!QDir().mkpath(folder))
        {
            qCCritical(lcOperations).noquote() << QStringLiteral("Cannot create folder ") + folder +
                                                      QStringLiteral(": the unsaved recording is lost");
            break;
        }
        const QString path = QDir(folder).filePath(QStringLiteral("Tesvana_%1_%2_recovered.xml")
                                                       .arg(stamp, operation == &m_OperationMeasure
                                                                       ? QStringLiteral("measurement")
                                                                       : QStringLiteral("mapping")));
        if (recorder->WriteRecovery(path))
        {
            qCWarning(lcOperations).noquote() << QStringLiteral("Unsaved recording written to ") + path;
            written << path;
        }
        else
            qCCritical(lcOperations).noquote()
                << QStringLiteral("Cannot write the unsaved recording to ") + path;
    }
    return written;
}
