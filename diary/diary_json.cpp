#include "diary/diary_json.h"

#include "platform/format.h"
#include "platform/json_string.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

template <std::size_t N> char* Put(char* out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

int DigitCount(unsigned value)
{
    if (value < 10000)
        return value < 100 ? (value < 10 ? 1 : 2) : (value < 1000 ? 3 : 4);
    return 4 + DigitCount(value / 10000);
}

// At least `minDigits` digits, zeros in front; written back to front, two
// at a time, straight into the output (the record's numbers are short, and
// this is most of dump's work besides the weight).
char* PutUnsigned(char* out, unsigned value, int minDigits)
{
    const int length = std::max(DigitCount(value), minDigits);
    char* p = out + length;
    for (; value >= 100; value /= 100) {
        p -= 2;
        p[0] = kDigitPairs[2 * (value % 100)];
        p[1] = kDigitPairs[2 * (value % 100) + 1];
    }
    if (value >= 10) {
        p -= 2;
        p[0] = kDigitPairs[2 * value];
        p[1] = kDigitPairs[2 * value + 1];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    while (p > out)
        *--p = '0';
    return out + length;
}

// As printf's %0<width>d: the sign counts toward the width, zeros go
// between the sign and the digits. %d is a width of 0.
char* PutInt(char* out, int value, int width = 0)
{
    if (value >= 0)
        return PutUnsigned(out, static_cast<unsigned>(value), width);
    *out++ = '-';
    return PutUnsigned(out, 0u - static_cast<unsigned>(value), width - 1);
}

// The same text as ShortestDouble for finite weights.
char* PutWeight(char* out, double weight)
{
    if (std::isnan(weight))
        return Put(out, "\"nan\"");
    if (std::isinf(weight))
        return weight > 0 ? Put(out, "\"inf\"") : Put(out, "\"-inf\"");
    return std::to_chars(out, out + 32, weight).ptr;
}

char* PutHexByte(char* out, std::uint8_t byte)
{
    constexpr char kHex[] = "0123456789abcdef";
    *out++ = kHex[byte >> 4];
    *out++ = kHex[byte & 0xF];
    return out;
}

} // namespace

std::string DiaryJsonHead(std::int32_t version, std::u16string_view unit, std::int32_t digits)
{
    return FormatString("{\"version\":%d,\"unit\":%s,\"digits\":%d,\"records\":[", version,
        JsonString(ToUtf8(unit), JsonDelete::Escaped).c_str(), digits);
}

char* WriteJsonRecord(char* out, const WeightRecord& r)
{
    out = Put(out, "{\"date\":\"");
    out = PutInt(out, r.year, 4);
    *out++ = '-';
    out = PutInt(out, r.month, 2);
    *out++ = '-';
    out = PutInt(out, r.day, 2);
    out = Put(out, "\",\"year\":");
    out = PutInt(out, r.year);
    out = Put(out, ",\"month\":");
    out = PutInt(out, r.month);
    out = Put(out, ",\"day\":");
    out = PutInt(out, r.day);
    out = Put(out, ",\"weight\":");
    out = PutWeight(out, r.weight);
    out = Put(out, ",\"reserved\":\"");
    out = PutHexByte(out, r.reserved[0]);
    out = PutHexByte(out, r.reserved[1]);
    return Put(out, "\"}");
}
