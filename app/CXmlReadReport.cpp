#include "app/CXmlReadReport.h"

#include "app/LogCategories.h"

#include <QDebug>
#include <QFileDevice>

void CXmlReadReport::Log(const QString& path, bool parseFailed, const QString& parseError,
                         const QFileDevice& file)
{
    if (parseFailed)
        qCDebug(lcFiles).noquote() << QStringLiteral("Error: Failed to parse file : ") + path +
                                          QStringLiteral(" : ") + parseError;
    else if (file.error() != QFileDevice::NoError)
        qCDebug(lcFiles).noquote() << QStringLiteral("Error: Cannot read file ") + path +
                                          QStringLiteral(": ") + file.errorString();
}
