#pragma once

#include "diary/sharing/day_values.h"

#include <optional>
#include <string>

// One thing two versions of a diary hold differently, both changed since
// they last agreed: a day, or the diary's unit and digits. The window's
// three-way merge finds them between the file and the window, the fold of
// conflict copies between machines; either settles each one by keeping one
// value, and the conflict names the value kept and the other one.
struct DiaryConflict {
    // The three-way merge weighs the unit and the digits apart; the fold
    // takes them as one value.
    enum class Kind { Day, Unit, Digits, UnitAndDigits };
    Kind kind = Kind::Day;
    DayKey day{};                      // for Kind::Day
    std::optional<double> keptWeight;  // for a day: its last weight as kept; none when deleted
    std::optional<double> otherWeight; // for a day: the other version's last weight; none when deleted
    std::string otherPath;             // for the fold: the version that held the other value
};

// A conflict over `day`, whose records `kept` were kept over `other` (from
// the version at `otherPath`, for the fold).
DiaryConflict DayConflict(const DayKey& day, const DayRecords& kept, const DayRecords& other,
    std::string otherPath = {});
// A conflict over the unit, the digits, or both (`kind`).
DiaryConflict SettingsConflict(DiaryConflict::Kind kind, std::string otherPath = {});
