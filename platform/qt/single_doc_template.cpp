#include "platform/qt/single_doc_template.h"

#include "platform/document.h"
#include "platform/qt/document_files.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/message_box.h"
#include "platform/qt/view.h"
#include "platform/qt/win_app.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <utility>

namespace {

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

QString DocumentTitleOf(const std::string& path)
{
    return path.empty() ? QStringLiteral("無題") : QFileInfo(FromPath(path)).fileName();
}

QString NormalizedDocumentPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

CSingleDocTemplate::CSingleDocTemplate(CWinApp& app, int resourceId, FrameResources resources, Classes classes,
    DocumentFiles& files)
    : m_app(app)
    , m_resourceId(resourceId)
    , m_resources(std::move(resources))
    , m_classes(std::move(classes))
    , m_files(files)
    , m_watcher(std::make_unique<QFileSystemWatcher>())
    , m_diskCheck(std::make_unique<QTimer>())
{
    // Writers replace the file in several steps; look once they are done.
    m_diskCheck->setSingleShot(true);
    m_diskCheck->setInterval(300);
    QObject::connect(m_diskCheck.get(), &QTimer::timeout, [this] { CheckFileOnDisk(); });
    auto schedule = [this] { m_diskCheck->start(); };
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, m_diskCheck.get(), schedule);
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_diskCheck.get(), schedule);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAllDocuments();
}

bool CSingleDocTemplate::OpenDocumentFile(const QString& requested)
{
    const QString path = NormalizedDocumentPath(requested);
    // The file already shown is read again only when it changed on disk.
    if (m_frame && !path.isEmpty() && NormalizedDocumentPath(FromPath(m_files.Document().GetPathName())) == path
        && !m_files.ChangedOnDisk(ToPath(path)))
        return true;
    const bool created = !m_frame;
    if (created) {
        if (!CreateFrame())
            return false;
    } else if (!SaveModified()) {
        return false;
    }
    if (path.isEmpty()) {
        m_files.New();
    } else if (!LoadInto(path)) {
        if (created)
            CloseAllDocuments();
        return false;
    }
    // The recovery question names the diary; so does the title behind it.
    AdoptPath(path);
    if (m_files.OfferRecovery(m_frame)) {
        m_files.Document().SetModifiedFlag(true);
        m_files.Document().UpdateAllViews(nullptr, 0);
    }
    ShowDocument();
    // What a sync engine left beside the file is looked at now, not only
    // when the folder changes next.
    if (!path.isEmpty())
        CheckFileOnDisk();
    return true;
}

bool CSingleDocTemplate::LoadInto(const QString& path)
{
    const QString error = m_files.Load(ToPath(path));
    if (!error.isEmpty()) {
        ShowMessageBox(error, MB_OK | MB_ICONERROR, m_frame);
        return false;
    }
    return true;
}

void CSingleDocTemplate::AdoptPath(const QString& path)
{
    // The document now is what the file holds (or a new one, for no path).
    m_files.Document().SetPathName(ToPath(path));
    m_files.Document().SetModifiedFlag(false);
    if (!path.isEmpty())
        m_app.AddToRecentFileList(path);
    Watch(path);
}

bool CSingleDocTemplate::SaveModified()
{
    if (!m_frame || !m_files.Document().IsModified())
        return true;
    const QString question = QStringLiteral("%1 への変更を保存しますか?").arg(DocumentTitle());
    switch (ShowMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION, m_frame)) {
    case IDYES: return DoFileSave();
    case IDNO:
        // The changes are let go on purpose: no copy of them is kept.
        m_files.DropRecovery();
        return true;
    default: return false;
    }
}

bool CSingleDocTemplate::DoFileSave()
{
    if (!m_frame)
        return false;
    if (m_files.Document().GetPathName().empty())
        return DoSaveAs();
    return DoSave(FromPath(m_files.Document().GetPathName()));
}

bool CSingleDocTemplate::DoSaveAs()
{
    if (!m_frame)
        return false;
    QString suggested = FromPath(m_files.Document().GetPathName());
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
    const DocumentFiles::SaveResult result = m_files.Save(ToPath(path), m_frame);
    if (result.cancelled)
        return false;
    if (!result.error.isEmpty()) {
        // The document keeps its name and its modified flag: nothing was saved.
        ShowMessageBox(result.error, MB_OK | MB_ICONERROR, m_frame);
        return false;
    }
    AdoptPath(path);
    if (!result.status.isEmpty())
        ShowStatus(result.status);
    return true;
}

void CSingleDocTemplate::CheckFileOnDisk()
{
    if (!m_frame || m_files.Document().GetPathName().empty())
        return;
    // A replacement by rename drops the file from the watch: take it up again.
    Watch(FromPath(m_files.Document().GetPathName()));
    const QString status = m_files.OnFileChanged(m_frame);
    if (!status.isEmpty())
        ShowStatus(status);
}

void CSingleDocTemplate::Watch(const QString& path)
{
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty() && (path.isEmpty() || !watched.contains(path)))
        m_watcher->removePaths(watched);
    if (path.isEmpty())
        return;
    // The folder too: a file replaced by rename is a change of the folder.
    for (const QString& item : {path, QFileInfo(path).path()}) {
        if (!m_watcher->files().contains(item) && !m_watcher->directories().contains(item) && QFileInfo::exists(item))
            m_watcher->addPath(item);
    }
}

void CSingleDocTemplate::ShowStatus(const QString& text)
{
    if (m_frame)
        m_frame->SetMessageText(text);
}

void CSingleDocTemplate::CloseAllDocuments()
{
    // The frame owns the view; the view detaches itself from the document
    // when it goes. Nobody finds the frame while it is being destroyed.
    m_diskCheck->stop();
    Watch(QString());
    m_view = nullptr;
    delete std::exchange(m_frame, nullptr);
}

CDocument* CSingleDocTemplate::Document() const
{
    return m_frame ? &m_files.Document() : nullptr;
}

QString CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const QString full = m_resources.strings ? m_resources.strings(m_resourceId) : QString();
    const QStringList parts = full.split(QLatin1Char('\n'));
    return index < parts.size() ? parts[index] : QString();
}

QString CSingleDocTemplate::DocumentTitle() const
{
    const std::string path = m_frame ? m_files.Document().GetPathName() : std::string();
    const QString name = GetDocString(docName);
    return path.empty() && !name.isEmpty() ? name : DocumentTitleOf(path);
}

void CSingleDocTemplate::UpdateFrameTitle()
{
    if (m_frame)
        m_frame->SetTitleParts(DocumentTitle(), GetDocString(windowTitle), m_files.Document().IsModified());
}

bool CSingleDocTemplate::CreateFrame()
{
    m_frame = m_classes.frame();
    if (!m_frame || !m_frame->LoadFrame(m_resources)) {
        CloseAllDocuments();
        return false;
    }
    m_files.Document().SetTitleListener([this] { UpdateFrameTitle(); });
    m_view = m_classes.view();
    m_view->SetDocument(&m_files.Document());
    m_frame->SetActiveView(m_view);
    // Later changes reach the title through the document's title listener.
    UpdateFrameTitle();
    return true;
}

void CSingleDocTemplate::ShowDocument()
{
    if (m_view)
        m_view->OnInitialUpdate();
}
