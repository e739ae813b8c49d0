#pragma once

#include <span>

// Pictures compiled into the executable, so nothing is looked up on disk at run time.
namespace zq::art {

extern const std::span<const unsigned char> kLogo;    // 100 x 41 JPEG
extern const std::span<const unsigned char> kLogo2x;  // 200 x 82 JPEG, for 2x displays
extern const std::span<const unsigned char> kIcon16;  // PNG window icons
extern const std::span<const unsigned char> kIcon32;
extern const std::span<const unsigned char> kIcon48;

}  // namespace zq::art
