#include "platform/qt/offscreen_gui.h"

#include <QApplication>
#include <QGuiApplication>

#include <string>

namespace {

// Qt keeps argc and argv for the application's lifetime.
struct ProgramArguments {
    explicit ProgramArguments(const char* program)
        : name(program)
        , argv{name.data(), nullptr}
    {
    }
    std::string name;
    int argc = 1;
    char* argv[2];
};

ProgramArguments& LastingArguments(const char* program)
{
    static ProgramArguments arguments(program);
    return arguments;
}

} // namespace

void EnsureOffscreenGuiApplication(const char* program)
{
    if (QCoreApplication::instance())
        return;
    PreferOffscreenPlatform();
    ProgramArguments& arguments = LastingArguments(program);
    new QGuiApplication(arguments.argc, arguments.argv);
}

void EnsureOffscreenWidgetApplication(const char* program)
{
    if (QCoreApplication::instance())
        return;
    PreferOffscreenPlatform();
    ProgramArguments& arguments = LastingArguments(program);
    new QApplication(arguments.argc, arguments.argv);
}
