// The usage page browser where the toolkit's web view is the platform's own browser
// control (Windows: Edge where the build has it, else the system's web browser control).
#include <memory>
#include <string>

#include <wx/log.h>
#include <wx/uri.h>
#include <wx/webview.h>

#if defined(__WXMSW__) && wxUSE_WEBVIEW_IE
#include <exdisp.h>
#include <mshtml.h>
#include <wx/msw/webview_ie.h>
#endif

#include "ui/browser/BrowserControl.h"

namespace zq {

namespace {

// The page comes over plain http: it may go to other web pages, never to local files or
// other schemes.
bool IsAllowedNavigation(const wxString& url) {
    const wxString scheme = wxURI(url).GetScheme().Lower();
    return scheme == "http" || scheme == "https" || url == "about:blank";
}

class WxWebViewBrowserControl final : public BrowserControl {
public:
    WxWebViewBrowserControl(wxWindow* parent, const wxRect& rect, double zoom)
        : parent_(parent), rect_(rect), zoom_(zoom) {}

    // The view is made with the address as its first page: the system's control cannot
    // show a page of the program's own first, and navigating straight is what it does best.
    void Navigate(const std::string& address) override {
        if (view_) return;  // one navigation request per run
        wxLogNull quiet;    // a control that cannot start leaves the area empty, without a box
#if defined(__WXMSW__) && wxUSE_WEBVIEW_IE
        // Unasked, the control renders pages as a browser of 2006 would; today's pages
        // need the newest engine the system has.
        wxWebViewIE::MSWSetEmulationLevel(wxWEBVIEWIE_EMU_IE11);
#endif
        view_ = wxWebView::New();
        view_->Hide();  // created hidden: it must not flash over the panel
        if (!view_->Create(parent_, wxID_ANY, wxString::FromUTF8(address.c_str()), rect_.GetPosition(),
                           rect_.GetSize())) {
            return;
        }
        view_->EnableContextMenu(false);  // its menu offers downloads and new windows
        // The page grows with the window, for the desktop's text size.
        if (zoom_ != 1.0 && view_->CanSetZoomType(wxWEBVIEW_ZOOM_TYPE_LAYOUT)) {
            view_->SetZoomType(wxWEBVIEW_ZOOM_TYPE_LAYOUT);
            view_->SetZoomFactor(static_cast<float>(zoom_));
        }
#if defined(__WXMSW__) && wxUSE_WEBVIEW_IE
        // Script errors and the control's other dialogs are not shown.
        if (auto* browser = static_cast<IWebBrowser2*>(view_->GetNativeBackend())) browser->put_Silent(VARIANT_TRUE);
#endif
        view_->Bind(wxEVT_WEBVIEW_NAVIGATING, [](wxWebViewEvent& event) {
            if (!IsAllowedNavigation(event.GetURL())) event.Veto();
        });
        view_->Bind(wxEVT_WEBVIEW_NEWWINDOW, [](wxWebViewEvent& event) { event.Veto(); });
        view_->Bind(wxEVT_WEBVIEW_LOADED, [this](wxWebViewEvent& event) {
            if (focused_) FocusDocument();
            event.Skip();
        });
    }

    void Reveal() override {
        if (view_) view_->Show();
    }

    // The control takes the window's focus, and its page the control's, now and for each
    // page it loads later (the page may arrive after the reveal), so that its keys scroll it.
    void Focus() override {
        focused_ = true;
        if (!view_) return;
        view_->SetFocus();
        FocusDocument();
    }

    wxWindow* Window() override { return view_; }

private:
    // The system's control keeps the keyboard on its frame until its document is told to
    // take it; other engines move it in with the control's own focus.
    void FocusDocument() {
#if defined(__WXMSW__) && wxUSE_WEBVIEW_IE
        auto* browser = static_cast<IWebBrowser2*>(view_->GetNativeBackend());
        IDispatch* dispatch = nullptr;
        if (!browser || FAILED(browser->get_Document(&dispatch)) || !dispatch) return;
        IHTMLDocument2* document = nullptr;
        if (SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)))) {
            IHTMLWindow2* window = nullptr;
            if (SUCCEEDED(document->get_parentWindow(&window)) && window) {
                window->focus();
                window->Release();
            }
            document->Release();
        }
        dispatch->Release();
#endif
    }

    wxWindow* parent_;
    wxRect rect_;
    double zoom_;
    wxWebView* view_ = nullptr;
    bool focused_ = false;
};

}  // namespace

}  // namespace zq

extern "C" void zq_probe_browser_engine() {}

extern "C" void zq_prepare_browser_engine(void (*ready)(void*), void* data) { ready(data); }

extern "C" bool zq_start_browser_engine() { return true; }

extern "C" zq::BrowserControl* zq_create_browser_control(wxWindow* parent, const wxRect* rect, double zoom) {
    return new zq::WxWebViewBrowserControl(parent, *rect, zoom);
}
