#include "ui/TextLimit.h"

#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace zq {

#ifdef __WXGTK__

namespace {

void CutInsertionToFit(GtkEditable* editable, const gchar* text, gint length, gint* position,
                       gpointer maxCharacters) {
    const glong limit = GPOINTER_TO_INT(maxCharacters);
    const glong present = g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(editable)), -1);
    const glong inserted = g_utf8_strlen(text, length);
    if (present + inserted <= limit) return;

    g_signal_stop_emission_by_name(editable, "insert-text");
    const glong room = limit > present ? limit - present : 0;
    if (room == 0) {
        gtk_widget_error_bell(GTK_WIDGET(editable));
        return;
    }
    const gchar* end = g_utf8_offset_to_pointer(text, room);
    g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(CutInsertionToFit), maxCharacters);
    gtk_editable_insert_text(editable, text, static_cast<gint>(end - text), position);
    g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(CutInsertionToFit), maxCharacters);
}

}  // namespace

void LimitCharacters(wxTextCtrl* textBox, int maxCharacters) {
    g_signal_connect(textBox->GetHandle(), "insert-text", G_CALLBACK(CutInsertionToFit),
                     GINT_TO_POINTER(maxCharacters));
}

#else

void LimitCharacters(wxTextCtrl* textBox, int maxCharacters) {
    textBox->SetMaxLength(static_cast<unsigned long>(maxCharacters));
}

#endif

}  // namespace zq
