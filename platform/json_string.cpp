#include "platform/json_string.h"

#include "platform/format.h"

std::string JsonString(std::string_view utf8, JsonDelete del)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (byte < 0x20 || (byte == 0x7F && del == JsonDelete::Escaped))
            out += FormatString("\\u%04x", byte);
        else
            out += c;
    }
    return out + "\"";
}
