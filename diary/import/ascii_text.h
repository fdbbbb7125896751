#pragma once

#include <string>
#include <string_view>

// Text helpers for the exports' ASCII structure (headers, keywords, month
// names): the bytes outside ASCII are passed through as they are.
std::string LowerAscii(std::string_view text);
// Without the spaces, tabs and carriage returns at either end.
std::string_view TrimBlanks(std::string_view text);
