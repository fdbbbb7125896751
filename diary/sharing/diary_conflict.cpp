#include "diary/sharing/diary_conflict.h"

#include <utility>

namespace {

// A day recorded twice (old files) is named by its last weight.
std::optional<double> LastWeight(const DayRecords& records)
{
    if (records.empty())
        return std::nullopt;
    return records.back().weight;
}

} // namespace

DiaryConflict DayConflict(const DayKey& day, const DayRecords& kept, const DayRecords& other, std::string otherPath)
{
    return {DiaryConflict::Kind::Day, day, LastWeight(kept), LastWeight(other), std::move(otherPath)};
}

DiaryConflict SettingsConflict(DiaryConflict::Kind kind, std::string otherPath)
{
    DiaryConflict conflict;
    conflict.kind = kind;
    conflict.otherPath = std::move(otherPath);
    return conflict;
}
