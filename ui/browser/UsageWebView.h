#pragma once

#include <string>

#include <wx/gdicmn.h>
#include <wx/string.h>

#include "ui/BrowserView.h"

class wxWebView;
class wxWebViewEvent;

namespace zq {

// A hidden web view that loads the usage page while hidden and shows it when revealed.
// Until the page has arrived it shows a few words of its own, never an empty page.
class UsageWebView final : public BrowserView {
public:
    UsageWebView(wxWindow* parent, const wxRect& rect);
    ~UsageWebView() override;
    UsageWebView(const UsageWebView&) = delete;
    UsageWebView& operator=(const UsageWebView&) = delete;

    void Navigate(const std::string& address) override;
    void Reveal() override;
    wxWindow* Window() override;
    std::string PageText() override;
    bool IsLoading() override;
    std::string CurrentAddress() override;

private:
    void OnNavigating(wxWebViewEvent& event);
    void OnLoaded(wxWebViewEvent& event);
    void OnNewWindow(wxWebViewEvent& event);

    wxWebView* view_ = nullptr;
    wxString address_;
    bool addressRequested_ = false;
};

}  // namespace zq
