#include "ui/LayoutScale.h"

#include <algorithm>
#include <string>

#include <wx/control.h>
#include <wx/settings.h>
#include <wx/window.h>

#ifdef __WXGTK__
#include <gdk/gdk.h>
#endif

#include "ui/DesignData.h"

namespace zq {

double TextResolutionScale() {
#ifdef __WXGTK__
    // Xft/DPI and GDK_DPI_SCALE on X11, the text scaling factor on Wayland.
    const double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
    return dpi > 0 ? dpi / 96.0 : 1.0;
#else
    return 1.0;
#endif
}

double GrowthBeyondTextResolution(double layoutScale) {
    return layoutScale / std::max(1.0, TextResolutionScale());
}

double LayoutScale(const wxWindow* window) {
    double scale = std::max(1.0, TextResolutionScale());
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    for (const design::TextRoom& room : design::kTextRooms) {
        wxString text = wxControl::RemoveMnemonics(wxString::FromUTF8(room.text));
        if (room.text == captions::kSavedNumberPrefix) text += design::kLongestNumber;
        int width = 0;
        int height = 0;
        window->GetTextExtent(text, &width, &height, nullptr, nullptr, &font);
        const double neededWidth = window->ToDIP(width) + room.framePixels;
        const double neededHeight = window->ToDIP(height) - design::kLineLeadingPixels;
        scale = std::max({scale, neededWidth / design::ToPixels(room.control.width),
                          neededHeight / design::ToPixels(room.control.height)});
    }
    return scale;
}

}  // namespace zq
