#pragma once

#include <QString>

// Application-wide constant strings. Plain statics are initialised when the
// program is loaded; the translatable ones are filled by Translate() once the
// application object exists, because tr() needs it.
class CConstants
{
public:
    static constexpr double Chart2DDefaultYMax = 10.0;
    static constexpr double Chart2DDefaultYMin = 0.001;
    static const QString Version;
    static const QString ApplicationName;
    static const QString SoftwareName;
    static const QString OrganizationName;
    static const QString OrganizationDomain;
    static const QString OrganizationWebsite;
    static const QString OrganizationEmail;
    static const QString SoftwareUpdateWebsite;
    static const QString VersionURL;
    static const QString OrganizationLogo;
    static const QString IconPath;
    static const QString DefaultApplicationParameterStoragePath;
    static const QString SystemSettingsFilename;
    static const QString MeasureParametersSettingsFilename;
    static const QString MappingParametersSettingsFilename;
    static const QString ConnectionSettingsFilename;

    static QString LoadFileErrorTitle;
    static QString LoadFileErrorDetails;
    static QString RecordFileErrorDetails;
    static QString MappingFileErrorDetails;
    static QString LimitsFileErrorDetails;
    static QString SaveFileErrorTitle;
    static QString RestartApplicationTitle;
    static QString RestartApplicationMessage;
    static QString QuitApplicationConfirmationMessage;
    static QString QuitApplicationConfirmationInformationMessage;
    static QString ChangeUnitConfirmationMessage;
    static QString ChangeUnitConfirmationInformationMessage;
    static QString TriggerModeContinuousName;
    static QString TriggerModeExternalName;
    static QString TriggerModeTimerName;
    static QString TriggerModeImmediateName;

    // Passes the translatable constants through the translation system.
    static void Translate();
};
