#pragma once

#include <string>
#include <string_view>

// The folder where `application` keeps its state between runs (recovery
// copies, start markers): $XDG_STATE_HOME/application when that is an
// absolute path, otherwise ~/.local/state/application. Not created here.
std::string StateFolder(std::string_view application);
