#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A program folder with its three plug-in folders, filled with copies of the
// plug-in libraries that the build laid out.
struct PluginFolders
{
    QTemporaryDir dir;

    QString program() const { return dir.path(); }
    QString folder(const QString& kind) const { return dir.path() + "/tesvana/" + kind; }
    static QString built(const QString& kind, const QString& library)
    {
        return qEnvironmentVariable("TESVANA_BIN_DIR") + "/tesvana/" + kind + "/" + library;
    }

    void make(const QString& kind) const { QDir().mkpath(folder(kind)); }
    bool copy(const QString& fromKind, const QString& library, const QString& toKind,
              const QString& as = QString()) const
    {
        make(toKind);
        return QFile::copy(built(fromKind, library), folder(toKind) + "/" + (as.isEmpty() ? library : as));
    }
    // The files of a folder of the built program (the help pages, say) beside this program.
    bool copyFolder(const QString& name, const QString& from) const
    {
        QDir().mkpath(dir.path() + "/" + name);
        const QStringList files = QDir(from).entryList(QDir::Files);
        for (const QString& file : files)
            if (!QFile::copy(from + "/" + file, dir.path() + "/" + name + "/" + file))
                return false;
        return !files.isEmpty();
    }
    void text(const QString& kind, const QString& name) const
    {
        make(kind);
        QFile f(folder(kind) + "/" + name);
        f.open(QIODevice::WriteOnly);
        f.write("not a library\n");
    }
};
