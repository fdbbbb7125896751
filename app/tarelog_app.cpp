#include "app/tarelog_app.h"

#include "app/about_dlg.h"
#include "app/app_resources.h"
#include "app/command_ids.h"
#include "app/diary_files.h"
#include "app/diary_undo_stack.h"
#include "app/paste_days.h"
#include "app/main_frame.h"
#include "app/phone_dlg.h"
#include "app/phone_serving.h"
#include "app/start_marker.h"
#include "dialogs/qt/dialog_commands.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/framework_ids.h"
#include "platform/state_folder.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/single_doc_template.h"
#include "view/qt/tarelog_view.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include <utility>

namespace {

// Recovery copies and the start marker, under $XDG_STATE_HOME.
std::string AppStateFolder()
{
    return StateFolder("tarelog");
}

QString StartMarkerPath()
{
    return QString::fromStdString(AppStateFolder()) + QStringLiteral("/starting");
}

// The handheld's screen is small for a desktop: the first window gets a
// client area twice as wide and twice as high as the handheld's.
QSize FirstWindowSize(const CFrameWnd& frame)
{
    const QWidget* view = frame.GetActiveView();
    return frame.sizeHint() + (view ? view->sizeHint() : QSize());
}

} // namespace

CTarelogApp::CTarelogApp()
    : m_undo(std::make_unique<DiaryUndoStack>())
{
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_FILE_PHONE, [this] { OnFilePhone(); });
    BindEditCommands();
}

void CTarelogApp::BindEditCommands()
{
    OnCommand(ID_EDIT_UNDO, [this] { m_undo->Undo(GetMainWnd()); });
    OnUpdateCommand(ID_EDIT_UNDO, [this](CCmdUI& ui) { ui.Enable(m_undo->CanUndo()); });
    OnCommand(ID_EDIT_REDO, [this] { m_undo->Redo(GetMainWnd()); });
    OnUpdateCommand(ID_EDIT_REDO, [this](CCmdUI& ui) { ui.Enable(m_undo->CanRedo()); });
    OnCommand(ID_EDIT_PASTE, [this] { PasteDays(GetMainWnd(), *m_undo); });
}

CTarelogApp::~CTarelogApp()
{
    // The windows show the diary that m_files holds: they go first.
    if (CSingleDocTemplate* docTemplate = DocTemplate())
        docTemplate->CloseAllDocuments();
}

CTarelogDoc* CTarelogApp::Diary() const
{
    return DocTemplate() && DocTemplate()->Document() ? &m_files->Diary() : nullptr;
}

bool CTarelogApp::TakeReopen()
{
    return std::exchange(s_reopenPending, false);
}

void CTarelogApp::AddDiaryTemplate()
{
    m_files = std::make_unique<DiaryFiles>(AppStateFolder(), *m_undo);
    m_undo->Attach(m_files->Diary());
    CSingleDocTemplate::Classes classes;
    classes.frame = [this] { return new CMainFrame(*this, m_undo.get()); };
    classes.view = [this] {
        const DataDialogs dialogs{RunWeightEntryCommand, RunEditListCommand, RunColorCommand, RunUnitDigitsCommand,
            RunGoalCommand, RunCorrectDayCommand, RunDeleteDayCommand};
        return new CTarelogView(m_files->Diary(), GetProfileStore(), dialogs, nullptr, m_undo.get(), this);
    };
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(*this, IDR_MAINFRAME, MainFrameResources(), classes, *m_files));
}

bool CTarelogApp::InitInstance()
{
    // Before anything reads the profile: the view's colours, the recent files.
    SetRegistryKey(QStringLiteral("Ostrel"));
    LoadStdProfileSettings(4);

    AddDiaryTemplate();
    if (qApp) {
        // Message boxes take their title from the application's name.
        QApplication::setApplicationName(QStringLiteral("Tarelog"));
        QApplication::setWindowIcon(AppIcon());
        // Lets the desktop match the window with its entry (name, icon).
        QGuiApplication::setDesktopFileName(QStringLiteral("org.ostrel.tarelog"));
        // The window speaks Japanese whatever the system's language: Qt's
        // own texts, and the dates and sizes its file dialogs show.
        InstallQtJapanese();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }

    // A start that died opening the last diary (a file that crashes or
    // hangs the window) must not lock the user out: this one skips it.
    m_startMarker = std::make_unique<StartMarker>(StartMarkerPath());
    const bool interrupted = m_startMarker->Take();
    if (interrupted)
        s_reopenPending = false;

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return false;

    CFrameWnd* frame = GetMainWnd();
    m_phone = std::make_unique<PhoneServing>();
    QObject::connect(m_phone.get(), &PhoneServing::dayRecorded, frame, &CFrameWnd::SetMessageText);
    // A new, opened or renamed diary changes the title: the page follows it.
    QObject::connect(frame, &QWidget::windowTitleChanged, m_phone.get(), [this] { FollowDiaryWithPhone(); });
    FollowDiaryWithPhone();

    RestoreMainWindowPlacement(FirstWindowSize(*frame));
    frame->show();
    // Painted before the message loop starts.
    frame->repaint();
    if (interrupted)
        frame->SetMessageText(
            QStringLiteral("前回の起動が最後のファイルを開く途中で終わったため、自動では開きませんでした。"));
    // Queued behind the reopen request that start-up posted: the marker goes
    // once that file has been opened and painted.
    QMetaObject::invokeMethod(
        frame,
        [this] {
        if (CFrameWnd* shown = GetMainWnd())
            shown->repaint();
        m_startMarker->Release();
        },
        Qt::QueuedConnection);
    return true;
}

int CTarelogApp::ExitInstance()
{
    // An orderly end is no interrupted start, whatever was painted.
    if (m_startMarker)
        m_startMarker->Release();
    return CWinApp::ExitInstance();
}

void CTarelogApp::OnAppAbout()
{
    CAboutDlg aboutDlg(GetMainWnd());
    aboutDlg.DoModal();
}

std::string CTarelogApp::OpenDiaryPath() const
{
    const CTarelogDoc* diary = Diary();
    return diary ? diary->GetPathName() : std::string();
}

void CTarelogApp::OnFilePhone()
{
    CPhoneDlg dialog(*m_phone, GetProfileStore(), OpenDiaryPath(), GetMainWnd());
    dialog.exec();
}

void CTarelogApp::FollowDiaryWithPhone()
{
    if (!m_phone || !PhoneServingRemembered(GetProfileStore()))
        return;
    const std::string path = OpenDiaryPath();
    if (path.empty()) {
        m_phone->Stop();
        return;
    }
    if (m_phone->IsServing() && m_phone->DiaryPath() == path)
        return;
    const QString failed = m_phone->Serve(path);
    if (!failed.isEmpty() && GetMainWnd())
        GetMainWnd()->SetMessageText(failed);
}
