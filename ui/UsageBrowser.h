#pragma once

#include <string>

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxWebView;
class wxWebViewEvent;
class wxWindow;

namespace zq {

// The embedded browser that lies over the whole window. The web view, and the web engine
// processes behind it, are only created at the first navigation request; until the reveal
// it stays hidden while it loads.
class UsageBrowser {
public:
    UsageBrowser(wxWindow* parent, const wxRect& rect);
    ~UsageBrowser();
    UsageBrowser(const UsageBrowser&) = delete;
    UsageBrowser& operator=(const UsageBrowser&) = delete;

    void Navigate(const std::string& address);
    void Reveal();

    wxWebView* View() const { return view_; }

private:
    void CreateView();
    void OnNavigating(wxWebViewEvent& event);
    void OnLoaded(wxWebViewEvent& event);
    void OnNewWindow(wxWebViewEvent& event);

    wxWindow* parent_;
    wxRect rect_;
    wxWebView* view_ = nullptr;
    wxString address_;
    bool addressRequested_ = false;
};

}  // namespace zq
