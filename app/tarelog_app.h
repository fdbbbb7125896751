#pragma once

#include "platform/qt/win_app.h"

// The application: sets up the profile under "Ostrel", the recent-file
// list, the document template binding the diary, the main frame and the
// graph view, and opens what the command line asks for.
class CTarelogApp : public CWinApp {
public:
    CTarelogApp();

    bool InitInstance() override;
    int ExitInstance() override;

private:
    void OnAppAbout();
};
