#pragma once

#include <string>

#include <wx/gdicmn.h>
#include <wx/uiaction.h>

class wxWindow;

namespace zq::test {

// Real keyboard and pointer input, and the screen as the user sees it. On X11 both go
// through the test's own display (XTest); in a Wayland session they go through the X display
// that feeds the compositor's seat (ZQ_SEAT_DISPLAY), from outside the program, as a user's
// devices would. Positions are the toolkit's screen coordinates on both.
class RealInput {
public:
    RealInput();

    // Finds the window on the screen (a Wayland client is not told where it is) and puts
    // the pointer on it.
    void AttachTo(wxWindow* window);

    void Text(const char* text);
    void Char(int keycode, int modifiers = wxMOD_NONE);
    void MouseMove(const wxPoint& screen);
    void MouseClick();
    void WheelDown(int notches);

    // The colour of one screen pixel, as "#rrggbb".
    std::string ScreenPixel(const wxPoint& screen) const;

    static bool OnWayland();

private:
    wxPoint ToDevice(const wxPoint& screen) const;
    void Xdotool(const std::string& arguments) const;

    wxUIActionSimulator simulator_;
    std::string seatDisplay_;  // empty on X11
    int seatScale_ = 1;
    wxPoint offset_;  // from the toolkit's screen coordinates to the output's, on Wayland
};

}  // namespace zq::test
