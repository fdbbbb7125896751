#pragma once

#include "platform/qt/frame_wnd.h"

// The main window: the framework frame with the about button in its
// command bar, which also imports other programs' exports dropped on it.
class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    explicit CMainFrame(CWinApp& app)
        : CFrameWnd(app)
    {
    }

protected:
    int OnCreate() override;
    bool PreCreateWindow() override;
    bool AcceptsDroppedImport(const QString& path) const override;
    void ImportDropped(const QString& path) override;
};
