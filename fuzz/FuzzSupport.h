#pragma once

#include "app/CSettings.h"

#include <QByteArray>
#include <QDir>

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
