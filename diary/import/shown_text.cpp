#include "diary/import/shown_text.h"

#include <cstdio>

namespace {

void AppendEscaped(std::string& out, unsigned char c)
{
    switch (c) {
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    case '\n': out += "\\n"; return;
    default: break;
    }
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", c);
    out += escape;
}

// Where to cut so the shown part holds at most `limit` characters; a
// continuation byte (10xxxxxx) never starts the cut-off part.
std::size_t CutPoint(std::string_view text, std::size_t limit)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == limit)
            return i;
    }
    return text.size();
}

} // namespace

std::string ShownText(std::string_view text)
{
    const std::size_t cut = CutPoint(text, kShownLength);
    std::string out = "'";
    for (const char c : text.substr(0, cut)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            AppendEscaped(out, byte);
        else
            out += c;
    }
    out += "'";
    if (cut < text.size())
        out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}
