#include "platform/qt/single_doc_template.h"

#include "platform/document.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/message_box.h"
#include "platform/qt/view.h"
#include "platform/qt/win_app.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kUntitled = QStringLiteral("無題");

// Documents keep their paths in UTF-8.
std::string ToPath(const QString& path)
{
    return path.toStdString();
}

QString FromPath(const std::string& path)
{
    return QString::fromStdString(path);
}

} // namespace

QString NormalizedDocumentPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

CSingleDocTemplate::CSingleDocTemplate(int resourceId, FrameResources resources, Classes classes, FileFunctions files)
    : m_resourceId(resourceId)
    , m_resources(std::move(resources))
    , m_classes(std::move(classes))
    , m_files(std::move(files))
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAllDocuments();
}

bool CSingleDocTemplate::OpenDocumentFile(const QString& requested)
{
    const QString path = NormalizedDocumentPath(requested);
    // The file already shown is not read again (and not questioned about).
    if (m_document && !path.isEmpty() && NormalizedDocumentPath(FromPath(m_document->GetPathName())) == path)
        return true;
    const bool created = !m_document;
    if (created) {
        if (!CreateFrame())
            return false;
    } else if (!SaveModified()) {
        return false;
    }
    if (path.isEmpty()) {
        m_document->OnNewDocument();
    } else {
        const QString error = m_files.load(*m_document, ToPath(path));
        if (!error.isEmpty()) {
            ShowMessageBox(error, MB_OK | MB_ICONERROR, m_frame);
            if (created)
                CloseAllDocuments();
            return false;
        }
        m_document->SetPathName(ToPath(path));
        m_document->SetModifiedFlag(false);
        if (CWinApp* app = CurrentApp())
            app->AddToRecentFileList(path);
    }
    ShowDocument();
    return true;
}

bool CSingleDocTemplate::SaveModified()
{
    if (!m_document || !m_document->IsModified())
        return true;
    const QString question = QStringLiteral("%1 への変更を保存しますか?").arg(DocumentTitle());
    switch (ShowMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION, m_frame)) {
    case IDYES: return DoFileSave();
    case IDNO: return true;
    default: return false;
    }
}

bool CSingleDocTemplate::DoFileSave()
{
    if (!m_document)
        return false;
    if (m_document->GetPathName().empty())
        return DoSaveAs();
    return DoSave(FromPath(m_document->GetPathName()));
}

bool CSingleDocTemplate::DoSaveAs()
{
    if (!m_document)
        return false;
    QString suggested = FromPath(m_document->GetPathName());
    if (suggested.isEmpty())
        suggested = DocumentTitle() + GetDocString(filterExt);
    const QString chosen = AskFileName(FileDialogKind::Save, m_frame, suggested, GetDocString(filterName),
                                          GetDocString(filterExt));
    if (chosen.isEmpty())
        return false;
    return DoSave(NormalizedDocumentPath(chosen));
}

bool CSingleDocTemplate::DoSave(const QString& path)
{
    const QString error = m_files.save(*m_document, ToPath(path));
    if (!error.isEmpty()) {
        // The document keeps its name and its modified flag: nothing was saved.
        ShowMessageBox(error, MB_OK | MB_ICONERROR, m_frame);
        return false;
    }
    m_document->SetPathName(ToPath(path));
    m_document->SetModifiedFlag(false);
    if (CWinApp* app = CurrentApp())
        app->AddToRecentFileList(path);
    UpdateFrameTitle();
    return true;
}

void CSingleDocTemplate::CloseAllDocuments()
{
    // The frame owns the view; the view detaches itself from the document
    // when it goes, so the document is destroyed last.
    delete m_frame;
    m_frame = nullptr;
    m_view = nullptr;
    m_document.reset();
}

QString CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const QString full = m_resources.strings ? m_resources.strings(m_resourceId) : QString();
    const QStringList parts = full.split(QLatin1Char('\n'));
    return index < parts.size() ? parts[index] : QString();
}

QString CSingleDocTemplate::DocumentTitle() const
{
    if (!m_document || m_document->GetPathName().empty()) {
        const QString name = GetDocString(docName);
        return name.isEmpty() ? kUntitled : name;
    }
    return QFileInfo(FromPath(m_document->GetPathName())).fileName();
}

void CSingleDocTemplate::UpdateFrameTitle()
{
    if (m_frame)
        m_frame->SetTitleParts(DocumentTitle(), GetDocString(windowTitle), m_document && m_document->IsModified());
}

bool CSingleDocTemplate::CreateFrame()
{
    m_document = m_classes.document();
    m_frame = m_classes.frame();
    if (!m_frame || !m_frame->LoadFrame(m_resources)) {
        CloseAllDocuments();
        return false;
    }
    m_view = m_classes.view(*m_document);
    m_view->SetDocument(m_document.get());
    m_frame->SetActiveView(m_view);
    if (CWinApp* app = CurrentApp(); app && !app->m_pMainWnd)
        app->m_pMainWnd = m_frame;
    return true;
}

void CSingleDocTemplate::ShowDocument()
{
    UpdateFrameTitle();
    if (m_view)
        m_view->OnInitialUpdate();
}
