#pragma once

#include <string>

#include "ui/DesignData.h"

namespace zq::browser_texts {

// What the browser area shows in place of a page, in the program's language.
inline constexpr const char* kLoading = "Memuat halaman pemakaian Zentra\u2026";
inline constexpr const char* kCannotShow = "Halaman pemakaian Zentra tidak dapat ditampilkan.";

// A page of a few centred words. The browser sticks out past the window's right edge, so
// the words are centred in the part the user sees, not in the whole view.
inline std::string WordsPage(const std::string& html) {
    const std::string visibleWidth = std::to_string(design::ToPixels(design::kClientWidth));
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
           "body{font:15px sans-serif;color:#444;margin:0}"
           "div{width:" + visibleWidth + "px;box-sizing:border-box;padding:120px 16px 0;"
           "text-align:center}</style></head><body><div>" + html + "</div></body></html>";
}

}  // namespace zq::browser_texts
