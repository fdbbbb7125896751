#pragma once

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

// Fonts and images need a GUI application; one for the whole benchmark run,
// offscreen unless told otherwise.
inline void EnsureGuiApplication()
{
    static std::unique_ptr<QGuiApplication> app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "tarelog_bench";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}
