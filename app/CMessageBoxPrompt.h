#pragma once

#include "app/CPrompt.h"

// The prompt as Qt's modal message boxes and file dialogs.
class CMessageBoxPrompt : public CPrompt
{
public:
    void Error(const QString& text, const QString& informativeText) override;
    void Warning(const QString& text, const QString& informativeText) override;
    void Information(const QString& text, const QString& informativeText) override;
    bool Confirm(const QString& text, const QString& informativeText) override;
    Choice SaveDiscardCancel(const QString& text, const QString& informativeText) override;
    QString OpenFileName(const QString& title, const QString& folder, const QString& filter) override;
    QStringList OpenFileNames(const QString& title, const QString& folder, const QString& filter) override;
    QString SaveFileName(const QString& title, const QString& proposedPath, const QString& filter) override;

    // The folder a file dialog opens in: `folder` itself, or the nearest folder above it that
    // exists (a storage folder not made yet), or the home folder. A dialog given a folder that
    // does not exist takes its name for a file name, and its Open stays disabled.
    static QString ExistingFolder(const QString& folder);
    QString FolderName(const QString& title, const QString& folder) override;
};
