// tarelog_window_probe: the real application, started the way the program
// starts, with a hook that watches the graph view's paints. bench/compare
// times it as a whole process; nothing here is part of the product.
//
//   tarelog_window_probe paint FILE    exits as soon as the view has painted
//                                      FILE's graph for the first time
//   tarelog_window_probe memory FILE   prints the resident size of the empty
//                                      window after its first paint, then of
//                                      the window with FILE open and painted
//
// Run it with QT_QPA_PLATFORM=offscreen and a throw-away XDG_CONFIG_HOME and
// XDG_STATE_HOME, so the profile and the recovery copies it reads and writes
// are not the user's.
#include "app/tarelog_app.h"
#include "diary/tarelog_doc.h"
#include "view/qt/tarelog_view.h"

#include <QApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

int RecordsOf(const CTarelogView& view)
{
    const CTarelogDoc* doc = view.GetDocument();
    return doc ? doc->GetRecordCount() : -1;
}

enum class Mode { Paint, Memory };

// Lets each paint of the view run, then acts on it. Exits with 0 only when
// the graph painted holds records, so a diary that failed to load cannot
// pass for a fast start.
class PaintWatcher : public QObject {
public:
    PaintWatcher(CWinApp& app, Mode mode, QString file)
        : m_app(app)
        , m_mode(mode)
        , m_file(std::move(file))
    {
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* view = qobject_cast<CTarelogView*>(object);
        if (view == nullptr || event->type() != QEvent::Paint || m_inPaint)
            return false;
        m_inPaint = true;
        static_cast<QObject*>(view)->event(event);
        m_inPaint = false;
        AfterPaint(*view);
        return true;
    }

private:
    void AfterPaint(const CTarelogView& view)
    {
        const int records = RecordsOf(view);
        if (m_mode == Mode::Paint)
            Finish(records > 0 ? 0 : 2);
        if (m_emptyKiB < 0) {
            // A recent file reopened at start-up would leave nothing to compare.
            if (records != 0)
                Finish(4);
            m_emptyKiB = ResidentKiB();
            // Opened from the event loop, as a recent file would be.
            QMetaObject::invokeMethod(
                qApp,
                [this] {
                if (!m_app.OpenDocumentFile(m_file))
                    Finish(3);
                },
                Qt::QueuedConnection);
        } else if (records > 0) {
            const long openKiB = ResidentKiB();
            std::printf("empty_window_kib %ld\nopen_window_kib %ld\nrecords %d\ndelta_kib %ld\n", m_emptyKiB, openKiB,
                records, openKiB - m_emptyKiB);
            Finish(0);
        }
    }

    [[noreturn]] static void Finish(int code)
    {
        std::fflush(stdout);
        ::_exit(code);
    }

    CWinApp& m_app;
    Mode m_mode;
    QString m_file;
    bool m_inPaint = false;
    long m_emptyKiB = -1;
};

class ProbeApp : public CTarelogApp {
public:
    bool InitInstance() override
    {
        const QStringList args = QApplication::arguments();
        if (args.size() != 3 || (args[1] != "paint" && args[1] != "memory")) {
            std::fprintf(stderr, "usage: tarelog_window_probe paint|memory FILE\n");
            return false;
        }
        const Mode mode = args[1] == "paint" ? Mode::Paint : Mode::Memory;
        m_watcher = std::make_unique<PaintWatcher>(*this, mode, args[2]);
        qApp->installEventFilter(m_watcher.get());
        // The paint probe opens the file from the command line, as a user
        // would; the memory probe starts empty and opens it afterwards.
        SetCommandLine(mode == Mode::Paint ? QStringList{args[2]} : QStringList{});
        return CTarelogApp::InitInstance();
    }

private:
    std::unique_ptr<PaintWatcher> m_watcher;
};

} // namespace

int main(int argc, char** argv)
{
    ProbeApp theApp;
    return RunApplication(theApp, argc, argv,
        QStringLiteral("Measures how the window paints and how much memory it holds."));
}
