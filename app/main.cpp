#include "app/tarelog_app.h"

#include "platform/qt/win_app.h"

// The one application object; the framework's main entry finds it.
CTarelogApp theApp;

int main(int argc, char** argv)
{
    return RunApplication(argc, argv);
}
