#include "platform/document.h"

#include <algorithm>

void CDocument::UpdateAllViews(CDocumentView* sender, long hint)
{
    // A view may detach itself while updating; walk a copy.
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views)
        if (view != sender)
            view->OnUpdate(this, hint);
}

void CDocument::AddView(CDocumentView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CDocumentView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

bool CDocument::OnNewDocument()
{
    m_modified = false;
    m_pathName.clear();
    return true;
}
