#pragma once

#include "platform/qt/cmd_target.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

class CFrameWnd;
class CRecentFileList;
class CSingleDocTemplate;
class ProfileStore;
class QSettings;
class QSettingsProfileStore;

// What the command line asks for: a new empty document, or the file named.
struct CCommandLineInfo {
    enum Shell { FileNew, FileOpen };
    Shell m_nShellCommand = FileNew;
    QString m_strFileName;
};

// The framework's application: the profile, the recent-file list, the one
// document template and the handlers of the file commands that the
// framework answers itself (save, save as, recent files, exit). The
// template and the frame it makes are handed the application they serve.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual bool InitInstance() { return true; }
    // Ends the document, frame and view; the result is the exit code.
    virtual int ExitInstance();
    // The message loop, then ExitInstance.
    int Run();

    // The files named on the command line, its options already read.
    void SetCommandLine(const QStringList& arguments) { m_arguments = arguments; }
    void ParseCommandLine(CCommandLineInfo& info) const;
    bool ProcessShellCommand(const CCommandLineInfo& info);

    void SetRegistryKey(const QString& key);
    void LoadStdProfileSettings(int maxRecentFiles = 4);
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);

    bool OpenDocumentFile(const QString& path);
    void AddToRecentFileList(const QString& path);
    bool SaveAllModified();

    ProfileStore& GetProfileStore();
    CRecentFileList* GetRecentFileList() const { return m_recentFiles.get(); }
    CSingleDocTemplate* DocTemplate() const { return m_template.get(); }
    // The main window: the frame of the document template, nullptr while
    // there is none.
    CFrameWnd* GetMainWnd() const;

    // The main window's size and position between runs, kept in the
    // profile's own group "Window", apart from the program's entries. The
    // first run gets `firstSize`, centred on the screen.
    void RestoreMainWindowPlacement(const QSize& firstSize);
    void SaveMainWindowPlacement();

    void OnFileNew();
    void OnFileOpen();

private:
    QSettings& GetProfileSettings();
    void OnFileSave();
    void OnFileSaveAs();
    void OnOpenRecentFile(int id);
    void OnAppExit();

    QStringList m_arguments;
    std::unique_ptr<QSettingsProfileStore> m_profile;
    std::unique_ptr<CRecentFileList> m_recentFiles;
    std::unique_ptr<CSingleDocTemplate> m_template;
};

// The framework's main entry: the standard options (--help, --version,
// `description` heading the help), then the Qt application around
// InitInstance and the message loop of `app`. The caller sets the
// application's name and version first; `fileHelp` describes the file
// argument in the help.
int RunApplication(CWinApp& app, int argc, char** argv, const QString& description,
    const QString& fileHelp = QString());
