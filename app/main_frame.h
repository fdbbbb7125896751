#pragma once

#include "platform/qt/frame_wnd.h"

class DiaryEditor;

// The main window: the framework frame with the about button in its
// command bar, which also imports other programs' exports dropped on it.
class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    // Imports dropped on the window go through `editor`, so they can be undone.
    explicit CMainFrame(CWinApp& app, DiaryEditor* editor = nullptr)
        : CFrameWnd(app)
        , m_editor(editor)
    {
    }

protected:
    int OnCreate() override;
    bool PreCreateWindow() override;
    bool AcceptsDroppedImport(const QString& path) const override;
    void ImportDropped(const QString& path) override;

private:
    DiaryEditor* m_editor;
};
