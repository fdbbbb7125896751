#pragma once

#include "diary/diary_stats.h"
#include "diary/weight_record.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The figures of ComputeDiaryStats gathered one record at a time, for a
// diary read as a stream: it keeps the running figures and, for the 7- and
// 30-day look-backs, the last record of each recorded day of the latest 30
// days and of the one day before them, so its memory does not grow with the
// record count.
//
// It takes records in date order only: day numbers never decreasing, and
// records of one day in the diary's order, which is the order
// ComputeDiaryStats puts them in. Add refuses a record dated before the one
// before it; the figures of such a diary need its records sorted first.
class DiaryStatsAccumulator {
public:
    // False (and nothing taken) when `record` is dated before the last one added.
    bool Add(const WeightRecord& record);
    // The figures of every record added so far.
    DiaryStats Result() const;

private:
    struct Day {
        std::int64_t dayNumber;
        double weight; // of the day's last record
        double trend;  // after that day
    };
    void CloseDay();
    // The latest closed day on or before `dayNumber`; none when the diary
    // does not reach that far back.
    const Day* LatestOnOrBefore(std::int64_t dayNumber) const;
    std::optional<double> RecentTrendSlope() const;

    DiaryStats m_stats;           // entries, first, last, lowest, highest and the trend of closed days
    std::int64_t m_dayNumber = 0; // of the last record added
    // The closed days the look-backs can still reach, oldest first, in a
    // ring: the newest, those less than 30 days before it and one more, so
    // never more than 32. No allocation per day: a diary of millions of
    // days would otherwise churn the allocator.
    static constexpr std::size_t kRecentDays = 32;
    const Day& RecentDay(std::size_t i) const { return m_recentDays[(m_oldestDay + i) % kRecentDays]; }
    std::array<Day, kRecentDays> m_recentDays{};
    std::size_t m_oldestDay = 0;
    std::size_t m_recentDayCount = 0;
};
