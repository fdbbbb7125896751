// A window that holds unsaved entries until it is killed, for the tests of
// recovery after a crash: tarelog-unsaved-child DIARY. It adds two days to
// DIARY, waits until the recovery copy is on disk, prints "ready" and runs
// until killed. XDG_STATE_HOME and XDG_CONFIG_HOME come from the test.
#include "app/tarelog_app.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/offscreen_gui.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <cstdio>

namespace {

bool RecoveryCopyWritten()
{
    const QDir folder(qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/tarelog"));
    // The base is written first, the copy itself last.
    for (const QString& name : folder.entryList({QStringLiteral("*.tlg")}, QDir::Files))
        if (!name.endsWith(QStringLiteral(".base.tlg")))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarelog-unsaved-child DIARY\n");
        return 2;
    }
    PreferOffscreenPlatform();
    QApplication application(argc, argv);
    CTarelogApp app;
    app.SetCommandLine({QString::fromLocal8Bit(argv[1])});
    if (!app.InitInstance())
        return 1;
    QCoreApplication::processEvents();
    CTarelogDoc* doc = app.Diary();
    doc->SetDayWeight(55.5, 2024, 6, 1);
    doc->SetDayWeight(55.0, 2024, 6, 2);
    // The copy is written by the window's own timer, as for a person.
    const QDeadlineTimer deadline(20000);
    while (!RecoveryCopyWritten() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
    if (!RecoveryCopyWritten())
        return 3;
    std::puts("ready");
    std::fflush(stdout);
    return QApplication::exec();
}
