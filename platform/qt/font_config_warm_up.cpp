#include "platform/qt/font_config_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigWarmUp::FontConfigWarmUp()
{
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt initialises fontconfig itself when it needs it.
    }
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    Wait();
}

void FontConfigWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
