#pragma once

#include "diary/sharing/day_values.h"
#include "platform/file_failure.h"
#include "platform/result.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What this machine knows of one diary that a sync engine shares with other
// machines. It lives in this machine's state folder, never beside the
// diary, so it never travels: each machine keeps its own.
//
// A sync engine that sees two machines change the diary before they hear
// of each other keeps one version and renames the other into a conflict
// copy. To fold the two together day by day, a machine must tell its own
// changes from the other's and fresh values from stale ones; for that it
// remembers, per day (and for the unit and digits together), the value the
// other machines are known to hold, the value it holds itself, when it last
// changed the day, and the values it held before. Values are kept as
// digests (DigestOf), which is all a comparison needs.
struct ValueKnowledge {
    DayDigest shared = 0;           // what the other machines are known to hold
    DayDigest mine = 0;             // what this machine read or wrote last
    std::int64_t changedNs = 0;     // when this machine last changed it (0: not since shared)
    std::vector<DayDigest> earlier; // values this machine held before `mine`, oldest first

    static constexpr std::size_t kEarlierKept = 8;
    bool operator==(const ValueKnowledge&) const = default;
};

class DiarySyncState {
public:
    // False for a diary this machine has no state of: nothing can be told
    // apart, and a fold then keeps every day.
    bool known = false;
    std::map<DayKey, ValueKnowledge> days;
    ValueKnowledge settings; // the unit and the digits, as one value
    // Digests of the last versions this machine wrote (VersionDigest),
    // oldest first: a conflict copy of one of them is wholly stale.
    std::vector<std::uint64_t> written;
    static constexpr std::size_t kWrittenKept = 32;

    const ValueKnowledge& Day(const DayKey& key) const;

    // The state file of the diary at `diaryPath` (absolute) in `folder`.
    static std::string PathIn(const std::string& folder, const std::string& diaryPath);
    // A missing or unreadable state file gives an unknown state.
    static DiarySyncState Load(const std::string& statePath);
    Status<FileFailure> Save(const std::string& statePath) const;

    std::string Bytes() const;
    static DiarySyncState FromBytes(std::string_view bytes);
    bool operator==(const DiarySyncState&) const = default;
};

// The digest of a whole version of a diary.
std::uint64_t VersionDigest(const std::vector<WeightRecord>& records, const std::u16string& unit, int digits);
// The digest of a diary's unit and digits, as one value.
DayDigest SettingsDigest(const std::u16string& unit, int digits);
