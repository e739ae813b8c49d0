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

void MarkAsClickableText(wxWindow* control, std::string_view name) { SetAccessibleName(control, name); }

#endif

}  // namespace zq
