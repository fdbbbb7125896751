#include "platform/qt/frame_wnd.h"

#include "platform/qt/framework_ids.h"
#include "platform/qt/recent_file_list.h"
#include "platform/qt/single_doc_template.h"
#include "platform/qt/view.h"
#include "platform/qt/win_app.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

// The first line of a prompt is the status-bar description, the second the
// tooltip.
QString PromptPart(const QString& prompt, int part)
{
    const QStringList parts = prompt.split(QLatin1Char('\n'));
    return part < parts.size() ? parts[part] : QString();
}

// The documents (files ending in `extension`) among what is being dragged,
// in drag order.
QStringList DroppedDocuments(const QMimeData* data, const QString& extension)
{
    QStringList paths;
    if (!data || !data->hasUrls() || extension.isEmpty())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(extension, Qt::CaseInsensitive))
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

CFrameWnd::CFrameWnd(CWinApp& app)
    : m_app(app)
{
    setAcceptDrops(true);
}

CFrameWnd::~CFrameWnd() = default;

bool CFrameWnd::LoadFrame(const FrameResources& resources)
{
    m_resources = resources;
    if (!PreCreateWindow())
        return false;
    return OnCreate() != -1;
}

int CFrameWnd::OnCreate()
{
    BuildMenuBar();
    BuildAccelerators();
    m_commandBar = addToolBar(QString());
    m_commandBar->setObjectName(QStringLiteral("commandBar"));
    m_commandBar->setMovable(false);
    m_commandBar->setIconSize(QSize(16, 16));
    connect(statusBar(), &QStatusBar::messageChanged, this, &CFrameWnd::ShowIdleMessage);
    ShowIdleMessage(QString());
    KeepPromptsWhole();
    return 0;
}

void CFrameWnd::SetActiveView(CView* view)
{
    m_view = view;
    setCentralWidget(view);
}

bool CFrameWnd::RouteCommand(int id)
{
    if (!QueryCommandState(id).IsEnabled())
        return false;
    CCmdTarget* targets[] = {m_view, this, &m_app};
    for (CCmdTarget* target : targets) {
        if (target && target->HandlesCommand(id)) {
            NotifyCommandRouted(id);
            // The handler may end the frame (exit, a failed creation): come
            // back to it only through a guarded pointer.
            QPointer<CFrameWnd> self(this);
            target->OnCmdMsg(id);
            if (self)
                self->UpdateCommandBar();
            return true;
        }
    }
    return false;
}

CCmdUI CFrameWnd::QueryCommandState(int id)
{
    CCmdUI ui(id);
    CCmdTarget* targets[] = {m_view, this, &m_app};
    for (CCmdTarget* target : targets) {
        if (target && target->OnUpdateCmdUI(ui))
            return ui;
    }
    // Nobody handles it: the framework grays it.
    ui.Enable(false);
    return ui;
}

void CFrameWnd::UpdateCommandBar()
{
    // A command may have changed what the buttons' commands allow.
    if (!m_commandBar)
        return;
    for (QAction* action : m_commandBar->actions()) {
        if (const int id = ActionInfo(action).id)
            action->setEnabled(QueryCommandState(id).IsEnabled());
    }
}

void CFrameWnd::SetTitleParts(const QString& documentTitle, const QString& appTitle, bool modified)
{
    setWindowTitle(documentTitle + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") + appTitle);
}

QAction* CFrameWnd::FindAction(int id) const
{
    for (QAction* action : findChildren<QAction*>()) {
        const CommandActionInfo info = ActionInfo(action);
        if (info.id == id && info.source != CommandActionInfo::Source::Accelerator && action->isVisible())
            return action;
    }
    return nullptr;
}

CommandActionInfo CFrameWnd::ActionInfo(const QAction* action) const
{
    const auto found = m_actions.find(action);
    return found == m_actions.end() ? CommandActionInfo{} : found->second;
}

QMenu* CFrameWnd::FindPopup(const QString& text) const
{
    for (QAction* action : menuBar()->actions()) {
        if (action->menu() && action->text() == text)
            return action->menu();
    }
    return nullptr;
}

bool CFrameWnd::InsertButtons(const std::vector<ButtonResource>& buttons, const QIcon& bitmap)
{
    if (!m_commandBar || bitmap.isNull())
        return false;
    for (const ButtonResource& button : buttons) {
        if (button.separator) {
            m_commandBar->addSeparator();
            continue;
        }
        // The bitmap holds one 16 x 16 image per button; this program's has one.
        QAction* action = NewCommandAction(QString(), {button.id, CommandActionInfo::Source::Button}, m_commandBar);
        action->setIcon(bitmap);
        action->setEnabled(button.enabled);
        m_commandBar->addAction(action);
    }
    return true;
}

bool CFrameWnd::AddAdornments(unsigned)
{
    // The window manager's caption already holds the close box; the
    // optional help and OK buttons are not asked for.
    return m_commandBar != nullptr;
}

bool CFrameWnd::event(QEvent* event)
{
    if (event->type() == CommandEvent::EventType()) {
        RouteCommand(static_cast<CommandEvent*>(event)->Id());
        return true;
    }
    return QMainWindow::event(event);
}

void CFrameWnd::closeEvent(QCloseEvent* event)
{
    if (!m_app.SaveAllModified()) {
        event->ignore();
        return;
    }
    if (m_app.GetMainWnd() == this)
        m_app.SaveMainWindowPlacement();
    event->accept();
}

QString CFrameWnd::DroppedImport(const QMimeData* data) const
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && AcceptsDroppedImport(url.toLocalFile()))
            return url.toLocalFile();
    return {};
}

void CFrameWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedDocuments(event->mimeData(), DocumentExtension()).isEmpty()
        || !DroppedImport(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CFrameWnd::dropEvent(QDropEvent* event)
{
    const QStringList paths = DroppedDocuments(event->mimeData(), DocumentExtension());
    if (paths.isEmpty()) {
        const QString import = DroppedImport(event->mimeData());
        if (import.isEmpty())
            return;
        event->acceptProposedAction();
        QTimer::singleShot(0, this, [this, import] { ImportDropped(import); });
        return;
    }
    event->acceptProposedAction();
    // The save question must not run inside the drag-and-drop loop of the
    // window system; open once the drop has been handled. One document at a
    // time: the first diary dropped is the one opened.
    const QString path = paths.first();
    QTimer::singleShot(0, this, [this, path] { m_app.OpenDocumentFile(path); });
}

void CFrameWnd::BuildMenuBar()
{
    if (!m_resources.menu)
        return;
    for (const PopupResource& popup : *m_resources.menu) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.text));
        for (const MenuItemResource& item : popup.items) {
            if (item.flags & kMenuSeparator) {
                menu->addSeparator();
                continue;
            }
            const CommandActionInfo info{item.id, CommandActionInfo::Source::Menu, (item.flags & kMenuGrayed) != 0};
            menu->addAction(NewCommandAction(QString::fromUtf8(item.text), info, menu));
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    }
}

void CFrameWnd::BuildAccelerators()
{
    if (!m_resources.accelerators)
        return;
    // Accelerators live on the frame itself, apart from the menu items, so a
    // key whose command nobody handles simply does nothing.
    for (const AccelResource& accel : *m_resources.accelerators) {
        auto* action = new QAction(this);
        m_actions[action] = {accel.id, CommandActionInfo::Source::Accelerator};
        action->setShortcut(QKeySequence(accel.keys));
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = accel.id;
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        addAction(action);
    }
}

QAction* CFrameWnd::NewCommandAction(const QString& text, CommandActionInfo info, QObject* owner)
{
    auto* action = new QAction(text, owner);
    m_actions[action] = info;
    const int id = info.id;
    if (m_resources.strings) {
        const QString prompt = m_resources.strings(id);
        action->setStatusTip(PromptPart(prompt, 0));
        const QString tip = PromptPart(prompt, 1);
        if (!tip.isEmpty())
            action->setToolTip(tip);
    }
    // The menu item's own text carries the key names; the keys themselves
    // are the accelerator table's.
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    return action;
}

void CFrameWnd::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        const CommandActionInfo info = ActionInfo(action);
        const int id = info.id;
        if (id == ID_FILE_MRU_FILE1 && info.grayed) {
            UpdateRecentFileItems(menu, action);
            continue;
        }
        if (id == 0 || info.source == CommandActionInfo::Source::RecentFile)
            continue;
        const CCmdUI ui = QueryCommandState(id);
        action->setEnabled(ui.IsEnabled());
        if (ui.IsRadio())
            ShowAsRadio(menu, action);
        // Only a checked item shows a check box, as on the handheld; a radio
        // item shows its empty mark too.
        action->setCheckable(ui.IsChecked() || ui.IsRadio());
        action->setChecked(ui.IsChecked());
    }
}

void CFrameWnd::ShowAsRadio(QMenu* menu, QAction* action)
{
    if (action->actionGroup())
        return;
    // The radio items of one menu form one group, which the style draws
    // with radio marks; the update handlers still decide which is on.
    auto* group = menu->findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (!group)
        group = new QActionGroup(menu);
    group->addAction(action);
}

void CFrameWnd::UpdateRecentFileItems(QMenu* menu, QAction* placeholder)
{
    for (QAction* old : m_recentActions) {
        menu->removeAction(old);
        m_actions.erase(old);
        old->deleteLater();
    }
    m_recentActions.clear();
    CRecentFileList* recent = m_app.GetRecentFileList();
    const int count = recent ? recent->GetSize() : 0;
    // The grayed item stands in for an empty list.
    placeholder->setVisible(count == 0);
    placeholder->setEnabled(false);
    for (int i = 0; i < count; ++i) {
        const CommandActionInfo info{ID_FILE_MRU_FILE1 + i, CommandActionInfo::Source::RecentFile};
        QAction* action = NewCommandAction(recent->MenuText(i), info, menu);
        menu->insertAction(placeholder, action);
        m_recentActions.push_back(action);
    }
}

void CFrameWnd::SetMessageText(const QString& text)
{
    statusBar()->showMessage(text);
}

void CFrameWnd::KeepPromptsWhole()
{
    // The status bar cuts a message that is wider than itself; no width the
    // user gives the window may cut the description of a command.
    int widest = 0;
    const QFontMetrics metrics(statusBar()->font());
    for (const QAction* action : findChildren<QAction*>())
        widest = std::max(widest, metrics.horizontalAdvance(action->statusTip()));
    if (m_resources.strings)
        widest = std::max(widest, metrics.horizontalAdvance(m_resources.strings(IDS_IDLE_MESSAGE)));
    // The message's margins and the size grip beside it.
    constexpr int kStatusChrome = 48;
    setMinimumWidth(std::max(minimumWidth(), widest + kStatusChrome));
}

void CFrameWnd::SetIdleText(const QString& text)
{
    const QString shown = statusBar()->currentMessage();
    const bool idle = shown.isEmpty() || shown == m_idleText
        || (m_resources.strings && shown == m_resources.strings(IDS_IDLE_MESSAGE));
    m_idleText = text;
    if (idle)
        ShowIdleMessage(QString());
}

void CFrameWnd::ShowIdleMessage(const QString& message)
{
    if (!message.isEmpty())
        return;
    if (!m_idleText.isEmpty())
        statusBar()->showMessage(m_idleText);
    else if (m_resources.strings)
        statusBar()->showMessage(m_resources.strings(IDS_IDLE_MESSAGE));
}

QString CFrameWnd::DocumentExtension() const
{
    const CSingleDocTemplate* docTemplate = m_app.DocTemplate();
    return docTemplate ? docTemplate->GetDocString(CSingleDocTemplate::filterExt) : QString();
}
