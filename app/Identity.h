#pragma once

#include <string_view>

namespace zq {

inline constexpr std::string_view kApplicationTitle = "Zentra Quota";
inline constexpr std::string_view kCreditMessage =
    "Zentra Quota 1.00 - dibuat oleh tim Zentra Quota, zentraquota.example";

}  // namespace zq
