#pragma once

#include "app/CSettings.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryFile>

#include <memory>

// What every fuzz target shares: one settings store in a scratch folder, so
// that data sets have their limits and no user file is touched.
inline CSettings& fuzzSettings()
{
    static CSettings settings(QString(), nullptr, QDir::tempPath() + QStringLiteral("/tesvana-fuzz"));
    return settings;
}

inline QByteArray fuzzBytes(const unsigned char* data, unsigned long size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

// The input as a file, for the readers that take a path: null when it cannot be written.
inline std::unique_ptr<QTemporaryFile> fuzzFile(const unsigned char* data, unsigned long size)
{
    auto file = std::make_unique<QTemporaryFile>();
    if (!file->open() || file->write(fuzzBytes(data, size)) != qint64(size) || !file->flush())
        return nullptr;
    return file;
}
