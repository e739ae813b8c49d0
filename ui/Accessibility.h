#pragma once

#include <string_view>

class wxWindow;

namespace zq {

// Names and roles for assistive technologies where the toolkit gives none by itself.
void SetAccessibleName(wxWindow* control, std::string_view name);
// A text that acts when clicked, announced as a link with its text as name.
void MarkAsClickableText(wxWindow* control, std::string_view name);

}  // namespace zq
