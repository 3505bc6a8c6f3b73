#pragma once

#include "app/CPrompt.h"

// The prompt of the command-line tool: what a window would show goes to standard
// error as one line; nothing is asked (a script cannot answer), so every question
// keeps what is there and every file choice is cancelled.
class CConsolePrompt : public CPrompt
{
public:
    void Error(const QString& text, const QString& informativeText) override;
    void Warning(const QString& text, const QString& informativeText) override;
    void Information(const QString& text, const QString& informativeText) override;
    bool Confirm(const QString& text, const QString& informativeText) override;
    Choice SaveDiscardCancel(const QString& text, const QString& informativeText) override;
    QString OpenFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString SaveFileName(const QString& title, const QString& proposedPath, const QString& filter) override;
    QString FolderName(const QString& title, const QString& folder) override;

private:
    static void l_Print(const char* level, const QString& text, const QString& informativeText);
};
