#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly QCoreApplication::quit(),
// so that a session logout or a Ctrl+C still saves parameters and stops the
// plug-ins. The signal handler only writes to a socket pair; the quit happens
// on the event loop.
class CTerminationSignalHandler : public QObject
{
    Q_OBJECT
public:
    explicit CTerminationSignalHandler(QObject* parent = nullptr);
    ~CTerminationSignalHandler() override;

signals:
    // Emitted before the program is asked to quit.
    void TerminationRequested(int signalNumber);

private slots:
    void OnSignalReceived();

private:
    static void l_Handler(int signalNumber);
    static int s_Sockets[2];
    QSocketNotifier* m_pNotifier = nullptr;
};
