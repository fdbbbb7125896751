#include "app/main_frame.h"

#include "app/app_resources.h"

#include <QIcon>

int CMainFrame::OnCreate()
{
    if (CFrameWnd::OnCreate() == -1)
        return -1;
    if (!InsertButtons(CommandBarButtons(), QIcon(QStringLiteral(":/tarelog/about-16.png"))))
        return -1;
    if (!AddAdornments(0))
        return -1;
    return 0;
}

bool CMainFrame::PreCreateWindow()
{
    return CFrameWnd::PreCreateWindow();
}
