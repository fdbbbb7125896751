#include "platform/qt/qsettings_profile_store.h"

#include <cstdint>

namespace {

QString KeyOf(const std::string& section, const std::string& entry)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

} // namespace

QSettingsProfileStore::QSettingsProfileStore()
    : QSettingsProfileStore(QString::fromLatin1(kProfileOrganization), QString::fromLatin1(kProfileApplication))
{
}

QSettingsProfileStore::QSettingsProfileStore(const QString& organization, const QString& application)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, organization, application)
{
}

QSettingsProfileStore::QSettingsProfileStore(const QString& iniPath)
    : m_settings(iniPath, QSettings::IniFormat)
{
}

int QSettingsProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const
{
    const QVariant value = m_settings.value(KeyOf(section, entry));
    if (!value.isValid())
        return defaultValue;
    // Values written by hand may be out of int range or not numbers at all;
    // a colour such as 0xFFFFFFFF is kept as its 32-bit pattern.
    bool ok = false;
    const qlonglong wide = value.toLongLong(&ok);
    if (!ok)
        return defaultValue;
    if (wide < INT32_MIN || wide > UINT32_MAX)
        return defaultValue;
    return static_cast<int>(static_cast<std::uint32_t>(wide));
}

void QSettingsProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    m_settings.setValue(KeyOf(section, entry), value);
    m_settings.sync();
}
