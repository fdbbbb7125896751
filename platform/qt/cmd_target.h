#pragma once

#include <QEvent>
#include <functional>
#include <map>

class QAction;
class QObject;

// What an update handler may change about one command's menu item, button
// or accelerator: the enabled state and the check mark. Without an update
// handler a command with a handler stays enabled and unchecked.
class CCmdUI {
public:
    explicit CCmdUI(int id)
        : m_nID(id)
    {
    }

    void Enable(bool enabled = true) { m_enabled = enabled; }
    void SetCheck(bool checked = true) { m_checked = checked; }
    // One of a group of items of which one is chosen: shown with a radio
    // mark, filled when `on`.
    void SetRadio(bool on = true)
    {
        m_radio = true;
        m_checked = on;
    }
    bool IsEnabled() const { return m_enabled; }
    bool IsChecked() const { return m_checked; }
    bool IsRadio() const { return m_radio; }

    const int m_nID;

private:
    bool m_enabled = true;
    bool m_checked = false;
    bool m_radio = false;
};

// An object with a message map: command ids bound to handlers and to
// update handlers. Routing between targets is the frame's.
class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    virtual ~CCmdTarget() = default;

    // True when this target has a handler for `id` and ran it.
    virtual bool OnCmdMsg(int id);
    // True when this target handles `id`; `ui` is then filled in.
    virtual bool OnUpdateCmdUI(CCmdUI& ui);
    bool HandlesCommand(int id) const;

protected:
    void OnCommand(int id, Handler handler);
    void OnCommandRange(int first, int last, std::function<void(int)> handler);
    void OnUpdateCommand(int id, UpdateHandler handler);

private:
    std::map<int, Handler> m_commands;
    std::map<int, UpdateHandler> m_updates;
};

// A command posted to a window: delivered from the event loop after the
// current event has been handled, like a posted WM_COMMAND.
class CommandEvent : public QEvent {
public:
    explicit CommandEvent(int id)
        : QEvent(EventType())
        , m_id(id)
    {
    }
    int Id() const { return m_id; }
    static QEvent::Type EventType();

private:
    int m_id;
};

void PostCommand(QObject* window, int id);

// Tests watch the commands that reach their handlers, whatever their source
// (menu, accelerator, button, posted). Empty to stop watching.
using CommandObserver = std::function<void(int id)>;
void SetCommandObserver(CommandObserver observer);
void NotifyCommandRouted(int id);
