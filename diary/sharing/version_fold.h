#pragma once

#include "diary/sharing/diary_conflict.h"
#include "diary/sharing/diary_contents.h"
#include "diary/sharing/sync_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Folding the versions of one diary that a sync engine left side by side
// (the diary and its conflict copies) into one, day by day, with what this
// machine remembers of the diary (DiarySyncState).
//
// Each version's value of a day is this machine's own (what it last read or
// wrote), stale (a value this machine held before, or the one the others
// are known to hold) or fresh (unknown here: another machine changed the
// day). A fresh value beats a stale one and this machine's own when this
// machine did not change the day since it was shared; a day that another
// machine changed and this machine changed too, or two other machines
// changed differently, is a real conflict, which the later change wins: this
// machine's change time against the modification time of the version that
// holds the other value. An absent day is a value like any other, so a day
// deleted on one side and left alone on the other stays deleted. With no
// state, every value is fresh: a day present in any version is kept, and
// differing weights are conflicts.

struct DiaryVersion {
    DiaryContents contents;
    std::int64_t modifiedNs = 0; // when its writer wrote it
    std::string path;            // names it in messages
};

struct VersionFold {
    DiaryContents merged;
    std::vector<DiaryConflict> conflicts; // kinds Day and UnitAndDigits: the later change was kept
    std::size_t daysChanged = 0;          // days whose value differs from the diary's (versions[0])
    // Per day (and for the settings), the value the other machines are
    // known to hold after this fold, for the state written after it.
    std::map<DayKey, DayDigest> sharedAfter;
    std::optional<DayDigest> settingsSharedAfter;
};

// versions[0] is the diary itself; the others are its copies. The merged
// records keep the diary's order, with the days it loses replaced in place
// and days it lacks inserted at their date position.
VersionFold FoldVersions(const std::vector<DiaryVersion>& versions, const DiarySyncState& state);

// The state after this machine wrote `written`: the fold's picture of what
// the others hold, `written` as this machine's own, and the days that differ
// between `before` (what the writer started from, after the fold) and
// `written` as changed by this machine at `nowNs`.
DiarySyncState StateAfterWrite(const DiarySyncState& state, const VersionFold& fold, const DiaryContents& before,
    const DiaryContents& written, std::int64_t nowNs);
