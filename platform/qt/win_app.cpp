#include "platform/qt/win_app.h"

#include "platform/document.h"
#include "platform/qt/command_line.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/framework_ids.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/qt/recent_file_list.h"
#include "platform/qt/single_doc_template.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>

namespace {

// The window's placement, in a group of its own beside the profile's entries.
constexpr const char* kWindowGeometry = "Window/geometry";

} // namespace

CWinApp::CWinApp()
{
    OnCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](int id) { OnOpenRecentFile(id); });
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id) {
        // A recent-file command exists only while its entry does; a posted
        // one for a missing entry is dropped.
        OnUpdateCommand(id,
            [this, id](CCmdUI& ui) { ui.Enable(m_recentFiles && id - ID_FILE_MRU_FILE1 < m_recentFiles->GetSize()); });
    }
    OnCommand(ID_APP_EXIT, [this] { OnAppExit(); });
}

CWinApp::~CWinApp()
{
    // The view writes its settings while it is destroyed, so the document
    // and its windows go before the profile does.
    m_template.reset();
}

int CWinApp::ExitInstance()
{
    if (m_template)
        m_template->CloseAllDocuments();
    return 0;
}

int CWinApp::Run()
{
    QApplication::exec();
    return ExitInstance();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const
{
    // The options were read before (ReadStandardOptions): what is left
    // names files, and one document is shown at a time.
    if (m_arguments.isEmpty())
        return;
    info.m_nShellCommand = CCommandLineInfo::FileOpen;
    info.m_strFileName = m_arguments.first();
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    if (!m_template)
        return false;
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen)
        return OpenDocumentFile(info.m_strFileName);
    OnFileNew();
    return m_template->Document() != nullptr;
}

void CWinApp::SetRegistryKey(const QString& key)
{
    m_profile = std::make_unique<QSettingsProfileStore>(key, QString::fromLatin1(kProfileApplication));
}

void CWinApp::LoadStdProfileSettings(int maxRecentFiles)
{
    if (!m_profile)
        SetRegistryKey(QString::fromLatin1(kProfileOrganization));
    m_recentFiles = std::make_unique<CRecentFileList>(m_profile->Settings(), maxRecentFiles);
    m_recentFiles->ReadList();
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate)
{
    m_template = std::move(docTemplate);
}

bool CWinApp::OpenDocumentFile(const QString& path)
{
    return m_template && m_template->OpenDocumentFile(path);
}

void CWinApp::AddToRecentFileList(const QString& path)
{
    if (m_recentFiles)
        m_recentFiles->Add(path);
}

bool CWinApp::SaveAllModified()
{
    return !m_template || m_template->SaveModified();
}

CFrameWnd* CWinApp::GetMainWnd() const
{
    return m_template ? m_template->Frame() : nullptr;
}

ProfileStore& CWinApp::GetProfileStore()
{
    if (!m_profile)
        SetRegistryKey(QString::fromLatin1(kProfileOrganization));
    return *m_profile;
}

void CWinApp::RestoreMainWindowPlacement(const QSize& firstSize)
{
    CFrameWnd* frame = GetMainWnd();
    if (!frame)
        return;
    const QByteArray saved = GetProfileSettings().value(QLatin1String(kWindowGeometry)).toByteArray();
    if (!saved.isEmpty() && frame->restoreGeometry(saved))
        return;
    // Placed by the program, not left to the window manager, so that a
    // message shown at start-up (a recent file that has gone) knows where
    // the window is and appears over it.
    QRect area(QPoint(0, 0), firstSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        area.setSize(firstSize.boundedTo(available.size() * 9 / 10));
        area.moveCenter(available.center());
    }
    frame->resize(area.size());
    frame->move(area.topLeft());
}

void CWinApp::SaveMainWindowPlacement()
{
    if (const CFrameWnd* frame = GetMainWnd())
        GetProfileSettings().setValue(QLatin1String(kWindowGeometry), frame->saveGeometry());
}

QSettings& CWinApp::GetProfileSettings()
{
    GetProfileStore();
    return m_profile->Settings();
}

void CWinApp::OnFileNew()
{
    if (m_template)
        m_template->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen()
{
    if (!m_template)
        return;
    // Start in the folder of the file shown, if any.
    QString folder;
    if (const CDocument* doc = m_template->Document(); doc && !doc->GetPathName().empty())
        folder = QFileInfo(QString::fromStdString(doc->GetPathName())).path();
    const QString path = AskFileName(FileDialogKind::Open, GetMainWnd(), folder,
        m_template->GetDocString(CSingleDocTemplate::filterName),
        m_template->GetDocString(CSingleDocTemplate::filterExt));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CWinApp::OnFileSave()
{
    if (m_template)
        m_template->DoFileSave();
}

void CWinApp::OnFileSaveAs()
{
    if (m_template)
        m_template->DoSaveAs();
}

void CWinApp::OnOpenRecentFile(int id)
{
    const int index = id - ID_FILE_MRU_FILE1;
    if (!m_recentFiles || index >= m_recentFiles->GetSize())
        return;
    const QString path = (*m_recentFiles)[index];
    if (!QFileInfo::exists(path)) {
        // Asked before the save question: there is nothing to open.
        ShowMessageBox(QStringLiteral("%1 が見つかりません。\n最新のファイルの一覧から削除します。")
                           .arg(QDir::toNativeSeparators(path)),
            MB_OK | MB_ICONWARNING, GetMainWnd());
        m_recentFiles->Remove(index);
        return;
    }
    // A file that exists but cannot be read stays in the list: the problem
    // may pass (a network folder, a permission), and the message told why.
    OpenDocumentFile(path);
}

void CWinApp::OnAppExit()
{
    if (CFrameWnd* frame = GetMainWnd())
        frame->close();
}

namespace {

int AnswerOnTerminal(const StandardOptions& options)
{
    std::fputs(options.output.toLocal8Bit().constData(), stdout);
    std::fputs(options.error.toLocal8Bit().constData(), stderr);
    return options.exitCode;
}

} // namespace

int RunApplication(CWinApp& app, int argc, char** argv, const QString& description, const QString& fileHelp)
{
    {
        // --help and --version need no window system, so they answer
        // without a display too (as when the manual page is made).
        QCoreApplication terminal(argc, argv);
        const StandardOptions early = ReadStandardOptions(QCoreApplication::arguments(), description, false, fileHelp);
        if (early.action == StandardOptions::Exit)
            return AnswerOnTerminal(early);
    }
    QApplication application(argc, argv);
    const StandardOptions options = ReadStandardOptions(QApplication::arguments(), description, true, fileHelp);
    if (options.action == StandardOptions::Exit)
        return AnswerOnTerminal(options);
    app.SetCommandLine(options.files);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 1;
    }
    return app.Run();
}
