#pragma once

#include <memory>
#include <string>

#include <wx/gdicmn.h>

#include "ui/BrowserView.h"

class wxWindow;

namespace zq {

// The embedded browser that lies over the whole window. The web view, the web engine and
// its processes come only with the first navigation request; until the reveal the view
// stays hidden while it loads.
class UsageBrowser {
public:
    UsageBrowser(wxWindow* parent, const wxRect& rect);

    void Navigate(const std::string& address);
    void Reveal();

    // The web view's window, once there is one.
    wxWindow* View() const { return view_ ? view_->Window() : nullptr; }
    BrowserView* Page() const { return view_.get(); }

private:
    wxWindow* parent_;
    wxRect rect_;
    std::unique_ptr<BrowserView> view_;
};

}  // namespace zq
