#include "diary/diary_stats_accumulator.h"

#include "platform/calendar_date.h"

namespace {

// As ComputeDiaryStats orders records: by day number, so that dates whose
// fields roll over (month 13) sit where their days are.
std::int64_t DayNumberOf(const WeightRecord& record)
{
    return CalendarDate::FromYmd(record.year, record.month, record.day).DayNumber();
}

} // namespace

bool DiaryStatsAccumulator::Add(const WeightRecord& record)
{
    const std::int64_t dayNumber = DayNumberOf(record);
    if (m_stats.entries == 0) {
        m_stats.first = m_stats.lowest = m_stats.highest = record;
    } else if (dayNumber < m_dayNumber) {
        return false;
    } else if (dayNumber != m_dayNumber) {
        CloseDay();
    }
    ++m_stats.entries;
    m_stats.last = record;
    m_dayNumber = dayNumber;
    if (record.weight < m_stats.lowest.weight)
        m_stats.lowest = record;
    if (record.weight > m_stats.highest.weight)
        m_stats.highest = record;
    return true;
}

// The day of the last record is complete: its last weight moves the trend,
// and it joins the days the look-backs can reach. A day is dropped once a
// later day lies 30 or more days before the newest: every look-back from the
// last date then stops at that later day or after it.
void DiaryStatsAccumulator::CloseDay()
{
    const double weight = m_stats.last.weight;
    m_stats.trend = m_recentDayCount == 0 ? weight : NextTrend(m_stats.trend, weight);
    m_recentDays[(m_oldestDay + m_recentDayCount++) % kRecentDays] = {m_dayNumber, weight, m_stats.trend};
    while (m_recentDayCount >= 2 && RecentDay(1).dayNumber <= m_dayNumber - 30) {
        m_oldestDay = (m_oldestDay + 1) % kRecentDays;
        --m_recentDayCount;
    }
}

DiaryStats DiaryStatsAccumulator::Result() const
{
    if (m_stats.entries == 0)
        return m_stats;
    DiaryStatsAccumulator closed = *this;
    closed.CloseDay();
    DiaryStats stats = closed.m_stats;
    if (const Day* weekBefore = closed.LatestOnOrBefore(m_dayNumber - 7)) {
        stats.change7 = stats.last.weight - weekBefore->weight;
        const double elapsed = static_cast<double>(m_dayNumber - weekBefore->dayNumber);
        stats.trendPerWeek = (stats.trend - weekBefore->trend) * 7.0 / elapsed;
    }
    if (const Day* monthBefore = closed.LatestOnOrBefore(m_dayNumber - 30))
        stats.change30 = stats.last.weight - monthBefore->weight;
    stats.trendSlope = closed.RecentTrendSlope();
    return stats;
}

// Day numbers are taken relative to the last day, so the sums stay small
// whatever the dates.
std::optional<double> DiaryStatsAccumulator::RecentTrendSlope() const
{
    double n = 0.0, sumX = 0.0, sumY = 0.0;
    for (std::size_t i = 0; i < m_recentDayCount; ++i) {
        const Day& day = RecentDay(i);
        if (day.dayNumber <= m_dayNumber - kTrendSlopeDays)
            continue;
        n += 1.0;
        sumX += static_cast<double>(day.dayNumber - m_dayNumber);
        sumY += day.trend;
    }
    if (n < 2.0)
        return std::nullopt;
    const double meanX = sumX / n, meanY = sumY / n;
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t i = 0; i < m_recentDayCount; ++i) {
        const Day& day = RecentDay(i);
        if (day.dayNumber <= m_dayNumber - kTrendSlopeDays)
            continue;
        const double dx = static_cast<double>(day.dayNumber - m_dayNumber) - meanX;
        sxy += dx * (day.trend - meanY);
        sxx += dx * dx;
    }
    return sxy / sxx;
}

const DiaryStatsAccumulator::Day* DiaryStatsAccumulator::LatestOnOrBefore(std::int64_t dayNumber) const
{
    for (std::size_t i = m_recentDayCount; i > 0; --i)
        if (RecentDay(i - 1).dayNumber <= dayNumber)
            return &RecentDay(i - 1);
    return nullptr;
}
