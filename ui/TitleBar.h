#pragma once

class wxTopLevelWindow;

namespace zq {

// Where the toolkit draws the title bar itself (Wayland desktops), a window that cannot be
// resized is as wide as its title bar would like: the whole title and its buttons. The
// title is made to take whatever width the window has, shortened where it must be, as a
// window manager's title bar does, so that the window keeps its designed width.
void FitTitleToWindow(wxTopLevelWindow* window);

}  // namespace zq
