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
    virtual wxWindow* Window() = 0;
};

}  // namespace zq

// The browser module's one entry point: a hidden browser over the given rectangle of the
// parent, or null when the web engine cannot start.
extern "C" zq::BrowserControl* zq_create_browser_control(wxWindow* parent, const wxRect* rect);
