#pragma once

#include "platform/result.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The phones and scripts let into one diary's page, and the pairing links
// not yet used. They live in the user's state folder, one file per diary
// (phone/<digest of the diary's path>.json), never beside the diary, where
// a sync engine would carry them to other machines. Every change is a
// read-modify-write under the file's write lock, written by safe replace,
// so that `tarelog-cli pair` and a running server agree. Only the SHA-256
// digests of secrets are kept.
struct Device {
    enum class Kind { Phone, Token };
    std::string name;
    Kind kind = Kind::Phone;
    std::int64_t pairedAt = 0; // seconds since the epoch
    std::string digest;        // of its secret
};

const char* KindName(Device::Kind kind); // "phone" or "token"

class DeviceStore {
public:
    // Seconds since the epoch; tests move it on.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t SystemSeconds();

    // A pairing link works for this long, and once.
    static constexpr std::int64_t kLinkLifetime = 600;

    // A relative `diaryPath` is taken from the current folder; the same
    // diary reached through a link has devices of its own.
    DeviceStore(std::string diaryPath, std::string stateFolder, Clock clock = SystemSeconds);

    const std::string& FilePath() const { return m_filePath; }

    // A fresh one-time pairing secret. Failures are English sentences.
    Result<std::string, std::string> NewPairingSecret();

    struct Pairing {
        std::string name;   // the new phone's
        std::string secret; // its cookie
    };
    enum class Refusal { UnknownLink, ExpiredLink, Unwritable };
    // Uses up the pairing secret and lets a phone in, named after its
    // browser's User-Agent ("iPhone", "Android 2", ...).
    Result<Pairing, Refusal> Redeem(std::string_view pairingSecret, std::string_view userAgent);

    // A token for a script, named `name` (or "token", "token 2", ... when
    // empty). A name already in use is refused.
    Result<std::string, std::string> NewToken(std::string name);

    // The device whose secret this is, of that kind; none for a revoked,
    // unknown or empty secret, or when the file cannot be read.
    std::optional<Device> Authenticate(std::string_view secret, Device::Kind kind) const;

    Result<std::vector<Device>, std::string> List() const;
    // Fails with an English sentence when no device has that name.
    Status<std::string> Revoke(const std::string& name);

private:
    struct Contents;
    Result<Contents, std::string> Read() const;
    // Runs `change` on the file's contents under its lock and writes them back.
    Status<std::string> Change(const std::function<Status<std::string>(Contents&)>& change);

    std::string m_diaryPath;
    std::string m_filePath;
    Clock m_clock;
};

// The name a paired phone gets from its browser's User-Agent.
std::string DeviceNameOfAgent(std::string_view userAgent);
