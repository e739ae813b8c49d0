// ToNumber on any text, and the round trip of every integral value below 10^15 in
// magnitude through ToText and PrintNumber.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "workflow/NumberText.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto number = zq::ToNumber(text)) {
        Require(std::isfinite(*number));
        // Whatever was read prints and reads back to itself.
        Require(zq::ToNumber(zq::PrintNumber(*number)) == *number);
    }

    if (size >= sizeof(std::int64_t)) {
        std::int64_t raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        const double x = static_cast<double>(raw % 1'000'000'000'000'000);  // |x| < 10^15
        Require(zq::ToNumber(zq::PrintNumber(x)) == x);
        Require(zq::ToNumber(zq::ToText(x)) == x);
        const std::string line = zq::PrintNumber(x);
        Require(line.size() >= 4 && line.ends_with(" \r\n") && (line[0] == ' ' || line[0] == '-'));
    }
    return 0;
}
