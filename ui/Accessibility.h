#pragma once

#include <string_view>

class wxWindow;

namespace zq {

// Names and roles for assistive technologies where the toolkit gives none by itself.
void SetAccessibleName(wxWindow* control, std::string_view name);
// What a screen reader says of the control after its name; empty for nothing.
void SetAccessibleDescription(wxWindow* control, std::string_view description);
// Has a screen reader say the words now, as a status it announces; where the reader or the
// toolkit takes no announcements, nothing happens.
void Announce(wxWindow* window, std::string_view words);
// The label names the control, as a form's label names its field: both ends of the
// relation point at each other, and nothing around them (a panel's caption) names it.
void LabelControl(wxWindow* label, wxWindow* control);
// A text that acts when clicked, announced as a link with its text as name.
void MarkAsClickableText(wxWindow* control, std::string_view name);

}  // namespace zq
