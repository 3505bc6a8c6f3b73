// tesvana-cli: the program's measurements and analyses from a script.
#include "cli/CCommandLine.h"
#include "cli/CConsolePrompt.h"
#include "model/CMetaTypes.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstring>

int main(int argc, char** argv)
{
    // The plug-ins are built on widgets; the tool shows none, and needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The core's log is for the window's log dialog; a script wants only the tool's own lines.
    bool verbose = false;
    for (int i = 1; i < argc; ++i)
        verbose = verbose || std::strcmp(argv[i], "--verbose") == 0;
    if (!verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tesvana-cli"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    arguments.removeAll(QStringLiteral("--verbose"));
    CMetaTypes::Register();
    CConsolePrompt prompt;
    CPrompt::Install(&prompt);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    const int status = CCommandLine(QCoreApplication::applicationDirPath(), out, err).Run(arguments);
    out.flush();
    err.flush();
    CPrompt::Install(nullptr);
    return status;
}
