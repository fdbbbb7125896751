#pragma once

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

// The path of a sample file under tests/data/<folder>.
inline std::string SamplePath(const std::string& name, const std::string& folder = "csv")
{
    return std::string(TARELOG_TEST_DATA) + "/" + folder + "/" + name;
}

// The bytes of a sample file under tests/data/csv (or another folder).
inline std::string ReadSample(const std::string& name, const std::string& folder = "csv")
{
    std::ifstream in(SamplePath(name, folder), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs a test in a given time zone (UTC times are counted by the local day)
// and restores the process's own afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};
