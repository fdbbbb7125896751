#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

// printf-style formatting into a UTF-8 std::string, with the C library's
// conversions (%d, %02d, %04d, %5.1f, %s, %%, and a %.Nf whose N is built at
// run time). The decimal point is always '.', whatever the process locale.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same for a format string built at run time, such as the scale label's.
std::string FormatRuntime(const char* format, ...);
std::string FormatV(const char* format, va_list args);

// The value of the leading numeric part of `text` (after leading white
// space), as wcstod reads it; 0.0 when the text does not start with a number.
double LeadingDouble(std::string_view text);
// The same reading, but false (and `value` untouched) when the text does
// not start with a number.
bool ReadLeadingDouble(std::string_view text, double& value);

// The shortest decimal text that reads back as exactly `value`.
std::string ShortestDouble(double value);

// UTF-16 to UTF-8 and back; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string ToUtf16(std::string_view text);
