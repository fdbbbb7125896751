// Renders the main window offscreen with a diary and the three averages on,
// for the README: tarelog-screenshot [VIEW...] DIARY OUTPUT.png [ABOUT.png],
// the about box into the second picture when it is named. VIEW options set
// the view menu first: --range DAYS, --fill, --trend, --goal WEIGHT, and
// --size WxH gives the window's size, --zoom N turns the wheel N notches
// in the middle of the graph and --mark N marks the Nth entry before the
// latest, as the keys would. An empty DIARY ("") shows a new, empty one. The profile lives in
// a temporary folder, with the colours a user might pick in the colour
// dialog, so the picture never depends on (or changes) anyone's settings.
#include "app/about_dlg.h"
#include "app/tarelog_app.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/offscreen_gui.h"
#include "view/qt/tarelog_view.h"
#include "view/view_command_ids.h"
#include "view/view_settings.h"

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QStringList view;
    int first = 1;
    while (first < argc && std::strncmp(argv[first], "--", 2) == 0) {
        const bool flag = !std::strcmp(argv[first], "--fill") || !std::strcmp(argv[first], "--trend");
        view << QString::fromLocal8Bit(argv[first]);
        if (!flag && first + 1 < argc)
            view << QString::fromLocal8Bit(argv[++first]);
        ++first;
    }
    argv += first - 1;
    argc -= first - 1;
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: tarelog-screenshot [VIEW...] DIARY OUTPUT.png [ABOUT.png]\n");
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
        settings.setValue(QStringLiteral("色/7"), 0x2020E0);
        settings.setValue(QStringLiteral("色/8"), 0x20A0E0);
        for (int i = 0; i + 1 < view.size(); ++i) {
            if (view[i] == QStringLiteral("--range"))
                settings.setValue(QStringLiteral("表示/Range"), view[i + 1].toInt());
            if (view[i] == QStringLiteral("--goal"))
                settings.setValue(QStringLiteral("目標/")
                        + QString::fromStdString(
                            GoalEntryName(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toStdString())),
                    qRound(view[i + 1].toDouble() * 1000));
        }
        settings.setValue(QStringLiteral("表示/Fill"), view.contains(QStringLiteral("--fill")) ? 1 : 0);
        settings.setValue(QStringLiteral("表示/Trend"), view.contains(QStringLiteral("--trend")) ? 1 : 0);
    }
    int status = 1;
    {
        CTarelogApp app;
        const QString diary = QString::fromLocal8Bit(argv[1]);
        app.SetCommandLine(diary.isEmpty() ? QStringList() : QStringList{diary});
        if (app.InitInstance()) {
            QCoreApplication::processEvents();
            const int size = view.indexOf(QStringLiteral("--size"));
            if (size >= 0 && size + 1 < view.size()) {
                const QStringList sides = view[size + 1].split(QLatin1Char('x'));
                if (sides.size() == 2)
                    app.GetMainWnd()->resize(sides[0].toInt(), sides[1].toInt());
            }
            QCoreApplication::processEvents();
            for (int id : {ID_AVG_NARROW, ID_AVG_NORMAL, ID_AVG_WIDE})
                app.GetMainWnd()->RouteCommand(id);
            QCoreApplication::processEvents();
            QWidget* graph = app.GetMainWnd()->GetActiveView();
            graph->grab(); // the layout the wheel and the keys read
            const auto number = [&view](const char* option) {
                const int at = view.indexOf(QString::fromLatin1(option));
                return at >= 0 && at + 1 < view.size() ? view[at + 1].toInt() : -1;
            };
            if (const int notches = number("--zoom"); notches > 0) {
                const QPointF middle(graph->width() / 2.0, graph->height() / 2.0);
                QWheelEvent wheel(middle, graph->mapToGlobal(middle), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(graph, &wheel);
                graph->grab();
            }
            if (const int back = number("--mark"); back >= 0) {
                QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
                QApplication::sendEvent(graph, &end);
                for (int i = 0; i < back; ++i) {
                    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
                    QApplication::sendEvent(graph, &left);
                }
            }
            QCoreApplication::processEvents();
            status = app.GetMainWnd()->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
            if (argc == 4) {
                CAboutDlg about(app.GetMainWnd());
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
