#pragma once

#include <cstdlib>

// Drawing without a display, for the command line, the tests, the
// benchmarks, the fuzzers and the picture tools: the offscreen platform,
// unless QT_QPA_PLATFORM already names one (a person watching a test on
// the desktop). Call it before the application is made.
// Inline, so that calling it links nothing else of this file: the widget
// application below would pull Qt Widgets into tarelog-cli and the render
// floor, whose loading costs every render some 3 ms.
inline void PreferOffscreenPlatform()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// One application for the whole process, made on the first call on the
// platform above, for programs that need Qt only here and there (a fixture,
// a fuzz target). It is never destroyed: tearing Qt down during static
// destruction crashes. `program` is its argv[0]; nothing happens when an
// application exists already.
void EnsureOffscreenGuiApplication(const char* program);
void EnsureOffscreenWidgetApplication(const char* program);
