#include "WebPage.h"

#include <memory>
#include <optional>

#include <wx/window.h>

#include <webkit2/webkit2.h>

#include "UiHarness.h"

namespace zq::test {

namespace {

WebKitWebView* ViewOf(wxWindow* browser) {
    return browser && WEBKIT_IS_WEB_VIEW(browser->GetHandle()) ? WEBKIT_WEB_VIEW(browser->GetHandle()) : nullptr;
}

}  // namespace

std::string PageText(wxWindow* browser) {
    return RunScript(browser, "document.documentElement ? document.documentElement.innerText : ''");
}

std::string RunScript(wxWindow* browser, const char* script) {
    WebKitWebView* view = ViewOf(browser);
    if (!view) return {};
    // Shared with the answer, which may come after this gives up waiting (a busy page).
    using Answer = std::shared_ptr<std::optional<std::string>>;
    const Answer text = std::make_shared<std::optional<std::string>>();
    webkit_web_view_evaluate_javascript(
        view, script, -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer out) {
            const std::unique_ptr<Answer> answer(static_cast<Answer*>(out));
            JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            auto& text = **answer;
            text = "";
            if (!value) return;
            gchar* string = jsc_value_to_string(value);
            text = string;
            g_free(string);
            g_object_unref(value);
        },
        new Answer(text));
    WaitUntil([&] { return text->has_value(); }, 5000);
    return text->value_or("");
}

bool IsLoading(wxWindow* browser) {
    WebKitWebView* view = ViewOf(browser);
    return view && webkit_web_view_is_loading(view);
}

std::string CurrentAddress(wxWindow* browser) {
    WebKitWebView* view = ViewOf(browser);
    const char* uri = view ? webkit_web_view_get_uri(view) : nullptr;
    return uri ? uri : "";
}

bool ServerPageLoaded(wxWindow* browser) {
    // Asked of the page itself: the view names the address it goes to before it is there.
    return !IsLoading(browser) && RunScript(browser, "location.protocol + document.readyState") == "http:complete";
}

}  // namespace zq::test
