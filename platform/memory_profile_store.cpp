#include "platform/memory_profile_store.h"

int MemoryProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const
{
    const auto found = m_values.find({section, entry});
    return found == m_values.end() ? defaultValue : found->second;
}

void MemoryProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    m_values[{section, entry}] = value;
    ++m_writes;
}

bool MemoryProfileStore::Contains(const std::string& section, const std::string& entry) const
{
    return m_values.count({section, entry}) != 0;
}
