#include "app/CSettings.h"

#include "app/CConstants.h"
#include "app/CUtils.h"
#include "app/CXmlElementsReader.h"
#include "app/CXmlElementsWriter.h"
#include "app/LogCategories.h"
#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <limits>

// The columns of a line of TESVANA_SETTINGS.
namespace SettingLine
{
enum WhereKept
{
    File,
    FileKeptByReset,
    RunOnly
};
enum OnPage
{
    Hidden,
    Edited,
    Mirrored
};
} // namespace SettingLine

namespace
{
const char* const RootElement = "SETTINGS";

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A decimal whole number of at most `most`.
bool unsignedText(const QString& text, quint64 most, quint64& value)
{
    bool ok = false;
    value = text.toULongLong(&ok, 10);
    return ok && value <= most;
}
} // namespace

CSettings::CSettings(const QString& appDirPath, QObject* parent, const QString& settingsFolder)
    : QObject(parent), m_AppDirPath(appDirPath),
      m_SettingsFolder(settingsFolder.isEmpty() ? CConstants::DefaultApplicationParameterStoragePath
                                                : settingsFolder)
{
    qRegisterMetaType<t_Mapping2DPlotHorizontalAxisType>("t_Mapping2DPlotHorizontalAxisType");
    l_Factory(true);
    Reset(false);
    Load();
}

QString CSettings::FilePath() const
{
    return m_SettingsFolder + QLatin1Char('/') + CConstants::SystemSettingsFilename;
}

QString CSettings::l_PluginRoot() const
{
    return m_AppDirPath +
           (CUtils::isMacOs() ? QStringLiteral("/../Plugins/tesvana/") : QStringLiteral("/tesvana/"));
}

QString CSettings::ShippedLimitsPath() const
{
    return l_PluginRoot() + QStringLiteral("limits");
}

QString CSettings::HelpFolder() const
{
    return m_AppDirPath +
           (CUtils::isMacOs() ? QStringLiteral("/../Resources/help") : QStringLiteral("/help"));
}

void CSettings::l_Factory(bool all)
{
#define TESVANA_SETTING_FACTORY(Type, Name, Factory, Kind, Where, Page)                                      \
    if (all || SettingLine::Where != SettingLine::FileKeptByReset)                                           \
        set##Name(Factory);
    TESVANA_SETTINGS(TESVANA_SETTING_FACTORY)
#undef TESVANA_SETTING_FACTORY
}

bool CSettings::Reset(bool save)
{
    l_Factory(false);
    m_CameraPresetNames = QStringList{"Front Low",
                                      "Front",
                                      "Front High",
                                      "Left Low",
                                      "Left",
                                      "Left High",
                                      "Right Low",
                                      "Right",
                                      "Right High",
                                      "Behind Low",
                                      "Behind",
                                      "Behind High",
                                      "Isometric Left",
                                      "Isometric Left High",
                                      "Isometric Right",
                                      "Isometric Right High",
                                      "Directly Above",
                                      "Directly Above CW 45",
                                      "Directly Above CCW 45"};
    m_XAxisTypeNames = QStringList{"Time", "X Position", "Y Position", "Z Position"};

    return !save || Save();
}

bool CSettings::SaveAlone(const std::function<void(CSettings&)>& change)
{
    change(*this);
    CSettings file(m_AppDirPath, nullptr, m_SettingsFolder);
    change(file);
    return file.Save();
}

namespace
{
// How each kind of setting is written and read.
using Entry = CSettings::Entry;

template <typename T, T (CSettings::*Get)() const, void (CSettings::*Set)(CSettingArgument<T>)>
Entry Text(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return (s.*Get)(); },
            [](CSettings& s, const QString& value) {
                (s.*Set)(value);
                return true;
            }};
}

template <typename T, T (CSettings::*Get)() const, void (CSettings::*Set)(CSettingArgument<T>)>
Entry Flag(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return boolText((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                (s.*Set)(value == QLatin1String("1"));
                return true;
            }};
}

// The largest a whole-number setting takes from the file: a signed or enumerated
// property never gets a wrapped value.
template <typename T> constexpr quint64 largest()
{
    if constexpr (std::is_enum<T>::value)
    {
        static_assert(std::is_same<T, CSettings::t_Mapping2DPlotHorizontalAxisType>::value,
                      "a new enumerated setting names its last value here");
        return CSettings::e_HorizAxisIsZPosition;
    }
    else
        return std::numeric_limits<T>::max();
}

// A decimal whole number up to the largest its type takes.
template <typename T, T (CSettings::*Get)() const, void (CSettings::*Set)(CSettingArgument<T>)>
Entry Count(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return QString::number(quint64((s.*Get)())); },
            [](CSettings& s, const QString& value) {
                quint64 number = 0;
                if (!unsignedText(value, largest<T>(), number))
                    return false;
                (s.*Set)(T(number));
                return true;
            }};
}

template <typename T, T (CSettings::*Get)() const, void (CSettings::*Set)(CSettingArgument<T>)>
Entry Preset(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return QString::number((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                bool ok = false;
                const int number = value.toInt(&ok, 10);
                if (ok)
                    (s.*Set)(number);
                return ok;
            }};
}

// NaN or infinite zoom would break the 3-D view: refused like unparsable text.
template <typename T, T (CSettings::*Get)() const, void (CSettings::*Set)(CSettingArgument<T>)>
Entry Zoom(const char* name, bool stored, bool page)
{
    return {name, stored, page, [](const CSettings& s) { return CNumberText::G6((s.*Get)()); },
            [](CSettings& s, const QString& value) {
                bool ok = false;
                const double number = CNumberText::ToDouble(value, &ok);
                if (!ok || !std::isfinite(number))
                    return false;
                (s.*Set)(number);
                return true;
            }};
}
} // namespace

const std::vector<CSettings::Entry>& CSettings::Entries()
{
    // The property, its setter and its element are one name.
#define TESVANA_SETTING_ENTRY(Type, Name, Factory, Kind, Where, Page)                                        \
    Kind<Type, &CSettings::Name, &CSettings::set##Name>(#Name, SettingLine::Where != SettingLine::RunOnly,   \
                                                        SettingLine::Page != SettingLine::Hidden),
    static const std::vector<Entry> entries = {TESVANA_SETTINGS(TESVANA_SETTING_ENTRY)};
#undef TESVANA_SETTING_ENTRY
    return entries;
}

void CSettings::Load()
{
    const auto stored = [](const QString& name) {
        return std::find_if(Entries().begin(), Entries().end(),
                            [&name](const Entry& e) { return e.Stored && name == QLatin1String(e.Name); });
    };
    CXmlElementsReader::Read(
        FilePath(), QLatin1String(RootElement),
        [&](const QString& name) { return stored(name) != Entries().end(); },
        [&](const QString& name, const QString& text) { stored(name)->Read(*this, text); });
}

bool CSettings::Save()
{
    // The whole path is created: a fresh account may not have its
    // application-data folder yet.
    if (!QDir(m_SettingsFolder).exists() && !QDir().mkpath(m_SettingsFolder))
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot create folder ") + m_SettingsFolder;
        return false;
    }

    const QString path = FilePath();
    std::vector<std::pair<QString, QString>> elements;
    for (const Entry& entry : Entries())
        if (entry.Stored)
            elements.emplace_back(QLatin1String(entry.Name), entry.Write(*this));
    QString error;
    if (!CXmlElementsWriter::Write(path, QLatin1String(RootElement), elements, &error))
    {
        qCDebug(lcApp).noquote() << QStringLiteral("Error: Cannot write file : ") + path +
                                        QStringLiteral(" : ") + error;
        return false;
    }
    return true;
}

#define TESVANA_SETTING_SETTER(Type, Name, Factory, Kind, Where, Page)                                       \
    TESVANA_SETTER(CSettings, CSettingArgument<Type>, Name)
TESVANA_SETTINGS(TESVANA_SETTING_SETTER)
#undef TESVANA_SETTING_SETTER
