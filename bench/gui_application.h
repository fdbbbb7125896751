#pragma once

#include "platform/qt/offscreen_gui.h"

// Fonts and images need a GUI application; one for the whole benchmark run.
inline void EnsureGuiApplication()
{
    EnsureOffscreenGuiApplication("tarelog_bench");
}
