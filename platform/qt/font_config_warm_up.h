#pragma once

#include <thread>

// Reading fontconfig's configuration and caches is the biggest single cost
// of a render's start-up (a few milliseconds of XML and cache files), and
// nothing before the first text needs it: this starts it on a thread of its
// own, beside loading the diary and starting Qt, and waits for it when
// destroyed or asked. Fontconfig's initialisation is thread-safe, and Qt
// then finds the configuration loaded.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    void Wait();

private:
    std::thread m_thread;
};
