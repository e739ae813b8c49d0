// The usage page browser on GTK: a WebKitWebView made by the program itself, so that its
// context and its settings are chosen before it loads anything, hosted in the window.
#include <memory>
#include <string>

#include <wx/nativewin.h>
#include <wx/uri.h>

#include <glib-unix.h>
#include <webkit2/webkit2.h>

#include "ui/browser/BrowserControl.h"
#include "ui/browser/BrowserTexts.h"
#include "ui/browser/webkit/EngineMemory.h"
#include "ui/browser/webkit/LivenessWatch.h"
#include "ui/browser/webkit/LoadFailure.h"
#include "ui/browser/webkit/PageFocus.h"
#include "ui/browser/webkit/WebEngineContext.h"

namespace zq {

namespace {

// No usage page is megabytes long; a bigger declared body is refused before it arrives.
constexpr guint64 kMaxPageBytes = 4 * 1024 * 1024;
// Like any browser, give up on a server that takes the request and never answers.
constexpr guint kAnswerTimeoutSeconds = 30;
// A page without a declared length can still be endless, and a page's script can fill
// memory. The engine's processes need under 300 MB for a usage page; past this, they are
// ended, so that the whole program stays well under 600 MB.
constexpr std::size_t kEngineMemoryLimit = 450u * 1024 * 1024;
// The page comes over plain http: it may go to other web pages, never to local files or
// other schemes.
bool IsAllowedNavigation(const char* uri) {
    const wxString scheme = wxURI(wxString::FromUTF8(uri ? uri : "")).GetScheme().Lower();
    return scheme == "http" || scheme == "https" || scheme == "about";
}

class WebKitBrowserControl final : public BrowserControl {
public:
    WebKitBrowserControl(wxWindow* parent, const wxRect& rect, double zoom, WebKitWebContext* context) {
        // Settings before the first load: a view that drew its first page composited and
        // was switched later answers no mouse wheel. A one-page view needs no GPU, and
        // composited drawing leaves a strip uncovered at the top of a view that sticks out
        // below the window.
        WebKitSettings* settings = webkit_settings_new_with_settings(
            "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
            "javascript-can-open-windows-automatically", FALSE,
            "enable-developer-extras", FALSE, nullptr);
        view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                             "settings", settings, nullptr));
        g_object_unref(settings);
        focus_ = std::make_unique<PageFocus>(view_);
        // The page grows with the window, for the desktop's text size.
        webkit_web_view_set_zoom_level(view_, zoom);

        g_signal_connect(view_, "decide-policy", G_CALLBACK(DecidePolicy), this);
        g_signal_connect(view_, "load-changed", G_CALLBACK(LoadChanged), this);
        g_signal_connect(view_, "load-failed", G_CALLBACK(LoadFailed), this);
        g_signal_connect(view_, "load-failed-with-tls-errors", G_CALLBACK(Untrusted), this);
        g_signal_connect(view_, "web-process-terminated", G_CALLBACK(WebProcessEnded), this);
        g_signal_connect(view_, "permission-request", G_CALLBACK(DenyPermission), nullptr);
        g_signal_connect(view_, "script-dialog", G_CALLBACK(Handled), nullptr);
        g_signal_connect(view_, "context-menu", G_CALLBACK(Handled), nullptr);

        window_ = new wxNativeWindow();
        window_->Hide();  // created hidden: it must not flash over the panel
        window_->Create(parent, wxID_ANY, GTK_WIDGET(view_));
        window_->SetSize(rect);
        // The first load starts the web process; a turn of its own keeps the window's
        // thread from holding both steps at once.
        firstLoad_ = g_timeout_add(1, ShowLoadingWords, this);
        memoryCut_ = g_unix_fd_add(memoryWatch_.CutSignal(), G_IO_IN, MemoryCut, this);
        liveness_ = std::make_unique<LivenessWatch>(
            view_, memoryWatch_, [this] { return revealed_ && pageLoaded_; },
            [this](EngineLiveness::Verdict verdict) {
                webkit_web_view_terminate_web_process(view_);
                ShowFailure(verdict == EngineLiveness::Verdict::FillingMemory ? LoadFailure::TooLarge
                                                                               : LoadFailure::Unresponsive);
            });
    }

    ~WebKitBrowserControl() override {
        StopAnswerTimeout();
        RemoveSource(memoryCut_);
        liveness_.reset();
        RemoveSource(afterEnd_);
        RemoveSource(firstLoad_);
        g_signal_handlers_disconnect_by_data(view_, this);
        focus_.reset();
        // A page busy in a script would keep its web process running for seconds after
        // the program has ended; end it with the window.
        webkit_web_view_terminate_web_process(view_);
        RemoveWebEngineLeftovers();
    }

    WebKitBrowserControl(const WebKitBrowserControl&) = delete;
    WebKitBrowserControl& operator=(const WebKitBrowserControl&) = delete;

    void Navigate(const std::string& address) override {
        address_ = address;
        if (stage_ == Stage::PlaceholderShown) LoadAddress();
    }

    void Reveal() override {
        window_->Show();
        revealed_ = true;
    }

    void Focus() override { focus_->Take(); }

    wxWindow* Window() override { return window_; }

private:
    // The placeholder goes in first, so that a reveal before the server answers shows
    // words; the address is loaded once it is in.
    enum class Stage { LoadingPlaceholder, PlaceholderShown, LoadingAddress, Answered };

    void ShowWords(const std::string& html) {
        webkit_web_view_load_html(view_, browser_texts::WordsPage(html).c_str(), "about:blank");
    }

    static gboolean ShowLoadingWords(gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        control->firstLoad_ = 0;
        control->ShowWords(browser_texts::kLoading);
        return G_SOURCE_REMOVE;
    }

    void LoadAddress() {
        stage_ = Stage::LoadingAddress;
        webkit_web_view_load_uri(view_, address_.c_str());
        timeout_ = g_timeout_add_seconds(kAnswerTimeoutSeconds, NoAnswer, this);
    }

    static void RemoveSource(guint& source) {
        if (source) g_source_remove(std::exchange(source, 0u));
    }

    void StopAnswerTimeout() { RemoveSource(timeout_); }

    // The server has answered, or the program has given up on it: no time limit any more.
    void Answered() {
        stage_ = Stage::Answered;
        StopAnswerTimeout();
    }

    // One failure is shown, the first: what follows from it (the cut load, the ended
    // process) says nothing new.
    void ShowFailure(LoadFailure failure) {
        if (!failureWords_.empty()) return;
        Answered();
        if (liveness_) liveness_->Stop();
        failureWords_ = LoadFailureHtml(memoryWatch_.Cut() ? LoadFailure::TooLarge : failure);
        ShowWords(failureWords_);
    }

    static gboolean NoAnswer(gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        control->timeout_ = 0;  // this source ends here
        if (control->stage_ == Stage::LoadingAddress) {
            webkit_web_view_stop_loading(control->view_);
            control->ShowFailure(LoadFailure::NoAnswer);
        }
        return G_SOURCE_REMOVE;
    }

    // The watch has ended the engine's processes from its own thread; the words are
    // shown from here, whatever the engine reported first.
    static gboolean MemoryCut(gint, GIOCondition, gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        control->memoryCut_ = 0;
        control->ShowFailure(LoadFailure::TooLarge);
        return G_SOURCE_REMOVE;
    }

    // The engine is still taking stock of its ended process here: a page loaded from
    // inside this signal is lost, and so is one loaded after the process ended but before
    // the engine heard of it (as when the memory watch ended it). The words follow once the
    // engine is done: the failure's own, or again the ones it lost.
    static void WebProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API || control->afterEnd_ || control->wordsReshown_) return;
        control->endedFailure_ =
            reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? LoadFailure::TooLarge : LoadFailure::Other;
        control->afterEnd_ = g_idle_add(ShowFailureAfterEnd, control);
    }

    static gboolean ShowFailureAfterEnd(gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        control->afterEnd_ = 0;
        if (control->failureWords_.empty()) {
            control->ShowFailure(control->endedFailure_);
        } else {
            control->wordsReshown_ = true;  // once: words that end their process are not retried
            control->ShowWords(control->failureWords_);
        }
        return G_SOURCE_REMOVE;
    }

    // The system does not trust the server's certificate: the page is never shown anyway.
    static gboolean Untrusted(WebKitWebView*, gchar*, GTlsCertificate*, GTlsCertificateFlags, gpointer self) {
        static_cast<WebKitBrowserControl*>(self)->ShowFailure(LoadFailure::Untrusted);
        return TRUE;
    }

    static void LoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        control->memoryWatch_.PageComing();
        if (event == WEBKIT_LOAD_COMMITTED && control->stage_ == Stage::LoadingAddress) control->Answered();
        if (event == WEBKIT_LOAD_FINISHED && control->stage_ == Stage::Answered) control->pageLoaded_ = true;
        if (event == WEBKIT_LOAD_FINISHED) control->focus_->PageLoaded();
        if (event == WEBKIT_LOAD_FINISHED && control->stage_ == Stage::LoadingPlaceholder) {
            control->stage_ = Stage::PlaceholderShown;
            if (!control->address_.empty()) control->LoadAddress();
        }
    }

    static gboolean LoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        // A load cancelled by the next one, or by the time limit, says nothing of its own.
        if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) return TRUE;
        control->ShowFailure(ClassifyLoadError(error, control->tooLarge_));
        return TRUE;
    }

    static gboolean DecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self) {
        auto* control = static_cast<WebKitBrowserControl*>(self);
        switch (type) {
            case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
                webkit_policy_decision_ignore(decision);  // the page opens no windows
                return TRUE;
            case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
                WebKitNavigationAction* action =
                    webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
                if (IsAllowedNavigation(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)))) return FALSE;
                webkit_policy_decision_ignore(decision);
                return TRUE;
            }
            case WEBKIT_POLICY_DECISION_TYPE_RESPONSE: {
                auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
                // Anything that is not shown would be a download: none is wanted.
                const bool shown = webkit_response_policy_decision_is_mime_type_supported(response);
                const bool tooLarge = webkit_uri_response_get_content_length(
                                          webkit_response_policy_decision_get_response(response)) > kMaxPageBytes;
                if (shown && !tooLarge) return FALSE;
                if (webkit_response_policy_decision_is_main_frame_main_resource(response)) control->tooLarge_ = tooLarge;
                webkit_policy_decision_ignore(decision);
                return TRUE;
            }
            default:
                return FALSE;
        }
    }

    static gboolean DenyPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
        webkit_permission_request_deny(request);
        return TRUE;
    }

    // Script dialogs (alert, confirm, prompt) are answered unseen, so that a page looping
    // on alert() cannot bury the program under windows; the context menu offers downloads
    // and new windows.
    static gboolean Handled(WebKitWebView*, gpointer, gpointer) { return TRUE; }

    WebKitWebView* view_ = nullptr;
    wxNativeWindow* window_ = nullptr;
    std::string address_;
    Stage stage_ = Stage::LoadingPlaceholder;
    guint timeout_ = 0;
    EngineMemoryWatch memoryWatch_{kEngineMemoryLimit};
    guint memoryCut_ = 0;
    bool revealed_ = false;
    bool pageLoaded_ = false;      // the usage page itself, not the words before it
    guint afterEnd_ = 0;
    guint firstLoad_ = 0;
    LoadFailure endedFailure_ = LoadFailure::Other;
    std::string failureWords_;  // once a failure is shown
    bool wordsReshown_ = false;
    std::unique_ptr<LivenessWatch> liveness_;
    bool tooLarge_ = false;
    std::unique_ptr<PageFocus> focus_;
};

}  // namespace

}  // namespace zq

extern "C" void zq_probe_browser_engine() { zq::ProbeWebEngine(); }

extern "C" void zq_prepare_browser_engine(void (*ready)(void*), void* data) { zq::PrepareWebEngine(ready, data); }

extern "C" bool zq_start_browser_engine() { return zq::ProgramWebContext() != nullptr; }

extern "C" zq::BrowserControl* zq_create_browser_control(wxWindow* parent, const wxRect* rect, double zoom) {
    WebKitWebContext* context = zq::ProgramWebContext();
    if (!context) return nullptr;
    return new zq::WebKitBrowserControl(parent, *rect, zoom, context);
}
