#include "phone/failure_throttle.h"

namespace {

// Enough for a household; beyond it, records past their window go.
constexpr std::size_t kRememberedAddresses = 4096;

} // namespace

FailureThrottle::FailureThrottle(Clock clock)
    : m_clock(std::move(clock))
{
}

std::int64_t FailureThrottle::RetryAfter(const std::string& address)
{
    const std::lock_guard hold(m_mutex);
    const auto found = m_records.find(address);
    if (found == m_records.end() || found->second.failures < kAllowedFailures)
        return 0;
    const std::int64_t left = found->second.windowStart + kWindowSeconds - m_clock();
    if (left > 0)
        return left;
    m_records.erase(found);
    return 0;
}

void FailureThrottle::RecordFailure(const std::string& address)
{
    const std::lock_guard hold(m_mutex);
    const std::int64_t now = m_clock();
    if (m_records.size() >= kRememberedAddresses)
        Forget(now);
    Record& record = m_records[address];
    if (now - record.windowStart >= kWindowSeconds)
        record = Record{now, 0};
    ++record.failures;
}

void FailureThrottle::Forget(std::int64_t now)
{
    for (auto record = m_records.begin(); record != m_records.end();)
        record = now - record->second.windowStart >= kWindowSeconds ? m_records.erase(record) : std::next(record);
    // Still full: a flood from many addresses; start afresh rather than grow.
    if (m_records.size() >= kRememberedAddresses)
        m_records.clear();
}
