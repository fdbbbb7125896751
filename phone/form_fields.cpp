#include "phone/form_fields.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::string> PercentDecode(std::string_view text, bool plusIsSpace)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+' && plusIsSpace) {
            decoded += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<FormFields> FormFields::Parse(std::string_view body)
{
    FormFields form;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (pair.empty())
            continue;
        const std::size_t equals = pair.find('=');
        const std::optional<std::string> name = PercentDecode(pair.substr(0, equals), true);
        const std::optional<std::string> value = PercentDecode(
            equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1), true);
        if (!name || !value)
            return std::nullopt;
        form.m_fields.emplace_back(*name, *value);
    }
    return form;
}

std::string FormFields::Get(std::string_view name) const
{
    for (const auto& [key, value] : m_fields)
        if (key == name)
            return value;
    return {};
}

bool FormFields::Has(std::string_view name) const
{
    for (const auto& field : m_fields)
        if (field.first == name)
            return true;
    return false;
}

std::string CookieValue(std::string_view cookieHeader, std::string_view name)
{
    while (!cookieHeader.empty()) {
        const std::size_t semicolon = cookieHeader.find(';');
        const std::string_view cookie = Trimmed(cookieHeader.substr(0, semicolon));
        cookieHeader = semicolon == std::string_view::npos ? std::string_view() : cookieHeader.substr(semicolon + 1);
        const std::size_t equals = cookie.find('=');
        if (equals != std::string_view::npos && Trimmed(cookie.substr(0, equals)) == name)
            return std::string(Trimmed(cookie.substr(equals + 1)));
    }
    return {};
}
