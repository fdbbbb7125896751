#include "doc/diary_json.h"

#include "platform/format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Control bytes and DEL as \u escapes; other bytes, UTF-8 included, as they are.
std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (u < 0x20 || u == 0x7F)
            out += FormatString("\\u%04x", u);
        else
            out += c;
    }
    return out + "\"";
}

template <std::size_t N>
char* Put(char* out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// As printf's %0<width>d: the sign counts toward the width, zeros go
// between the sign and the digits.
char* PutPadded(char* out, int value, int width)
{
    unsigned magnitude = static_cast<unsigned>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude;
        --width;
    }
    char digits[12];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto length = static_cast<int>(end - digits);
    for (int i = length; i < width; ++i)
        *out++ = '0';
    std::memcpy(out, digits, static_cast<std::size_t>(length));
    return out + length;
}

char* PutInt(char* out, int value)
{
    return std::to_chars(out, out + 12, value).ptr;
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
        JsonString(ToUtf8(unit)).c_str(), digits);
}

char* WriteJsonRecord(char* out, const WeightRecord& r)
{
    out = Put(out, "{\"date\":\"");
    out = PutPadded(out, r.year, 4);
    *out++ = '-';
    out = PutPadded(out, r.month, 2);
    *out++ = '-';
    out = PutPadded(out, r.day, 2);
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
