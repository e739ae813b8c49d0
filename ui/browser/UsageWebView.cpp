#include "ui/browser/UsageWebView.h"

#include <wx/base64.h>
#include <wx/uri.h>
#include <wx/webview.h>

#include "ui/browser/WebEngineContext.h"

#ifdef __WXGTK__
#include <webkit2/webkit2.h>
#endif

namespace zq {

namespace {

// Shown from the first navigation until the usage page replaces it, so that a reveal
// before the server has answered shows words, never an empty page.
constexpr char kLoadingPage[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
    "body{font:15px sans-serif;color:#444;text-align:center;margin:120px 16px}"
    "</style></head><body><p>Memuat halaman pemakaian Zentra&hellip;</p></body></html>";

wxString LoadingPageAddress() {
    return "data:text/html;charset=utf-8;base64," +
           wxBase64Encode(kLoadingPage, sizeof kLoadingPage - 1);
}

bool IsPlaceholder(const wxString& url) { return url.StartsWith("data:"); }

// The page comes over plain http: it may go to other web pages, never to local files or
// other schemes.
bool IsAllowedNavigation(const wxString& url) {
    const wxString scheme = wxURI(url).GetScheme().Lower();
    return scheme == "http" || scheme == "https" || scheme == "about" || IsPlaceholder(url);
}

#ifdef __WXGTK__
gboolean DenyPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
    webkit_permission_request_deny(request);
    return TRUE;
}

// alert, confirm and prompt would open windows of their own; a page looping on alert()
// would bury the program under them. They are answered at once, unseen.
gboolean SilenceScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer) { return TRUE; }

void CancelDownload(WebKitWebContext*, WebKitDownload* download, gpointer) {
    webkit_download_cancel(download);
}

// The page is untrusted and the program needs none of what it might ask for: locations,
// notifications, media devices and downloads are refused outright.
void ConfigureEngine(WebKitWebView* webView) {
    WebKitSettings* settings = webkit_web_view_get_settings(webView);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    // A one-page view needs no GPU; composited drawing was seen to shift the page up,
    // leaving a strip of the window uncovered.
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    g_signal_connect(webView, "permission-request", G_CALLBACK(DenyPermission), nullptr);
    g_signal_connect(webView, "script-dialog", G_CALLBACK(SilenceScriptDialog), nullptr);

    WebKitWebContext* context = webkit_web_view_get_context(webView);
    if (!g_object_get_data(G_OBJECT(context), "zentra-downloads-refused")) {
        g_signal_connect(context, "download-started", G_CALLBACK(CancelDownload), nullptr);
        g_object_set_data(G_OBJECT(context), "zentra-downloads-refused", context);
    }
}
#endif

}  // namespace

UsageWebView::UsageWebView(wxWindow* parent, const wxRect& rect) {
    PrepareWebEngine();
    view_ = wxWebView::New();
    view_->Hide();  // created hidden: it must not flash over the panel
    view_->Create(parent, wxID_ANY, LoadingPageAddress(), rect.GetPosition(), rect.GetSize());
    view_->EnableContextMenu(false);  // its menu offers downloads and new windows
#ifdef __WXGTK__
    ConfigureEngine(static_cast<WebKitWebView*>(view_->GetNativeBackend()));
#endif
    view_->Bind(wxEVT_WEBVIEW_NAVIGATING, &UsageWebView::OnNavigating, this);
    view_->Bind(wxEVT_WEBVIEW_LOADED, &UsageWebView::OnLoaded, this);
    view_->Bind(wxEVT_WEBVIEW_NEWWINDOW, &UsageWebView::OnNewWindow, this);
}

UsageWebView::~UsageWebView() {
#ifdef __WXGTK__
    // A page busy in a script would keep its web process running for seconds after the
    // program has ended; end it with the window.
    webkit_web_view_terminate_web_process(static_cast<WebKitWebView*>(view_->GetNativeBackend()));
#endif
    RemoveWebEngineLeftovers();
}

void UsageWebView::Navigate(const std::string& address) {
    address_ = wxString::FromUTF8(address.c_str());
    // Until the placeholder is in, OnLoaded takes the address from here.
    if (addressRequested_) view_->LoadURL(address_);
}

void UsageWebView::Reveal() { view_->Show(); }

wxWindow* UsageWebView::Window() { return view_; }

std::string UsageWebView::PageText() {
    wxString text;
    if (!view_->RunScript("document.documentElement ? document.documentElement.innerText : ''", &text)) return {};
    return text.utf8_string();
}

bool UsageWebView::IsLoading() { return view_->IsBusy(); }

std::string UsageWebView::CurrentAddress() { return view_->GetCurrentURL().utf8_string(); }

void UsageWebView::OnNavigating(wxWebViewEvent& event) {
    if (!IsAllowedNavigation(event.GetURL())) event.Veto();
}

void UsageWebView::OnLoaded(wxWebViewEvent& event) {
    if (!addressRequested_ && IsPlaceholder(event.GetURL())) {
        addressRequested_ = true;
        view_->LoadURL(address_);
    }
}

void UsageWebView::OnNewWindow(wxWebViewEvent& event) { event.Veto(); }

}  // namespace zq

extern "C" zq::BrowserView* zq_create_browser_view(wxWindow* parent, const wxRect* rect) {
    return new zq::UsageWebView(parent, *rect);
}
