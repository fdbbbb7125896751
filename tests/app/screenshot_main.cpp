// Renders the main window offscreen with a diary and the three averages on,
// for the README: tarelog-screenshot DIARY OUTPUT.png [ABOUT.png], the
// about box into the second picture when it is named. The profile lives in
// a temporary folder, with the colours a user might pick in the colour
// dialog, so the picture never depends on (or changes) anyone's settings.
#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/tarelog_app.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/offscreen_gui.h"
#include "view/qt/tarelog_view.h"

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: tarelog-screenshot DIARY OUTPUT.png [ABOUT.png]\n");
        return 2;
    }
    PreferOffscreenPlatform();
    QApplication application(argc, argv);
    QTemporaryDir profile;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile.path());
    qputenv("XDG_STATE_HOME", profile.path().toLocal8Bit());
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
            QStringLiteral("Tarelog"));
        const int colours[7] = {0xC03000, 0xC8C8C8, 0x404040, 0x606060, 0x00A000, 0x0080FF, 0xC000C0};
        for (int i = 0; i < 7; ++i)
            settings.setValue(QStringLiteral("色/%1").arg(i), colours[i]);
    }
    int status = 1;
    {
        CTarelogApp app;
        app.SetCommandLine({QString::fromLocal8Bit(argv[1])});
        if (app.InitInstance()) {
            QCoreApplication::processEvents();
            for (int id : {ID_AVG_NARROW, ID_AVG_NORMAL, ID_AVG_WIDE})
                app.m_pMainWnd->RouteCommand(id);
            QCoreApplication::processEvents();
            status = app.m_pMainWnd->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
            if (argc == 4) {
                CAboutDlg about(app.m_pMainWnd);
                about.InitDialog();
                about.show();
                QCoreApplication::processEvents();
                if (!about.grab().save(QString::fromLocal8Bit(argv[3])))
                    status = 1;
            }
        }
        app.ExitInstance();
    }
    return status;
}
