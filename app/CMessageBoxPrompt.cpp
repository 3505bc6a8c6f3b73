#include "app/CMessageBoxPrompt.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>

namespace
{
QMessageBox::StandardButton runBox(QMessageBox::Icon icon, const QString& text,
                                   const QString& informativeText, bool okCancel)
{
    QMessageBox box;
    box.setIcon(icon);
    box.setText(text);
    box.setInformativeText(informativeText);
    box.setMinimumSize(200, 200);
    if (okCancel)
    {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        box.button(QMessageBox::Ok)->setText(QObject::tr("OK"));
        box.button(QMessageBox::Cancel)->setText(QObject::tr("Cancel"));
    }
    else if (icon == QMessageBox::Information)
    {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
} // namespace

void CMessageBoxPrompt::Error(const QString& text, const QString& informativeText)
{
    runBox(QMessageBox::Critical, text, informativeText, false);
}

void CMessageBoxPrompt::Warning(const QString& text, const QString& informativeText)
{
    runBox(QMessageBox::Warning, text, informativeText, false);
}

void CMessageBoxPrompt::Information(const QString& text, const QString& informativeText)
{
    runBox(QMessageBox::Information, text, informativeText, false);
}

bool CMessageBoxPrompt::Confirm(const QString& text, const QString& informativeText)
{
    return runBox(QMessageBox::Warning, text, informativeText, true) == QMessageBox::Ok;
}

CPrompt::Choice CMessageBoxPrompt::SaveDiscardCancel(const QString& text, const QString& informativeText)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(text);
    box.setInformativeText(informativeText);
    box.setMinimumSize(200, 200);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Save)->setText(QObject::tr("Save…"));
    box.button(QMessageBox::Discard)->setText(QObject::tr("Discard"));
    box.button(QMessageBox::Cancel)->setText(QObject::tr("Cancel"));
    switch (box.exec())
    {
    case QMessageBox::Save:
        return Choice::Save;
    case QMessageBox::Discard:
        return Choice::Discard;
    default:
        return Choice::Cancel;
    }
}

QString CMessageBoxPrompt::ExistingFolder(const QString& folder)
{
    QString path = QDir::cleanPath(QDir(folder.isEmpty() ? QDir::homePath() : folder).absolutePath());
    while (!QFileInfo(path).isDir())
    {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::homePath();
        path = parent;
    }
    return path;
}

QString CMessageBoxPrompt::OpenFileName(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(nullptr, title, ExistingFolder(folder), filter);
}

QStringList CMessageBoxPrompt::OpenFileNames(const QString& title, const QString& folder,
                                             const QString& filter)
{
    return QFileDialog::getOpenFileNames(nullptr, title, ExistingFolder(folder), filter);
}

QString CMessageBoxPrompt::SaveFileName(const QString& title, const QString& proposedPath,
                                        const QString& filter)
{
    // The proposed name kept, in a folder that exists.
    const QFileInfo proposed(proposedPath);
    const QString folder = ExistingFolder(proposed.path());
    const QString path = proposed.fileName().isEmpty() ? folder : QDir(folder).filePath(proposed.fileName());
    return QFileDialog::getSaveFileName(nullptr, title, path, filter);
}

QString CMessageBoxPrompt::FolderName(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(nullptr, title, folder);
}
