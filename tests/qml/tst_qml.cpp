// The QML components that hold logic of their own, tested in the QML engine alone
// (Qt Quick Test): the tst_*.qml files of this folder. The components take the real
// view models: `fixtures` (below) makes fresh ones on an operation without an
// instrument for each test function, and feeds them blocks as a driver would.
#include "../support/OperationCore.h"
#include "../support/RecordingPrompt.h"
#include "../support/TimedBlock.h"
#include "app/CApplication.h"
#include "app/CConstants.h"
#include "model/CMetaTypes.h"
#include "operations/COperationMapping.h"
#include "operations/COperationMeasure.h"
#include "viewmodels/CMappingOperationViewModel.h"
#include "viewmodels/CMappingParametersViewModel.h"
#include "viewmodels/CMeterOperationViewModel.h"

#include <QDateTime>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include <memory>

class Fixtures : public QObject
{
    Q_OBJECT
public:
    // A meter page's view model on a measurement operation of its own.
    Q_INVOKABLE CMeterOperationViewModel* meter()
    {
        reset();
        m_Measure = std::make_unique<OperationCore<COperationMeasure>>();
        m_Meter = std::make_unique<CMeterOperationViewModel>(m_Measure->settings, &m_Measure->operation);
        QQmlEngine::setObjectOwnership(m_Meter.get(), QQmlEngine::CppOwnership);
        return m_Meter.get();
    }

    // The mapping panel's view model, on a mapping operation of its own.
    Q_INVOKABLE CMappingParametersViewModel* mapping()
    {
        reset();
        m_Mapping = std::make_unique<OperationCore<COperationMapping>>();
        m_MappingPage =
            std::make_unique<CMappingOperationViewModel>(m_Mapping->settings, &m_Mapping->operation);
        CMappingParametersViewModel* panel = m_MappingPage->MappingParametersViewModel();
        QQmlEngine::setObjectOwnership(panel, QQmlEngine::CppOwnership);
        return panel;
    }

    // `count` blocks of ten samples, 10 ms apart, into the measurement operation.
    Q_INVOKABLE void feed(int count)
    {
        static qint64 next = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC).toMSecsSinceEpoch();
        for (int b = 0; b < count; ++b, next += 100)
            m_Measure->operation.OnNewMeasure(timed(next, 10));
    }

    // The measurement operation's session, as starting and stopping the instrument sets it.
    Q_INVOKABLE void measuring(bool inProgress) { m_Measure->operation.setSessionInProgress(inProgress); }

    // A recording file in the operation's folder, and the settings' recent list naming it
    // (and a file that is gone).
    Q_INVOKABLE QString recentFile(const QString& name)
    {
        QString path = m_Measure->dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("<RESULTS/>");
        file.close();
        m_Measure->settings.setRecentMeasurementFiles(path + QLatin1Char('\n') +
                                                      m_Measure->dir.filePath(QStringLiteral("gone.xml")));
        return path;
    }

    // What the prompt double was asked, one line each.
    Q_INVOKABLE QStringList asked() const { return m_Prompt.asked; }

    Q_INVOKABLE void reset()
    {
        m_Meter.reset();
        m_Measure.reset();
        m_MappingPage.reset();
        m_Mapping.reset();
        m_Prompt.asked.clear();
    }

private:
    RecordingPrompt m_Prompt;
    std::unique_ptr<OperationCore<COperationMeasure>> m_Measure;
    std::unique_ptr<CMeterOperationViewModel> m_Meter;
    std::unique_ptr<OperationCore<COperationMapping>> m_Mapping;
    std::unique_ptr<CMappingOperationViewModel> m_MappingPage;
};

class Setup : public QObject
{
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        CMetaTypes::Register();
        CConstants::Translate();
        CApplication::RegisterQmlTypes();
        engine->rootContext()->setContextProperty(QStringLiteral("fixtures"), &m_Fixtures);
    }
    void cleanupTestCase() { m_Fixtures.reset(); }

private:
    Fixtures m_Fixtures;
};

QUICK_TEST_MAIN_WITH_SETUP(tesvana_components, Setup)

#include "tst_qml.moc"
