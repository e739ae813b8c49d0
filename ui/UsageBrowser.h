#pragma once

#include <memory>
#include <string>

#include <wx/gdicmn.h>

#include "ui/BrowserControl.h"

class wxWindow;

namespace zq {

// The control `Browser`: it lies over the whole window, hidden until revealed. The web
// engine comes only with the first navigation request; when it cannot start, the same
// place shows a sentence saying that the usage page cannot be shown.
class UsageBrowser {
public:
    UsageBrowser(wxWindow* parent, const wxRect& rect);
    ~UsageBrowser();

    void Navigate(const std::string& address);
    void Reveal();

    // The browser's window, once the first navigation request has made one.
    wxWindow* Window() const { return control_ ? control_->Window() : nullptr; }

private:
    wxWindow* parent_;
    wxRect rect_;
    std::unique_ptr<BrowserControl> control_;
};

}  // namespace zq
