#pragma once

#include "platform/profile_store.h"

#include <map>
#include <utility>

// A profile held in memory, for tests and for tools that must not touch the
// user's own settings.
class MemoryProfileStore : public ProfileStore {
public:
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    void WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

    bool Contains(const std::string& section, const std::string& entry) const;
    int WriteCount() const { return m_writes; }

private:
    std::map<std::pair<std::string, std::string>, int> m_values;
    int m_writes = 0;
};
