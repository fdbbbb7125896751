#pragma once

#include <cstdint>
#include <bit>
#include <type_traits>

// One dated weight. Its 16 bytes are also its layout in the diary file
// (little-endian on every machine this builds for), so records are read and
// written as raw blocks.
struct WeightRecord {
    double weight = 0.0; // in the user's unit; any value, 0.0 and negatives included
    std::int16_t year = 0;
    std::int16_t month = 0;            // 1 to 12 for a real date
    std::int16_t day = 0;              // 1 to 31 for a real date
    std::uint8_t reserved[2] = {0, 0}; // carried through files, never interpreted

    // Dates compare through (year << 16) | (month << 8) | day as an unsigned
    // 32-bit number; for real calendar dates this orders as the dates do.
    std::uint32_t DateKey() const { return MakeDateKey(year, month, day); }
    static std::uint32_t MakeDateKey(int year, int month, int day)
    {
        return (static_cast<std::uint32_t>(year) << 16) | (static_cast<std::uint32_t>(month) << 8)
            | static_cast<std::uint32_t>(day);
    }
};

static_assert(sizeof(WeightRecord) == 16, "a WeightRecord is exactly its 16 file bytes");
static_assert(std::is_trivially_copyable_v<WeightRecord>);
static_assert(std::endian::native == std::endian::little, "records are stored in the machine's byte order");
