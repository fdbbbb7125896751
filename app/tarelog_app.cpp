#include "app/tarelog_app.h"

#include "app/about_dlg.h"
#include "app/app_resources.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "doc/diary_file.h"
#include "doc/tarelog_doc.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/single_doc_template.h"
#include "view/tarelog_view.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

namespace {

QString LoadDiary(CDocument& doc, const std::string& path)
{
    const DiaryFileError error = LoadDiaryFile(path, static_cast<CTarelogDoc&>(doc));
    return error ? QString::fromStdString(error.JapaneseMessage()) : QString();
}

QString SaveDiary(const CDocument& doc, const std::string& path)
{
    const DiaryFileError error = SaveDiaryFile(static_cast<const CTarelogDoc&>(doc), path);
    return error ? QString::fromStdString(error.JapaneseMessage()) : QString();
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
{
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
}

bool CTarelogApp::InitInstance()
{
    // Before anything reads the profile: the view's colours, the recent files.
    SetRegistryKey(QStringLiteral("Ostrel"));
    LoadStdProfileSettings(4);

    CSingleDocTemplate::Classes classes;
    classes.document = [] { return std::make_unique<CTarelogDoc>(); };
    classes.frame = [] { return new CMainFrame; };
    classes.view = [this](CDocument&) { return new CTarelogView(GetProfileStore()); };
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, MainFrameResources(), classes,
                                                        CSingleDocTemplate::FileFunctions{LoadDiary, SaveDiary}));
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

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return false;

    RestoreMainWindowPlacement(FirstWindowSize(*m_pMainWnd));
    m_pMainWnd->show();
    // Painted before the message loop starts.
    m_pMainWnd->repaint();
    return true;
}

void CTarelogApp::OnAppAbout()
{
    CAboutDlg aboutDlg(m_pMainWnd);
    aboutDlg.DoModal();
}
