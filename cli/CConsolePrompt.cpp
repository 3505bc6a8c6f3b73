#include "cli/CConsolePrompt.h"

#include <cstdio>

void CConsolePrompt::l_Print(const char* level, const QString& text, const QString& informativeText)
{
    QString line = QString::fromLatin1(level) + QStringLiteral(": ") + text.simplified();
    if (!informativeText.isEmpty())
        line += QStringLiteral(" (") + informativeText.simplified() + QLatin1Char(')');
    std::fprintf(stderr, "tesvana-cli: %s\n", line.toLocal8Bit().constData());
}

void CConsolePrompt::Error(const QString& text, const QString& informativeText)
{
    l_Print("error", text, informativeText);
}

void CConsolePrompt::Warning(const QString& text, const QString& informativeText)
{
    l_Print("warning", text, informativeText);
}

void CConsolePrompt::Information(const QString& text, const QString& informativeText)
{
    l_Print("note", text, informativeText);
}

bool CConsolePrompt::Confirm(const QString&, const QString&)
{
    return false;
}

CPrompt::Choice CConsolePrompt::SaveDiscardCancel(const QString&, const QString&)
{
    return Choice::Cancel; // nobody to answer: nothing is lost
}

QString CConsolePrompt::OpenFileName(const QString&, const QString&, const QString&)
{
    return QString();
}

QString CConsolePrompt::SaveFileName(const QString&, const QString&, const QString&)
{
    return QString();
}

QString CConsolePrompt::FolderName(const QString&, const QString&)
{
    return QString();
}
