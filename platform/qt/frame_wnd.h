#pragma once

#include "platform/qt/cmd_target.h"
#include "platform/qt/command_action_info.h"
#include "platform/qt/resources.h"

#include <QIcon>
#include <QMainWindow>
#include <unordered_map>
#include <vector>

class CView;
class CWinApp;
class QAction;
class QMimeData;
class QMenu;
class QToolBar;

// The framework's main frame: the command bar (menu bar and tool bar), the
// accelerators, the one view in the client area, and the routing of every
// command id: view first, then the frame, then the application. Menu items,
// keys, buttons and posted commands all take that one road, and a command
// whose update handler disables it is not run, whatever its source.
class CFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    // `app` is the last target of the command routing and answers for the
    // files: the save question on close, a dropped diary, the recent list.
    explicit CFrameWnd(CWinApp& app);
    ~CFrameWnd() override;

    // Builds the window from its resources through OnCreate; false when the
    // creation failed (the frame must then be destroyed).
    bool LoadFrame(const FrameResources& resources);

    void SetActiveView(CView* view);
    CView* GetActiveView() const { return m_view; }

    // True when a handler ran.
    bool RouteCommand(int id);
    // The state the update handlers give `id`; disabled when nobody handles it.
    CCmdUI QueryCommandState(int id);

    // "name - application", with "*" after a modified document's name.
    void SetTitleParts(const QString& documentTitle, const QString& appTitle, bool modified);

    // A note in the status bar, until the next prompt replaces it.
    void SetMessageText(const QString& text);
    // What the status bar shows while nothing else is said; empty gives the
    // string table's idle message back.
    void SetIdleText(const QString& text);

    QToolBar* CommandBar() const { return m_commandBar; }
    QAction* FindAction(int id) const;
    QMenu* FindPopup(const QString& text) const;
    // Source::None for an action that sends no command.
    CommandActionInfo ActionInfo(const QAction* action) const;

protected:
    // The base builds the menu bar and tool bar; derived frames add buttons.
    // -1 fails the creation.
    virtual int OnCreate();
    virtual bool PreCreateWindow() { return true; }

    bool InsertButtons(const std::vector<ButtonResource>& buttons, const QIcon& bitmap);
    bool AddAdornments(unsigned flags);

    bool event(QEvent* event) override;
    // The command bar is part of the window, not something to hide.
    QMenu* createPopupMenu() override { return nullptr; }
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // A dropped file that is not a diary: frames that import other
    // programs' files say which they take, and import them once the drop
    // has been handled.
    virtual bool AcceptsDroppedImport(const QString&) const { return false; }
    virtual void ImportDropped(const QString&) {}

private:
    // The first dropped file AcceptsDroppedImport takes, or empty.
    QString DroppedImport(const QMimeData* data) const;
    // The document's file extension, from the template's document string:
    // dropped files with it are opened.
    QString DocumentExtension() const;
    void BuildMenuBar();
    void BuildAccelerators();
    QAction* NewCommandAction(const QString& text, CommandActionInfo info, QObject* owner);
    void UpdateCommandBar();
    void UpdateMenu(QMenu* menu);
    void UpdateRecentFileItems(QMenu* menu, QAction* placeholder);
    void ShowAsRadio(QMenu* menu, QAction* action);
    void ShowIdleMessage(const QString& message);
    void KeepPromptsWhole();

    CWinApp& m_app;
    FrameResources m_resources;
    CView* m_view = nullptr;
    QToolBar* m_commandBar = nullptr;
    std::vector<QAction*> m_recentActions;
    QString m_idleText;
    std::unordered_map<const QAction*, CommandActionInfo> m_actions;
};
