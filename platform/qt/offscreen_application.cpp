#include "platform/qt/offscreen_application.h"

#include "platform/qt/offscreen_gui.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <vector>
#include <unistd.h>

namespace {

// A folder only this user can enter, as a session's runtime folder is.
// Like a session's, it goes on a memory file system when there is one and
// the user has not named a temporary folder: making and removing it there
// costs microseconds, where a disk's journal can hold a removal for
// milliseconds behind the render's own flushes.
std::string MakePrivateRuntimeDir(const std::string& program)
{
    std::vector<std::filesystem::path> parents;
    const char* tmpdir = std::getenv("TMPDIR");
    if (!tmpdir || !*tmpdir)
        parents.emplace_back("/dev/shm");
    std::error_code ignored;
    parents.push_back(std::filesystem::temp_directory_path(ignored));
    for (const auto& parent : parents) {
        std::string pattern = (parent / (program + "-XXXXXX")).string();
        if (!parent.empty() && ::mkdtemp(pattern.data()))
            return pattern;
    }
    return {};
}

} // namespace

OffscreenApplication::OffscreenApplication(const char* program)
    : m_program(program)
{
    PreferOffscreenPlatform();
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) {
        m_runtimeDir = MakePrivateRuntimeDir(m_program);
        if (!m_runtimeDir.empty())
            ::setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
    }
    m_fonts.emplace();
}

void OffscreenApplication::Start()
{
    // Qt keeps argc and argv for the application's lifetime.
    static int argc = 1;
    static std::string name = m_program;
    static char* argv[] = {name.data(), nullptr};
    m_application = std::make_unique<QGuiApplication>(argc, argv);
    m_fonts->Wait();
}

OffscreenApplication::~OffscreenApplication()
{
    m_fonts.reset();
    m_application.reset();
    if (m_runtimeDir.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_runtimeDir, ignored);
    ::unsetenv("XDG_RUNTIME_DIR");
}
