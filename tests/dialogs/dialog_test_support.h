#pragma once

#include "platform/qt/dialog.h"
#include "platform/qt/message_box.h"
#include "platform/qt/offscreen_gui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// One offscreen application for every widget test, created on first use
// so that listing the tests needs no window system.
inline void EnsureApplication()
{
    QStandardPaths::setTestModeEnabled(true);
    EnsureOffscreenWidgetApplication("dialogs_tests");
}

// Runs the event loop for about `ms` milliseconds.
inline void PumpEvents(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Runs the event loop until `done` holds, for at most `ms` milliseconds.
template <class Done> bool PumpUntil(Done done, int ms = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Answers every message box with `answer` and keeps the texts shown.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK)
        : m_answer(answer)
    {
        SetMessageBoxResponder([this](const QString& text, unsigned type) {
            m_texts << text;
            m_types.push_back(type);
            return m_answer;
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxResponder(nullptr); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void Answer(int answer) { m_answer = answer; }
    const QStringList& Texts() const { return m_texts; }
    const std::vector<unsigned>& Types() const { return m_types; }

private:
    int m_answer;
    QStringList m_texts;
    std::vector<unsigned> m_types;
};

// Dialog units to pixels worked out here from the font itself, so layout
// tests compare against the template tables, not against the dialog's own
// conversion.
struct TemplateUnits {
    explicit TemplateUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX = (letters / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int X(int units) const { return static_cast<int>(std::lround(units * baseX / 4.0)); }
    int Y(int units) const { return static_cast<int>(std::lround(units * baseY / 8.0)); }
    QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
    int baseX = 0;
    int baseY = 0;
};

// Closes a modal dialog that a failed test left open, so the run goes on.
class ModalWatchdog {
public:
    ModalWatchdog()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal dialog was left open";
                modal->close();
            }
        });
        m_timer.start(5000);
    }

private:
    QTimer m_timer;
};

// Runs `command` (which opens a modal dialog of type Dlg) and lets `act`
// work the dialog once it is shown.
template <class Dlg, class Command, class Act> void DriveModal(Command command, Act act)
{
    ModalWatchdog watchdog;
    QTimer::singleShot(0, [act] {
        auto* dlg = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
    });
    command();
}

// Control ids in the order the Tab key visits them.
inline std::vector<int> TabOrder(QWidget* dialog)
{
    std::vector<int> ids;
    for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain()) {
        const std::optional<int> id = ControlIdOf(w);
        if (id && (w->focusPolicy() & Qt::TabFocus) && !w->isHidden())
            ids.push_back(*id);
    }
    return ids;
}

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }
};
