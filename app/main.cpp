#include "app/CApplication.h"
#include "app/CConstants.h"
#include "app/CStyle.h"
#include "app/CTerminationSignalHandler.h"

#include <QApplication>
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

    CApplication* tesvana = CApplication::instance();
    tesvana->initialize();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, tesvana, &CApplication::onAboutToQuit);

    CTerminationSignalHandler terminationSignals;
    return application.exec();
}
