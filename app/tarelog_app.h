#pragma once

#include "platform/qt/single_doc_template.h"
#include "platform/qt/win_app.h"

#include <memory>

class DiaryUndoStack;
class PhoneServing;
class StartMarker;

// The application: sets up the profile under "Ostrel", the recent-file
// list, the document template binding the diary, the main frame and the
// graph view, and opens what the command line asks for.
class CTarelogApp : public CWinApp {
public:
    CTarelogApp();

    bool InitInstance() override;
    int ExitInstance() override;

    ~CTarelogApp() override;

    // The window's undo history, through which every change it makes goes.
    DiaryUndoStack& UndoStack() { return *m_undo; }

private:
    void OnAppAbout();
    void BindEditCommands();
    CSingleDocTemplate::FileFunctions ForgettingFunctions(CSingleDocTemplate::FileFunctions files);
    void OnFilePhone();
    // Serves the open diary to phones while the user wants it served.
    void FollowDiaryWithPhone();

    std::unique_ptr<DiaryUndoStack> m_undo;
    std::unique_ptr<StartMarker> m_startMarker; // held until the first paint (start_marker.h)
    std::unique_ptr<PhoneServing> m_phone;
};
