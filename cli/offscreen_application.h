#pragma once

#include <memory>
#include <string>

class QGuiApplication;

// The Qt application that fonts and images need, for drawing without a
// display: the offscreen platform unless QT_QPA_PLATFORM names another.
// Outside a desktop session nobody provides XDG_RUNTIME_DIR and Qt warns
// about it on every start; a private runtime folder stands in for the run
// and is removed afterwards, so a normal run prints nothing.
class OffscreenApplication {
public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

private:
    std::string m_runtimeDir; // empty when the session gave one
    std::unique_ptr<QGuiApplication> m_application;
};
