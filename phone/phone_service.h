#pragma once

#include "platform/http_exchange.h"

#include "phone/day_entry.h"
#include "platform/calendar_date.h"
#include "platform/profile_store.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The diary's page for its owner's phones, and the API for scripts: every
// request the server receives is answered here, whatever carries it.
class PhoneService {
public:
    struct Options {
        std::string diaryPath; // absolute; created by the first entry
        std::string baseUrl;   // "https://192.168.1.20:8765", for the links it prints
        // Where the devices are kept; empty for the user's state folder.
        std::string stateFolder = {};
        // The user's settings, where the window keeps the diary's goal and
        // the graph's colours; none draws black on white without a goal.
        // Read under the service's own lock, so it needs no locking itself.
        const ProfileStore* profile = nullptr;
        // Seconds since the epoch and the local day; the system's when empty.
        std::function<std::int64_t()> clock = {};
        std::function<CalendarDate()> today = {};
        // Told of every day a phone or a script recorded, after it is on
        // disk, on the thread that served the request.
        std::function<void(const DayWeight&)> recorded = {};
    };

    explicit PhoneService(Options options);
    ~PhoneService();
    PhoneService(const PhoneService&) = delete;
    PhoneService& operator=(const PhoneService&) = delete;

    // Safe to call from several threads at once.
    HttpResponse Handle(const HttpRequest& request);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// A fresh one-time pairing link for the diary: baseUrl + "/pair/" + secret,
// valid for 10 minutes, kept (hashed) in the user's state folder so that a
// running server accepts a link made by another process. Throws
// std::runtime_error, saying why in English, when it cannot be kept.
std::string NewPairingLink(const std::string& diaryPath, const std::string& baseUrl);
