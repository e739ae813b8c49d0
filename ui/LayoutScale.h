#pragma once

class wxWindow;

namespace zq {

// How much the designed layout grows on this desktop: the text resolution over the design's
// 96 DPI, or what the widest of the window's texts needs to fit its control in the dialog
// font, whichever is larger. Never below 1, and exactly 1 at the toolkit's default settings.
double LayoutScale(const wxWindow* window);

// The desktop's text resolution over 96 DPI (GTK's font resolution; 1 where the system
// scales fonts with the display's DPI instead).
double TextResolutionScale();

// What a layout scale adds to a size in points, or to a web page, which already follow the
// text resolution.
double GrowthBeyondTextResolution(double layoutScale);

}  // namespace zq
