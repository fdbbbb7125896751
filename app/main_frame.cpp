#include "app/main_frame.h"

#include "app/app_resources.h"
#include "app/import_drop.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/view.h"

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

bool CMainFrame::AcceptsDroppedImport(const QString& path) const
{
    return IsDroppableExport(path);
}

void CMainFrame::ImportDropped(const QString& path)
{
    CView* view = GetActiveView();
    if (auto* doc = view ? dynamic_cast<CTarelogDoc*>(view->GetDocument()) : nullptr)
        ImportDroppedExport(this, path, *doc, m_editor);
}
