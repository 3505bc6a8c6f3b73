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

QStringList COperationsManager::WriteRecoveryFiles(const QStringList& folders, QStringList* lost)
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
        const QString kind =
            operation == &m_OperationMeasure ? QStringLiteral("measurement") : QStringLiteral("mapping");
        // The first folder that takes it: a removed disk or a read-only folder is passed by.
        QString kept;
        for (const QString& folder : folders)
        {
            const QString path =
                QDir(folder).filePath(QStringLiteral("Tesvana_%1_%2_recovered.xml").arg(stamp, kind));
            if (QDir().mkpath(folder) && recorder->WriteRecovery(path))
            {
                kept = path;
                break;
            }
            qCCritical(lcOperations).noquote()
                << QStringLiteral("Cannot write the unsaved recording to ") + path;
        }
        if (kept.isEmpty())
        {
            qCCritical(lcOperations).noquote() << QStringLiteral("The unsaved ") + kind +
                                                      QStringLiteral(" recording could not be kept anywhere");
            if (lost)
                *lost << kind;
            continue;
        }
        qCWarning(lcOperations).noquote() << QStringLiteral("Unsaved recording written to ") + kept;
        written << kept;
    }
    return written;
}
