#pragma once

#include <string>
#include <string_view>

// JSON string literals for the command line's JSON output.

// Whether DEL (0x7F) is written as \u007f. JSON allows it bare; dump escapes
// it with the control bytes so that its output is plain to the eye, while
// stats has always written it as it is.
enum class JsonDelete { Escaped, AsIs };

// `utf8` in double quotes: quotes and backslashes escaped, control bytes as
// \u escapes, every other byte (UTF-8 included) as it is.
std::string JsonString(std::string_view utf8, JsonDelete del);
