#pragma once

#include <webkit2/webkit2.h>

namespace zq {

// The keyboard in the shown page, as a browser has it: the page takes the window's focus
// with the reading position at its top, and Tab goes round the page's own links, since the
// window has nothing else the keyboard may reach once the page is shown.
class PageFocus {
public:
    explicit PageFocus(WebKitWebView* view);
    ~PageFocus();

    PageFocus(const PageFocus&) = delete;
    PageFocus& operator=(const PageFocus&) = delete;

    // Gives the view the window's focus (without activating the window) and the page in it.
    void Take();
    // A page has loaded: where the view has the focus, the new page gets it.
    void PageLoaded();

private:
    void FocusDocument();
    static gboolean FocusLeaving(GtkWidget* view, GtkDirectionType direction, gpointer self);
    static gboolean KeyPressed(GtkWidget* view, GdkEventKey* event, gpointer self);
    static gboolean GoRound(gpointer self);
    static gboolean FocusIn(GtkWidget* view, GdkEventFocus* event, gpointer self);

    WebKitWebView* view_;
    guint goRound_ = 0;
    guint documentFocus_ = 0;
    bool taking_ = false;  // the page is to take the focus once the view has it
    bool backward_ = false;
    bool wentRound_ = false;  // a key was sent to go round, and no key of the user's came since
};

}  // namespace zq
