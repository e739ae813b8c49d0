#pragma once

#include <memory>
#include <string>

#include <wx/gdicmn.h>

class wxWindow;

namespace zq {

// The web view that shows the usage page. It lives in a module of its own, loaded at the
// first navigation request, so that a start without a check never loads the web engine.
class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void Navigate(const std::string& address) = 0;
    virtual void Reveal() = 0;
    virtual wxWindow* Window() = 0;

    // For looking in from outside (the tests do): the text of the page shown, whether a
    // load is under way, and the address of what is shown.
    virtual std::string PageText() = 0;
    virtual bool IsLoading() = 0;
    virtual std::string CurrentAddress() = 0;
};

}  // namespace zq

// The module's one entry point: a hidden view over the given rectangle of the parent.
extern "C" zq::BrowserView* zq_create_browser_view(wxWindow* parent, const wxRect* rect);
