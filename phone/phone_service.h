#pragma once

#include "platform/http_exchange.h"

#include <memory>
#include <string>

// The diary's page for its owner's phones, and the API for scripts: every
// request the server receives is answered here, whatever carries it.
class PhoneService {
public:
    struct Options {
        std::string diaryPath;  // absolute; created by the first entry
        std::string baseUrl;    // "https://192.168.1.20:8765", for the links it prints
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
// running server accepts a link made by another process.
std::string NewPairingLink(const std::string& diaryPath, const std::string& baseUrl);
