#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The fields of an application/x-www-form-urlencoded body (or a query):
// name=value pairs joined by '&', '+' for a space, %XX escapes.
class FormFields {
public:
    // None when an escape is malformed (a '%' without two hex digits).
    static std::optional<FormFields> Parse(std::string_view body);

    // The first value of `name`, or "" when there is none.
    std::string Get(std::string_view name) const;
    bool Has(std::string_view name) const;

private:
    std::vector<std::pair<std::string, std::string>> m_fields;
};

// %XX escapes decoded, and '+' as a space when `plusIsSpace`; none when an
// escape is malformed.
std::optional<std::string> PercentDecode(std::string_view text, bool plusIsSpace);

// The value of the cookie `name` in a Cookie header, or "".
std::string CookieValue(std::string_view cookieHeader, std::string_view name);
