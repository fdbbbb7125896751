#include "platform/qt/cmd_target.h"

#include <QCoreApplication>
#include <QObject>

namespace {

CommandObserver& Observer()
{
    static CommandObserver observer;
    return observer;
}

} // namespace

bool CCmdTarget::OnCmdMsg(int id)
{
    const auto found = m_commands.find(id);
    if (found == m_commands.end())
        return false;
    // A handler may replace this target's own map entries (not done today,
    // but cheap to allow): run a copy.
    const Handler handler = found->second;
    handler();
    return true;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI& ui)
{
    const auto found = m_updates.find(ui.m_nID);
    if (found != m_updates.end()) {
        found->second(ui);
        return true;
    }
    return HandlesCommand(ui.m_nID);
}

bool CCmdTarget::HandlesCommand(int id) const
{
    return m_commands.count(id) != 0;
}

void CCmdTarget::OnCommand(int id, Handler handler)
{
    m_commands[id] = std::move(handler);
}

void CCmdTarget::OnCommandRange(int first, int last, std::function<void(int)> handler)
{
    for (int id = first; id <= last; ++id)
        m_commands[id] = [handler, id] { handler(id); };
}

void CCmdTarget::OnUpdateCommand(int id, UpdateHandler handler)
{
    m_updates[id] = std::move(handler);
}

QEvent::Type CommandEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostCommand(QObject* window, int id)
{
    QCoreApplication::postEvent(window, new CommandEvent(id));
}

void SetCommandObserver(CommandObserver observer)
{
    Observer() = std::move(observer);
}

void NotifyCommandRouted(int id)
{
    if (Observer())
        Observer()(id);
}
