#include "workflow/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zq {

namespace {

constexpr double kPlainDigitsLimit = 1e15;

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// digits [ '.' digits ] [ ('e'|'E') [sign] digits ], at least one mantissa digit.
// from_chars alone would also take "inf", "nan" and a leading '-', which are not numbers here.
bool IsPlainDecimal(std::string_view text) {
    std::size_t i = 0;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i == exponentStart) return false;
    }
    return i == text.size();
}

// Without a precision, the shortest text that reads back to the same value.
std::string Format(double value, std::chars_format format, std::optional<int> precision = {}) {
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    const auto result = precision ? std::to_chars(first, last, value, format, *precision)
                                  : std::to_chars(first, last, value, format);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

bool IsPlainInteger(double value) {
    return std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < kPlainDigitsLimit;
}

}  // namespace

std::optional<double> ToNumber(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!IsPlainDecimal(text)) return std::nullopt;

    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return CheckedResult(negative ? -value : value);
}

std::string ToText(double value) {
    if (value == 0) return "0";  // also for -0
    if (IsPlainInteger(value)) return Format(value, std::chars_format::fixed);
    return Format(value, std::chars_format::general, 15);
}

std::string PrintNumber(double value) {
    const char sign = std::signbit(value) && value != 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    // Fifteen digits do not always round-trip; the file must, so other values are written
    // in the shortest form that reads back exactly.
    const std::string digits = IsPlainInteger(magnitude) ? ToText(magnitude)
                                   : Format(magnitude, std::chars_format::general);
    return sign + digits + " \r\n";
}

std::optional<double> CheckedResult(double result) {
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

}  // namespace zq
