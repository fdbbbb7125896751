#pragma once

#include "platform/qt/win_app.h"
#include "view/start_reopen.h"

#include <memory>
#include <string>

class CTarelogDoc;
class DiaryFiles;
class DiaryUndoStack;
class PhoneServing;
class StartMarker;

// The application: sets up the profile under "Ostrel", the recent-file
// list, the document template binding the diary, the main frame and the
// graph view, and opens what the command line asks for. It knows whether
// this start still reopens the most recent diary; the graph asks it.
class CTarelogApp : public CWinApp, public StartReopen {
public:
    CTarelogApp();

    bool InitInstance() override;
    int ExitInstance() override;

    ~CTarelogApp() override;

    // The window's undo history, through which every change it makes goes.
    DiaryUndoStack& UndoStack() { return *m_undo; }
    // The diary and its file (from InitInstance on).
    DiaryFiles& Files() { return *m_files; }
    // The diary while the window shows it, else nullptr.
    CTarelogDoc* Diary() const;

    bool TakeReopen() override;

private:
    void OnAppAbout();
    void BindEditCommands();
    void AddDiaryTemplate();
    void OnFilePhone();
    // The path of the diary shown, empty for a new one or none.
    std::string OpenDiaryPath() const;
    // Serves the open diary to phones while the user wants it served.
    void FollowDiaryWithPhone();

    std::unique_ptr<DiaryUndoStack> m_undo;
    std::unique_ptr<DiaryFiles> m_files;
    // Process-wide, as the one application is: true until the first initial
    // update of the view has asked for the reopen, or the start skips it.
    bool s_reopenPending = true;
    std::unique_ptr<StartMarker> m_startMarker; // held until the first paint (start_marker.h)
    std::unique_ptr<PhoneServing> m_phone;
};
