// Linked into every test program: before any test runs, the XDG state,
// runtime and configuration folders point into the build tree, so that the
// sync state, the locks, the recovery copies and the settings that a test
// (or a program it starts) writes never land in the user's own folders.
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

void PointAt(const char* variable, const std::string& folder)
{
    ::mkdir(TARELOG_TEST_HOME, 0700);
    ::mkdir(folder.c_str(), 0700);
    ::setenv(variable, folder.c_str(), 1);
}

const bool kPointed = [] {
    const std::string home = TARELOG_TEST_HOME;
    PointAt("XDG_STATE_HOME", home + "/state");
    PointAt("XDG_RUNTIME_DIR", home + "/runtime");
    PointAt("XDG_CONFIG_HOME", home + "/config");
    return true;
}();

} // namespace
