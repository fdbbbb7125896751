#include "app/tarelog_app.h"
#include "tarelog_version.h"

#include "platform/qt/win_app.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // The one application object, handed to the framework's main entry.
    CTarelogApp theApp;
    QCoreApplication::setApplicationName(QStringLiteral("Tarelog"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARELOG_VERSION));
    return RunApplication(theApp, argc, argv,
        QStringLiteral("Tarelog keeps a body-weight diary, one weight a day, and draws it as a graph."),
        QStringLiteral("The diary to open (a .tlg file)."));
}
