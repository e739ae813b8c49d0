#pragma once

class wxTextCtrl;

namespace zq {

// Limits a single-line text box to maxCharacters: typing beyond it is refused and pasted
// text is cut to what fits (the toolkit's own limit on GTK refuses such a paste whole).
void LimitCharacters(wxTextCtrl* textBox, int maxCharacters);

}  // namespace zq
