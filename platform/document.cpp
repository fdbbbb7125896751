#include "platform/document.h"

#include <algorithm>

void CDocument::SetModifiedFlag(bool modified)
{
    const bool changed = modified != m_modified;
    m_modified = modified;
    if (changed)
        NotifyTitleListener();
    if (modified && m_changeListener)
        m_changeListener();
}

void CDocument::SetPathName(const std::string& path)
{
    if (path == m_pathName)
        return;
    m_pathName = path;
    NotifyTitleListener();
}

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
    const bool changed = m_modified || !m_pathName.empty();
    m_modified = false;
    m_pathName.clear();
    if (changed)
        NotifyTitleListener();
    return true;
}

void CDocument::NotifyTitleListener()
{
    if (m_titleListener)
        m_titleListener();
}
