#include "platform/state_folder.h"

#include <cstdlib>

std::string StateFolder(std::string_view application)
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/" + std::string(application);
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/" + std::string(application);
}
