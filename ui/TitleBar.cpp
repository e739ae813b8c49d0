#include "ui/TitleBar.h"

#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace zq {

#ifdef __WXGTK__

namespace {

// The title bar and its labels are the toolkit's own children, reached only with forall.
template <typename Match>
GtkWidget* FindInside(GtkWidget* widget, Match match) {
    if (match(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    struct Search {
        Match match;
        GtkWidget* found = nullptr;
    } search{match};
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer data) {
            auto* s = static_cast<Search*>(data);
            if (!s->found) s->found = FindInside(child, s->match);
        },
        &search);
    return search.found;
}

void FitTitle(GtkWidget* window) {
    GtkWidget* titleBar = FindInside(window, [](GtkWidget* w) { return GTK_IS_HEADER_BAR(w); });
    if (!titleBar) return;  // the window manager draws the title bar
    GtkWidget* title = FindInside(titleBar, [](GtkWidget* w) {
        return GTK_IS_LABEL(w) && gtk_style_context_has_class(gtk_widget_get_style_context(w), "title");
    });
    if (!title) return;
    // Asks for next to no width, takes all there is, and ends in "…" where the text is longer.
    gtk_label_set_ellipsize(GTK_LABEL(title), PANGO_ELLIPSIZE_END);
    gtk_label_set_max_width_chars(GTK_LABEL(title), 1);
    gtk_widget_set_hexpand(title, TRUE);
}

}  // namespace

void FitTitleToWindow(wxTopLevelWindow* window) {
    GtkWidget* widget = window->GetHandle();
    // The toolkit makes its title bar as the window is realized.
    if (gtk_widget_get_realized(widget)) FitTitle(widget);
    g_signal_connect_after(widget, "realize", G_CALLBACK(+[](GtkWidget* w, gpointer) { FitTitle(w); }), nullptr);
}

#else

void FitTitleToWindow(wxTopLevelWindow*) {}  // the system draws the title bar

#endif

}  // namespace zq
