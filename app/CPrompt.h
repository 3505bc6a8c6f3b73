#pragma once

#include <QString>
#include <QStringList>

// The one way the program asks the user something or tells them of a failure.
// The application object installs the dialog implementation (CMessageBoxPrompt),
// the command-line tool its console prompt; tests install a double that answers as told and records what was
// asked. Code below the view models only reports through it where a dialog is part of the behaviour (the file
// readers); everything else returns its failures.
class CPrompt
{
public:
    virtual ~CPrompt();

    virtual void Error(const QString& text, const QString& informativeText) = 0;
    virtual void Warning(const QString& text, const QString& informativeText) = 0;
    virtual void Information(const QString& text, const QString& informativeText) = 0;
    // An OK / Cancel question whose OK loses something (data, parameters);
    // Cancel is the default. True when the user chose OK.
    virtual bool Confirm(const QString& text, const QString& informativeText) = 0;
    enum class Choice
    {
        Save,
        Discard,
        Cancel
    };
    // A question before something unsaved is lost that offers to keep it first:
    // Save, Discard (lose it) or Cancel (the default: nothing happens).
    virtual Choice SaveDiscardCancel(const QString& text, const QString& informativeText) = 0;
    // Empty when the user cancels.
    virtual QString OpenFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // Several files at once; empty when the user cancels. By default the one-file dialog.
    virtual QStringList OpenFileNames(const QString& title, const QString& folder, const QString& filter);
    virtual QString SaveFileName(const QString& title, const QString& proposedPath,
                                 const QString& filter) = 0;
    // An existing folder; empty when the user cancels.
    virtual QString FolderName(const QString& title, const QString& folder) = 0;

    // The installed prompt; while none is, one that logs and cancels every question.
    static CPrompt& Current();
    // Not owned; null uninstalls.
    static void Install(CPrompt* prompt);
};
