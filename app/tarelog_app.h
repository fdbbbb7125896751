#pragma once

#include "platform/qt/win_app.h"

#include <memory>

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

private:
    void OnAppAbout();

    std::unique_ptr<StartMarker> m_startMarker; // held until the first paint (start_marker.h)
};
