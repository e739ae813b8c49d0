#pragma once

#include <span>

// Pictures compiled into the executable as plain 8-bit pixels, row by row: nothing is
// looked up on disk or decoded at run time.
namespace zq::art {

struct Pixels {
    int width;
    int height;
    int channels;  // 3: RGB; 4: RGBA
    std::span<const unsigned char> bytes;
};

extern const std::span<const unsigned char> kLogoBytes;    // 100 x 41 RGB
extern const std::span<const unsigned char> kLogo2xBytes;  // 200 x 82 RGB, for 2x displays
extern const std::span<const unsigned char> kIcon16Bytes;  // RGBA window icons
extern const std::span<const unsigned char> kIcon32Bytes;
extern const std::span<const unsigned char> kIcon48Bytes;

inline Pixels Logo() { return {100, 41, 3, kLogoBytes}; }
inline Pixels Logo2x() { return {200, 82, 3, kLogo2xBytes}; }
inline Pixels Icon16() { return {16, 16, 4, kIcon16Bytes}; }
inline Pixels Icon32() { return {32, 32, 4, kIcon32Bytes}; }
inline Pixels Icon48() { return {48, 48, 4, kIcon48Bytes}; }

}  // namespace zq::art
