#include "app/CApplication.h"
#include "app/CConstants.h"
#include "app/CPrompt.h"
#include "app/CStyle.h"
#include "app/LogCategories.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QThread>

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(CConstants::OrganizationName);
    QCoreApplication::setOrganizationDomain(CConstants::OrganizationDomain);
    QCoreApplication::setApplicationName(CConstants::ApplicationName);
    CStyle::SetCustomStyle();

    QApplication application(argc, argv);
    QThread::currentThread()->setPriority(QThread::HighPriority);
    CApplication::m_AppDirPath = QCoreApplication::applicationDirPath();

    // One program per account: a second one would recreate the first one's log and
    // write over its parameter files. A lock left by a program that died is taken over.
    QDir().mkpath(CConstants::DefaultApplicationParameterStoragePath);
    QLockFile instanceLock(CConstants::DefaultApplicationParameterStoragePath +
                           QStringLiteral("/Tesvana.lock"));
    instanceLock.setStaleLockTime(0);
    if (!instanceLock.tryLock(0))
    {
        qCWarning(lcApp) << "Tesvana is already running: this start ends";
        CPrompt::Current().Error(
            QObject::tr("Tesvana is already running"),
            QObject::tr("Only one Tesvana runs at a time: use the window that is open."));
        return 1;
    }

    CApplication* tesvana = CApplication::instance();
    tesvana->initialize();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, tesvana, &CApplication::onAboutToQuit);

    return application.exec();
}
