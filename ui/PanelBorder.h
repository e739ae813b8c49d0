#pragma once

#include <wx/brush.h>
#include <wx/panel.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace zq {

// The entry panel with its border and caption drawn around it. On Windows a label that
// spans the panel's whole width would paint its own background over the border's side
// lines; a label made with MakeSeeThroughLabel is painted over the border instead.
class BorderedPanel final : public wxPanel {
public:
    BorderedPanel(wxWindow* parent, const wxPoint& position, const wxSize& size, const wxString& caption);

    // A centred label, without a background of its own where the platform paints one.
    wxStaticText* MakeSeeThroughLabel(const wxPoint& position, const wxSize& size);

#ifdef __WXMSW__
    WXHBRUSH MSWGetBgBrushForChild(WXHDC dc, wxWindowMSW* child) override;

private:
    class Border;
    Border* border_;
    wxWindow* seeThrough_ = nullptr;
    wxBrush under_;  // what the border draws under seeThrough_; alive while it is in use
#endif
};

}  // namespace zq
