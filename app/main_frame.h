#pragma once

#include "platform/qt/frame_wnd.h"

// The main window: the framework frame with the about button in its
// command bar.
class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    CMainFrame() = default;

protected:
    int OnCreate() override;
    bool PreCreateWindow() override;
};
