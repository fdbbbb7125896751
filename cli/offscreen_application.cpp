#include "cli/offscreen_application.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A folder only this user can enter, as a session's runtime folder is.
std::string MakePrivateRuntimeDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarelog-cli-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return {};
    return pattern;
}

} // namespace

OffscreenApplication::OffscreenApplication()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) {
        m_runtimeDir = MakePrivateRuntimeDir();
        if (!m_runtimeDir.empty())
            ::setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
    }
    static int argc = 1;
    static char name[] = "tarelog-cli";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QGuiApplication>(argc, argv);
}

OffscreenApplication::~OffscreenApplication()
{
    m_application.reset();
    if (m_runtimeDir.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_runtimeDir, ignored);
    ::unsetenv("XDG_RUNTIME_DIR");
}
