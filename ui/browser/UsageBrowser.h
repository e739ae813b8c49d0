#pragma once

#include <memory>
#include <string>

#include <wx/gdicmn.h>

#include "ui/browser/BrowserControl.h"

class wxWindow;

namespace zq {

// The control `Browser`: it lies over the whole window, hidden until revealed. The web
// engine comes only with the first navigation request, and starts in short steps so that
// the window keeps answering meanwhile; when it cannot start, the same place shows a
// sentence saying that the usage page cannot be shown.
class UsageBrowser {
public:
    // `scale` is the window's layout scale: what the browser shows grows with it.
    UsageBrowser(wxWindow* parent, const wxRect& rect, double scale);
    ~UsageBrowser();

    void Navigate(const std::string& address);
    void Reveal();
    // The page takes the window's focus, now or as soon as the engine has started.
    void Focus();

    // The browser's window, once the engine has started after the first navigation request.
    wxWindow* Window() const { return control_ ? control_->Window() : nullptr; }

private:
    using PrepareEngine = decltype(&zq_prepare_browser_engine);
    using StartEngine = decltype(&zq_start_browser_engine);
    using CreateControl = decltype(&zq_create_browser_control);

    void EngineLoaded(PrepareEngine prepare, StartEngine start, CreateControl create);
    void EnginePrepared(StartEngine start, CreateControl create);
    void Install(BrowserControl* control);

    wxWindow* parent_;
    wxRect rect_;
    double scale_;
    std::unique_ptr<BrowserControl> control_;
    std::string address_;  // the request made while the engine was starting
    bool starting_ = false;
    bool revealed_ = false;
    bool focused_ = false;
    // Steps queued for later hold a weak reference: the window may be gone by then.
    std::shared_ptr<UsageBrowser*> self_ = std::make_shared<UsageBrowser*>(this);
};

}  // namespace zq
