#pragma once

namespace zq::captions {

// The texts the workflow puts on the window; the window makes room for each of them.
inline constexpr const char* kPrompt = "Isikan Nomer Zentra Anda :";
inline constexpr const char* kSavedNumberPrefix = "Cek Quota ";  // followed by the number
inline constexpr const char* kCheckButton = "&Save && Check";
inline constexpr const char* kWaitingForTypedNumber = "Please wait...";
inline constexpr const char* kWaitingForSavedNumber = "Please wait";

}  // namespace zq::captions
