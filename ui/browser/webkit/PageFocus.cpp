#include "ui/browser/webkit/PageFocus.h"

#include <initializer_list>
#include <utility>

namespace zq {

namespace {

constexpr char kViewKey[] = "zentra-quota-view";  // a weak reference to the view
AtkStateSet* (*engineStates)(AtkObject*) = nullptr;

// The engine's accessible for the view stands in for the page's own tree and reports none of
// the widget's states: a screen reader that hears the view take the focus calls it
// "grayed". It is given the states of its widget as well.
AtkStateSet* StatesWithWidget(AtkObject* accessible) {
    AtkStateSet* states = engineStates(accessible);
    auto* view = static_cast<GWeakRef*>(g_object_get_data(G_OBJECT(accessible), kViewKey));
    auto* widget = view ? static_cast<GtkWidget*>(g_weak_ref_get(view)) : nullptr;
    if (!widget) return states;
    if (gtk_widget_is_sensitive(widget)) {
        atk_state_set_add_state(states, ATK_STATE_ENABLED);
        atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    }
    if (gtk_widget_get_can_focus(widget)) atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
    if (gtk_widget_get_visible(widget)) atk_state_set_add_state(states, ATK_STATE_VISIBLE);
    if (gtk_widget_get_mapped(widget)) atk_state_set_add_state(states, ATK_STATE_SHOWING);
    g_object_unref(widget);
    return states;
}

// Asked for once the view is in the window: an accessible made earlier has no parent, and
// a screen reader then loses its place in the window.
//
// The accessible is also marked redundant, which it is: it only holds the page's own tree,
// whose focused element a screen reader must follow. Otherwise the toolkit reports the
// view's own focus too, from the window's process, while the page reports its element's
// from the web process; a reader that picks its handling by the last focus it hears (Orca
// does) then went back to its plain handling whenever the view's report happened to arrive
// second, and read nothing of the page. The toolkit never reports focus on a redundant
// object, so there is one report, whatever the order of the two processes.
void ReportWidgetStates(GtkWidget* view) {
    AtkObject* accessible = gtk_widget_get_accessible(view);
    if (GTK_IS_ACCESSIBLE(accessible) || g_object_get_data(G_OBJECT(accessible), kViewKey)) return;
    atk_object_set_role(accessible, ATK_ROLE_REDUNDANT_OBJECT);
    auto* reference = g_new0(GWeakRef, 1);
    g_weak_ref_init(reference, view);
    g_object_set_data_full(G_OBJECT(accessible), kViewKey, reference, [](gpointer reference) {
        g_weak_ref_clear(static_cast<GWeakRef*>(reference));
        g_free(reference);
    });
    AtkObjectClass* type = ATK_OBJECT_GET_CLASS(accessible);
    if (type->ref_state_set != StatesWithWidget) {
        engineStates = type->ref_state_set;
        type->ref_state_set = StatesWithWidget;
    }
}

}  // namespace

PageFocus::PageFocus(WebKitWebView* view) : view_(view) {
    g_signal_connect(view_, "focus", G_CALLBACK(FocusLeaving), this);
    g_signal_connect(view_, "key-press-event", G_CALLBACK(KeyPressed), this);
    g_signal_connect(view_, "focus-in-event", G_CALLBACK(FocusIn), this);
}

PageFocus::~PageFocus() {
    if (goRound_) g_source_remove(goRound_);
    if (documentFocus_) g_source_remove(documentFocus_);
    g_signal_handlers_disconnect_by_data(view_, this);
}

// The document takes the focus once the view has it in an active window (at once, or when
// the user comes back to the window), after the toolkit has told a screen reader that the
// view has it: told the other way round, the reader stays on the view and reads nothing.
void PageFocus::Take() {
    taking_ = true;
    ReportWidgetStates(GTK_WIDGET(view_));
    gtk_widget_grab_focus(GTK_WIDGET(view_));
    if (gtk_widget_has_focus(GTK_WIDGET(view_))) FocusIn(GTK_WIDGET(view_), nullptr, this);
}

gboolean PageFocus::FocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
    auto* focus = static_cast<PageFocus*>(self);
    if (std::exchange(focus->taking_, false) && !focus->documentFocus_) {
        focus->documentFocus_ = g_idle_add(
            [](gpointer self) -> gboolean {
                auto* focus = static_cast<PageFocus*>(self);
                focus->documentFocus_ = 0;
                focus->FocusDocument();
                return G_SOURCE_REMOVE;
            },
            focus);
    }
    return FALSE;
}

void PageFocus::PageLoaded() { FocusDocument(); }

// A page where no element has the focus never tells a screen reader that the keyboard is in
// it. Its body holds the focus for a moment (borrowing a tab index if it has none), which
// the reader hears, and the caret goes to the page's top, where reading starts. An element
// the page focused itself keeps the focus.
void PageFocus::FocusDocument() {
    if (!gtk_widget_is_focus(GTK_WIDGET(view_))) return;
    webkit_web_view_evaluate_javascript(
        view_,
        "(function(){var b=document.body;if(!b||document.activeElement!==b)return;"
        "var own=!b.hasAttribute('tabindex');if(own)b.tabIndex=-1;b.focus({preventScroll:true});"
        "b.blur();if(own)b.removeAttribute('tabindex');getSelection().collapse(b,0);})()",
        -1, "zentra-quota", nullptr, nullptr, nullptr, nullptr);
}

// Tab past the page's last link hands the focus back to the window, which would stop on the
// view itself with nothing focused in it. Instead the same key goes to the page once more,
// from its edge, so that it lands on the first link (the last for Shift+Tab).
gboolean PageFocus::FocusLeaving(GtkWidget* view, GtkDirectionType direction, gpointer self) {
    if (!gtk_widget_is_focus(view) || (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD)) {
        return FALSE;
    }
    auto* focus = static_cast<PageFocus*>(self);
    // Leaving again on the key sent to go round: the page has nothing to focus, and the focus
    // stays on the page itself.
    if (std::exchange(focus->wentRound_, false)) return TRUE;
    focus->backward_ = direction == GTK_DIR_TAB_BACKWARD;
    if (!focus->goRound_) focus->goRound_ = g_idle_add(GoRound, focus);
    return TRUE;
}

gboolean PageFocus::KeyPressed(GtkWidget*, GdkEventKey* event, gpointer self) {
    if (!event->send_event) static_cast<PageFocus*>(self)->wentRound_ = false;  // the user's own key
    return FALSE;
}

gboolean PageFocus::GoRound(gpointer self) {
    auto* focus = static_cast<PageFocus*>(self);
    focus->goRound_ = 0;
    GtkWidget* view = GTK_WIDGET(focus->view_);
    GdkWindow* window = gtk_widget_get_window(view);
    if (!window) return G_SOURCE_REMOVE;
    GdkDisplay* display = gdk_window_get_display(window);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), GDK_KEY_Tab, &keys, &count);
    for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.state = focus->backward_ ? GDK_SHIFT_MASK : 0;
        event->key.keyval = focus->backward_ ? GDK_KEY_ISO_Left_Tab : GDK_KEY_Tab;
        event->key.hardware_keycode = count > 0 ? static_cast<guint16>(keys[0].keycode) : 0;
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
        gtk_widget_event(view, event);
        gdk_event_free(event);  // releases the window too
    }
    g_free(keys);
    focus->wentRound_ = true;
    return G_SOURCE_REMOVE;
}

}  // namespace zq
