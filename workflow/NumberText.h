#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zq {

// Numbers are doubles; they are kept as text in the setting file and in the tick counter.

// Text to number. Surrounding spaces, tabs, CR and LF are ignored; an optional sign,
// decimal digits with '.' as the decimal separator and an optional exponent are accepted.
// Anything else, an empty text, and a value too large for a double give nothing.
std::optional<double> ToNumber(std::string_view text);

// Number to text in the general format: integral values below 10^15 in magnitude as plain
// digits (with '-' when negative); other values with at most 15 significant digits.
std::string ToText(double value);

// One line of the setting file: a sign position (space or '-'), the magnitude, a space,
// CR LF. Always reads back through ToNumber to the same value.
std::string PrintNumber(double value);

// The arithmetic test after every multiply, divide or add: overflow or an invalid result
// is a failure.
std::optional<double> CheckedResult(double result);

}  // namespace zq
