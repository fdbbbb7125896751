#pragma once

#include "platform/qt/font_config_warm_up.h"

#include <memory>
#include <optional>
#include <string>

class QGuiApplication;

// The Qt application that fonts and images need for a program that only
// draws (tarelog-cli render); other programs use offscreen_gui.h. Its own
// file, so that linking it pulls in no Qt Widgets.
//
// The Qt application that fonts and images need, for drawing without a
// display: the offscreen platform unless QT_QPA_PLATFORM names another.
// Outside a desktop session nobody provides XDG_RUNTIME_DIR and Qt warns
// about it on every start; a private runtime folder stands in for the run
// and is removed afterwards, so a normal run prints nothing.
//
// Two steps, so that the caller's own start-up work (loading the diary)
// overlaps fontconfig's: the constructor settles the environment and starts
// fontconfig on a thread (nothing may change the environment after that),
// Start() makes the application and waits for fontconfig.
class OffscreenApplication {
public:
    // `program` names the application and its private runtime folder.
    explicit OffscreenApplication(const char* program);
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

    void Start();

private:
    std::string m_program;
    std::string m_runtimeDir; // empty when the session gave one
    std::optional<FontConfigWarmUp> m_fonts;
    std::unique_ptr<QGuiApplication> m_application;
};
