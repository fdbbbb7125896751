#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// Slows down whoever guesses: after kAllowedFailures failed attempts (an
// unknown pairing link, a wrong token or cookie) from one address within
// kWindowSeconds, that address is refused until its window passes. A
// secret of 256 bits cannot be guessed anyway; this keeps a guesser from
// filling the log and the disk's attention.
class FailureThrottle {
public:
    using Clock = std::function<std::int64_t()>; // seconds
    static constexpr int kAllowedFailures = 10;
    static constexpr std::int64_t kWindowSeconds = 600;

    explicit FailureThrottle(Clock clock);

    // Seconds until `address` may try again; 0 when it may now.
    std::int64_t RetryAfter(const std::string& address);
    void RecordFailure(const std::string& address);

private:
    struct Record {
        std::int64_t windowStart = 0;
        int failures = 0;
    };
    void Forget(std::int64_t now);

    Clock m_clock;
    std::mutex m_mutex;
    std::map<std::string, Record> m_records;
};
