#include "app/CTerminationSignalHandler.h"

#include "app/LogCategories.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

int CTerminationSignalHandler::s_Sockets[2] = {-1, -1};

CTerminationSignalHandler::CTerminationSignalHandler(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_Sockets) != 0)
    {
        qCWarning(lcApp) << "Termination signals will end the program without saving";
        return;
    }
    m_pNotifier = new QSocketNotifier(s_Sockets[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationSignalHandler::OnSignalReceived);

    struct sigaction action = {};
    action.sa_handler = &CTerminationSignalHandler::l_Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

CTerminationSignalHandler::~CTerminationSignalHandler()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    if (s_Sockets[0] >= 0)
    {
        ::close(s_Sockets[0]);
        ::close(s_Sockets[1]);
        s_Sockets[0] = s_Sockets[1] = -1;
    }
}

void CTerminationSignalHandler::l_Handler(int signalNumber)
{
    const char byte = char(signalNumber);
    // Only async-signal-safe calls here.
    const ssize_t written = ::write(s_Sockets[0], &byte, 1);
    (void)written;
}

void CTerminationSignalHandler::OnSignalReceived()
{
    m_pNotifier->setEnabled(false);
    char byte = 0;
    const ssize_t read = ::read(s_Sockets[1], &byte, 1);
    (void)read;
    qCInfo(lcApp) << "Termination signal" << int(byte) << "received: quitting";
    emit TerminationRequested(int(byte));
    QCoreApplication::quit();
    m_pNotifier->setEnabled(true);
}
