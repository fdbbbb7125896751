#pragma once

#include "diary/tarelog_doc.h"
#include "platform/calendar_date.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

// Random diaries of every kind a file can carry, for tests that hold two
// ways of reading or printing a diary to the same result: weights from the
// ordinary to NaN, infinities, negative zero and raw bit patterns; dates
// from real days to fields no calendar has; units with control bytes,
// quotes and non-ASCII text; any digits.
class RandomDiaries {
public:
    explicit RandomDiaries(std::uint32_t seed)
        : m_random(seed)
    {
    }

    enum class Order {
        ByDate,   // day numbers never decrease, days recorded twice included
        Shuffled, // any order
    };

    CTarelogDoc Make(int records, Order order)
    {
        CTarelogDoc doc;
        const bool oddDates = Pick(4) == 0;
        std::int64_t day = static_cast<std::int64_t>(Pick(40000)) - 20000;
        for (int i = 0; i < records; ++i) {
            WeightRecord record = oddDates ? OddDate() : RealDate(day);
            record.weight = Weight();
            record.reserved[0] = Pick(8) == 0 ? static_cast<std::uint8_t>(Pick(256)) : 0;
            record.reserved[1] = Pick(8) == 0 ? static_cast<std::uint8_t>(Pick(256)) : 0;
            doc.AppendRecord(record);
        }
        std::vector<WeightRecord> sorted = doc.Records();
        if (order == Order::ByDate) {
            std::stable_sort(sorted.begin(), sorted.end(),
                [](const WeightRecord& a, const WeightRecord& b) { return DayOf(a) < DayOf(b); });
        } else if (sorted.size() >= 2
            && std::is_sorted(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return DayOf(a) < DayOf(b); })) {
            std::swap(sorted.front(), sorted.back());
        }
        doc.RemoveAllRecords();
        for (const WeightRecord& record : sorted)
            doc.AppendRecord(record);
        doc.m_unit = Unit();
        doc.m_digits = Pick(3) == 0 ? static_cast<int>(m_random()) : static_cast<int>(Pick(6));
        return doc;
    }

    static std::int64_t DayOf(const WeightRecord& r)
    {
        return CalendarDate::FromYmd(r.year, r.month, r.day).DayNumber();
    }

    std::uint32_t Pick(std::uint32_t below) { return m_random() % below; }

private:
    // Real dates a step of 0 to 45 days apart; the steps around 7 and 30
    // are where the look-backs of the statistics turn.
    WeightRecord RealDate(std::int64_t& day)
    {
        constexpr int kSteps[] = {0, 1, 1, 1, 1, 2, 3, 6, 7, 8, 29, 30, 31, 45};
        day += kSteps[Pick(std::size(kSteps))];
        const CalendarDate date = CalendarDate::FromYmd(1970, 1, 1 + static_cast<int>(day));
        return WeightRecord{0.0, static_cast<std::int16_t>(date.Year()), static_cast<std::int16_t>(date.Month()),
            static_cast<std::int16_t>(date.Day()), {0, 0}};
    }

    WeightRecord OddDate()
    {
        auto field = [this]() -> std::int16_t {
            switch (Pick(4)) {
            case 0: return static_cast<std::int16_t>(m_random());
            case 1: return static_cast<std::int16_t>(static_cast<int>(Pick(40)) - 5);
            case 2:
                return Pick(2) ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int16_t>::max();
            default: return static_cast<std::int16_t>(1 + Pick(28));
            }
        };
        const std::int16_t year = Pick(2) ? static_cast<std::int16_t>(1990 + Pick(40)) : field();
        return WeightRecord{0.0, year, field(), field(), {0, 0}};
    }

    double Weight()
    {
        const double edges[] = {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0.0, -0.0,
            std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
            std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::lowest(), 1e-300, -1.5, 0.1,
            123456789.125, 1e21, 1e22};
        switch (Pick(10)) {
        case 0: return edges[Pick(std::size(edges))];
        case 1: return std::bit_cast<double>((static_cast<std::uint64_t>(m_random()) << 32) | m_random());
        case 2: return static_cast<double>(static_cast<int>(Pick(2000)) - 1000) / 7.0;
        default: return std::round((40.0 + Pick(8000) / 100.0) * 10.0) / 10.0;
        }
    }

    std::u16string Unit()
    {
        const std::u16string pieces[] = {u"kg", u"lb", u"", u"\x01", u"\x1f\x7f", u"\"", u"\\", u"キロ", u"斤",
            u"\xD800", u"\U0001F600", u"\t\n", u"\x80\xFF", std::u16string(300, u'g')};
        std::u16string unit;
        for (int n = static_cast<int>(Pick(4)); n > 0; --n)
            unit += pieces[Pick(std::size(pieces))];
        return unit;
    }

    std::mt19937 m_random;
};
