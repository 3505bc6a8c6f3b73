#include "viewmodels/CHelpPages.h"

#include "app/CSettings.h"
#include "app/CUtils.h"
#include "app/LogCategories.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void CHelpPages::Open(const CSettings& settings, const QString& name)
{
    const QString path = settings.HelpFolder() + QLatin1Char('/') + name + QStringLiteral(".html");
    const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(path));
    qCInfo(lcUi).noquote() << QStringLiteral("Opening contextual help : ") + url.toString();
    // A missing page is said as such: a desktop handler may "open" a file that is not there.
    if (name.isEmpty() || !QFileInfo::exists(path))
        CUtils::errorMessage(tr("Could not open help"), tr("Could not find file : ") + url.toString());
    else if (!QDesktopServices::openUrl(url))
        CUtils::errorMessage(tr("Could not open help"),
                             tr("No program could open the help page (is a web browser installed?). "
                                "The page is %1")
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(path))));
}
