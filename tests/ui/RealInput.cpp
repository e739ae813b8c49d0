#include "RealInput.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif
#include <wx/app.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace zq::test {

void Pump(int ms);

namespace {

std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        ::pclose(pipe);
    }
    return output;
}

std::string KeyName(int keycode) {
    switch (keycode) {
        case WXK_TAB: return "Tab";
        case WXK_RETURN: return "Return";
        case WXK_BACK: return "BackSpace";
        case WXK_END: return "End";
        case WXK_SPACE: return "space";
        case WXK_PAGEDOWN: return "Next";
        default: return std::string(1, static_cast<char>(keycode));
    }
}

}  // namespace

RealInput::RealInput() {
    if (OnWayland()) {
        if (const char* display = std::getenv("ZQ_SEAT_DISPLAY")) seatDisplay_ = display;
        if (const char* scale = std::getenv("ZQ_SEAT_SCALE")) seatScale_ = std::max(1, std::atoi(scale));
    } else if (auto* display = static_cast<Display*>(wxGetDisplay())) {
        // A key pressed and released by a test slowed down in between must not repeat.
        XAutoRepeatOff(display);
        XFlush(display);
    }
}

bool RealInput::OnWayland() {
#ifdef GDK_WINDOWING_WAYLAND
    return GDK_IS_WAYLAND_DISPLAY(gdk_display_get_default());
#else
    return false;
#endif
}

void RealInput::Xdotool(const std::string& arguments) const {
    const std::string command = "DISPLAY=" + seatDisplay_ + " xdotool " + arguments + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

void RealInput::AttachTo(wxWindow* window) {
    if (seatDisplay_.empty()) {
        simulator_.MouseMove(window->GetScreenRect().GetTopLeft() + wxPoint(2, 2));
        return;
    }
    // The window is what is not black on the compositor's black desktop; the pointer's
    // own picture, parked in the corner, is painted over first.
    Xdotool("mousemove 0 0");
    Pump(200);
    const std::string corner = std::to_string(48 * seatScale_);
    std::istringstream box(Output("DISPLAY=" + seatDisplay_ + " xwd -root -silent | convert xwd:- -fill black -draw 'rectangle 0,0 " +
                                  corner + "," + corner + "' -fuzz 2% -trim -format '%w %h %X %Y' info:"));
    int width = 0, height = 0, x = 0, y = 0;
    box >> width >> height >> x >> y;
    // In the middle of the window the toolkit tells where the pointer is, in its own terms.
    const wxPoint centre(x + width / 2, y + height / 2);
    Xdotool("mousemove " + std::to_string(centre.x) + " " + std::to_string(centre.y));
    Pump(300);
    offset_ = centre / seatScale_ - wxGetMousePosition();
}

wxPoint RealInput::ToDevice(const wxPoint& screen) const { return (screen + offset_) * seatScale_; }

void RealInput::Text(const char* text) {
    if (seatDisplay_.empty()) {
        simulator_.Text(text);
        return;
    }
    Xdotool(std::string("type --delay 30 -- '") + text + "'");
}

void RealInput::Char(int keycode, int modifiers) {
    if (seatDisplay_.empty()) {
        simulator_.Char(keycode, modifiers);
        return;
    }
    std::string chord;
    if (modifiers & wxMOD_CONTROL) chord += "ctrl+";
    if (modifiers & wxMOD_ALT) chord += "alt+";
    if (modifiers & wxMOD_SHIFT) chord += "shift+";
    Xdotool("key " + chord + KeyName(keycode));
}

void RealInput::MouseMove(const wxPoint& screen) {
    if (seatDisplay_.empty()) {
        simulator_.MouseMove(screen);
        return;
    }
    const wxPoint device = ToDevice(screen);
    Xdotool("mousemove " + std::to_string(device.x) + " " + std::to_string(device.y));
}

void RealInput::MouseClick() {
    if (seatDisplay_.empty()) {
        simulator_.MouseClick();
        return;
    }
    Xdotool("click 1");
}

void RealInput::WheelDown(int notches) {
    for (int i = 0; i < notches; ++i) {
        if (seatDisplay_.empty()) {
            Display* display = static_cast<Display*>(wxGetDisplay());
            XTestFakeButtonEvent(display, 5, True, CurrentTime);
            XTestFakeButtonEvent(display, 5, False, CurrentTime);
            XFlush(display);
        } else {
            Xdotool("click 5");
        }
        Pump(50);
    }
}

std::string RealInput::ScreenPixel(const wxPoint& screen) const {
    const wxPoint device = ToDevice(screen);
    const std::string display = seatDisplay_.empty() ? "" : "DISPLAY=" + seatDisplay_ + " ";
    const std::string output = Output(display + "xwd -root -silent | convert xwd:- -crop 1x1+" +
                                      std::to_string(device.x) + "+" + std::to_string(device.y) +
                                      " -depth 8 txt:- 2>/dev/null");
    // "... #RRGGBB  srgb(...)" on the second line
    const auto hash = output.find('#', output.find('\n'));
    if (hash == std::string::npos) return "?";
    std::string colour = output.substr(hash, 7);
    for (char& c : colour) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return colour;
}

}  // namespace zq::test
