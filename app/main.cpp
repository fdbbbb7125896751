#include "app/tarelog_app.h"
#include "tarelog_version.h"

#include "platform/qt/win_app.h"

#include <QCoreApplication>

// The one application object; the framework's main entry finds it.
CTarelogApp theApp;

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarelog"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARELOG_VERSION));
    return RunApplication(argc, argv,
                          QStringLiteral("Tarelog keeps a body-weight diary, one weight a day, and draws it as a graph."));
}
