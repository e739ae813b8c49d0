#include "ui/Accessibility.h"

#include <string>

#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace zq {

#ifdef __WXGTK__

namespace {

AtkObject* AccessibleOf(wxWindow* control) {
    return gtk_widget_get_accessible(GTK_WIDGET(control->GetHandle()));
}

}  // namespace

void SetAccessibleName(wxWindow* control, std::string_view name) {
    atk_object_set_name(AccessibleOf(control), std::string(name).c_str());
}

void SetAccessibleDescription(wxWindow* control, std::string_view description) {
    atk_object_set_description(AccessibleOf(control), std::string(description).c_str());
}

void Announce(wxWindow* window, std::string_view words) {
    // The signal came with ATK 2.46; the bridge to the readers passes it on as an event.
    if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) == 0) return;
    g_signal_emit_by_name(AccessibleOf(window), "announcement", std::string(words).c_str());
}

void LabelControl(wxWindow* label, wxWindow* control) {
    if (GTK_IS_LABEL(label->GetHandle())) {
        gtk_label_set_mnemonic_widget(GTK_LABEL(label->GetHandle()), GTK_WIDGET(control->GetHandle()));
    }
}

void MarkAsClickableText(wxWindow* control, std::string_view name) {
    AtkObject* accessible = AccessibleOf(control);
    atk_object_set_role(accessible, ATK_ROLE_LINK);
    atk_object_set_name(accessible, std::string(name).c_str());
}

#else

// Elsewhere the native controls name themselves: a button by its caption, a text box by
// the label before it; the window's name is what remains to give.
void SetAccessibleName(wxWindow* control, std::string_view name) {
    control->SetName(wxString::FromUTF8(name.data(), name.size()));
}

// The toolkit offers no description here without its own accessibility layer.
void SetAccessibleDescription(wxWindow*, std::string_view) {}

// Windows' readers hear the window's own name and the focused control; there is no status
// to announce without the toolkit's accessibility layer.
void Announce(wxWindow*, std::string_view) {}

// The box is named by the accessible name given above; the native label carries no relation.
void LabelControl(wxWindow*, wxWindow*) {}

void MarkAsClickableText(wxWindow* control, std::string_view name) { SetAccessibleName(control, name); }

#endif

}  // namespace zq
