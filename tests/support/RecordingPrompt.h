#pragma once

#include "app/CPrompt.h"

#include <QStringList>

// The prompt double: installed for its lifetime, it answers every question as
// told (Confirm with `confirm`, the file and folder dialogs with the queued paths, empty when
// none is left) and records each request as "Kind: text / informative text".
class RecordingPrompt : public CPrompt
{
public:
    RecordingPrompt() { Install(this); }
    ~RecordingPrompt() override { Install(nullptr); }

    bool confirm = true;
    Choice choice = Choice::Discard;
    QStringList files;
    QStringList asked;

    void Error(const QString& text, const QString& informative) override
    {
        record("Error", text, informative);
    }
    void Warning(const QString& text, const QString& informative) override
    {
        record("Warning", text, informative);
    }
    void Information(const QString& text, const QString& informative) override
    {
        record("Information", text, informative);
    }
    bool Confirm(const QString& text, const QString& informative) override
    {
        record("Confirm", text, informative);
        return confirm;
    }
    Choice SaveDiscardCancel(const QString& text, const QString& informative) override
    {
        record("Choose", text, informative);
        return choice;
    }
    QString OpenFileName(const QString& title, const QString& folder, const QString&) override
    {
        record("Open", title, folder);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString SaveFileName(const QString& title, const QString& proposedPath, const QString&) override
    {
        record("Save", title, proposedPath);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString FolderName(const QString& title, const QString& folder) override
    {
        record("Folder", title, folder);
        return files.isEmpty() ? QString() : files.takeFirst();
    }

private:
    void record(const char* kind, const QString& text, const QString& informative)
    {
        asked << QString::fromLatin1(kind) + ": " + text + " / " + informative;
    }
};
