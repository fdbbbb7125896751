#pragma once

#include "platform/profile_store.h"

#include <QSettings>
#include <QString>

// The per-user profile on QSettings, under the organisation "Ostrel" and the
// application's name. A section is a settings group, an entry a key in it.
// Every write is flushed at once, so a value written just before the
// process ends is there at the next start.
class QSettingsProfileStore : public ProfileStore {
public:
    // The user's own profile.
    QSettingsProfileStore();
    // A profile kept in the INI file at `iniPath`, for tools and tests that
    // must not touch the user's own settings.
    explicit QSettingsProfileStore(const QString& iniPath);
    // The user's own profile under another organisation and application.
    QSettingsProfileStore(const QString& organization, const QString& application);

    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    void WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

    // The same store, for the framework's own lists (the recent files).
    QSettings& Settings() { return m_settings; }

private:
    mutable QSettings m_settings;
};

// The organisation under which every setting of the program is kept.
inline constexpr const char* kProfileOrganization = "Ostrel";
// A fixed name rather than the executable's, so the window and the tools
// share one profile.
inline constexpr const char* kProfileApplication = "Tarelog";
