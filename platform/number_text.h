#pragma once

#include <string>
#include <string_view>

// Strict reading of typed numbers: the whole text is one number or it is
// refused, never read up to the first odd character.

enum class NumberProblem {
    None,
    NotANumber, // empty, not from_chars' general syntax, or text around it
    OutOfRange, // a number too large (or too small) for a double
    NotFinite,  // "inf" or "nan": no weight is either
};

// Reads `text` as one finite decimal number in from_chars' general syntax
// (no leading '+', no white space, C locale). `value` is set only on success.
NumberProblem ParseFiniteNumber(std::string_view text, double& value);

// The text with the full-width forms of ASCII that a Japanese input method
// types (digits, period, plus, hyphen-minus...), the ideographic space and
// the minus sign U+2212 folded into ASCII, as NFKC folds them; every other
// character is kept. For readers of typed numbers without Qt.
std::string FoldWideNumberText(std::string_view utf8);
