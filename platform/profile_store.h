#pragma once

#include <string>

// The per-user profile: integers kept under a section and an entry name.
// Section and entry names are UTF-8 ("色", "SHOW", "X", "0" to "9").
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    virtual int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const = 0;
    // A failed write is not reported: the profile is best effort.
    virtual void WriteProfileInt(const std::string& section, const std::string& entry, int value) = 0;
};
