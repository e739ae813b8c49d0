#pragma once

#include <string>

#include <wx/gdicmn.h>

class wxWindow;

namespace zq {

// The embedded browser that shows the usage page: hidden until revealed, and loading by
// itself once it has been told where to go.
class BrowserControl {
public:
    virtual ~BrowserControl() = default;
    virtual void Navigate(const std::string& address) = 0;
    virtual void Reveal() = 0;
    // Gives the page the window's keyboard focus, without raising or activating the window.
    virtual void Focus() = 0;
    virtual wxWindow* Window() = 0;
};

}  // namespace zq

// The browser module's entry points. The first may run on any thread, as soon as the module
// is loaded: it finds out what the engine may use (its sandbox). The others are called in
// turn on the user-interface thread: prepare the web engine (`ready` is called once that is
// done, from the event loop or at once), start it (false when it cannot start), then make a
// hidden browser over the given rectangle of the parent, its pages zoomed by `zoom` (null
// when it cannot).
extern "C" void zq_probe_browser_engine();
extern "C" void zq_prepare_browser_engine(void (*ready)(void*), void* data);
extern "C" bool zq_start_browser_engine();
extern "C" zq::BrowserControl* zq_create_browser_control(wxWindow* parent, const wxRect* rect, double zoom);
