#pragma once

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
