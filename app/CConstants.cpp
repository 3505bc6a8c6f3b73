#include "app/CConstants.h"

#include "TesvanaVersion.h"

#include <QObject>
#include <QStandardPaths>

namespace
{
// Taken at load time, before the organisation and application names are set,
// so the folder does not depend on them.
QString computeDefaultStoragePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Tesvana");
}
} // namespace

const QString CConstants::Version = QStringLiteral(TESVANA_VERSION);
const QString CConstants::ApplicationName = QStringLiteral("Tesvana");
const QString CConstants::SoftwareName =
    CConstants::ApplicationName + QStringLiteral(" v") + CConstants::Version;
const QString CConstants::OrganizationName = QStringLiteral("Korvelin");
// The maker's addresses are placeholders under a reserved example domain.
const QString CConstants::OrganizationDomain = QStringLiteral("korvelin.example");
const QString CConstants::OrganizationWebsite = QStringLiteral("https://www.korvelin.example");
const QString CConstants::OrganizationEmail = QStringLiteral("support@korvelin.example");
const QString CConstants::SoftwareUpdateWebsite =
    QStringLiteral("https://www.korvelin.example/downloads/tesvana");
const QString CConstants::VersionURL = QStringLiteral("https://www.korvelin.example/versions/products.xml");
const QString CConstants::OrganizationLogo = QStringLiteral("qrc:///Resources/Images/Korvelin.svg");
const QString CConstants::IconPath = QStringLiteral(":/Resources/Icons/Tesvana.ico");
const QString CConstants::DefaultApplicationParameterStoragePath = computeDefaultStoragePath();
const QString CConstants::SystemSettingsFilename = QStringLiteral("TesvanaApplicationSettings.xml");
const QString CConstants::MeasureParametersSettingsFilename = QStringLiteral("TesvanaMeasureSettings.xml");
const QString CConstants::MappingParametersSettingsFilename = QStringLiteral("TesvanaMappingSettings.xml");
const QString CConstants::ConnectionSettingsFilename = QStringLiteral("TesvanaConnectionSettings.xml");

QString CConstants::LoadFileErrorTitle = QStringLiteral("Could not load file");
QString CConstants::LoadFileErrorDetails = QStringLiteral("Cannot read the file");
QString CConstants::RecordFileErrorDetails =
    QStringLiteral("The file is not a valid Korvelin XML measurement file");
QString CConstants::MappingFileErrorDetails =
    QStringLiteral("The file is not a valid Korvelin XML mapping file");
QString CConstants::LimitsFileErrorDetails =
    QStringLiteral("The file is not a valid Korvelin XML limits file");
QString CConstants::SaveFileErrorTitle = QStringLiteral("Could not save file");
QString CConstants::RestartApplicationTitle = QStringLiteral("Restart application");
QString CConstants::RestartApplicationMessage =
    QStringLiteral("Please restart the application to apply the new settings");
QString CConstants::QuitApplicationConfirmationMessage =
    QStringLiteral("Are you sure you want to quit the current operation?");
QString CConstants::QuitApplicationConfirmationInformationMessage =
    QStringLiteral("All the measured data will be lost");
QString CConstants::ChangeUnitConfirmationMessage = QStringLiteral("Are you sure you want to change units?");
QString CConstants::ChangeUnitConfirmationInformationMessage =
    QStringLiteral("All the measured data will be lost");
QString CConstants::TriggerModeContinuousName = QStringLiteral("Continuous");
QString CConstants::TriggerModeExternalName = QStringLiteral("External");
QString CConstants::TriggerModeTimerName = QStringLiteral("Timer");
QString CConstants::TriggerModeImmediateName = QStringLiteral("Immediate");

void CConstants::Translate()
{
    LoadFileErrorTitle = QObject::tr("Could not load file");
    LoadFileErrorDetails = QObject::tr("Cannot read the file");
    RecordFileErrorDetails = QObject::tr("The file is not a valid Korvelin XML measurement file");
    MappingFileErrorDetails = QObject::tr("The file is not a valid Korvelin XML mapping file");
    LimitsFileErrorDetails = QObject::tr("The file is not a valid Korvelin XML limits file");
    SaveFileErrorTitle = QObject::tr("Could not save file");
    RestartApplicationTitle = QObject::tr("Restart application");
    RestartApplicationMessage = QObject::tr("Please restart the application to apply the new settings");
    QuitApplicationConfirmationMessage = QObject::tr("Are you sure you want to quit the current operation?");
    QuitApplicationConfirmationInformationMessage = QObject::tr("All the measured data will be lost");
    ChangeUnitConfirmationMessage = QObject::tr("Are you sure you want to change units?");
    ChangeUnitConfirmationInformationMessage = QObject::tr("All the measured data will be lost");
    TriggerModeContinuousName = QObject::tr("Continuous");
    TriggerModeExternalName = QObject::tr("External");
    TriggerModeTimerName = QObject::tr("Timer");
    TriggerModeImmediateName = QObject::tr("Immediate");
}
