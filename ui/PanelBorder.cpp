#include "ui/PanelBorder.h"

#ifdef __WXMSW__
#include <wx/dcmemory.h>
#include <wx/msw/private.h>
#endif

namespace zq {

#ifndef __WXMSW__

// GTK's labels have no background of their own: the border shows through them.
BorderedPanel::BorderedPanel(wxWindow* parent, const wxPoint& position, const wxSize& size, const wxString& caption)
    : wxPanel(parent, wxID_ANY, position, size) {
    new wxStaticBox(this, wxID_ANY, caption, wxPoint(0, 0), GetSize());
}

wxStaticText* BorderedPanel::MakeSeeThroughLabel(const wxPoint& position, const wxSize& size) {
    return new wxStaticText(this, wxID_ANY, wxString(), position, size, wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
}

#else

namespace {

// A native label whose background is asked of its parent, as a transparent control's is.
class SeeThroughStaticText final : public wxStaticText {
public:
    using wxStaticText::wxStaticText;
    bool HasTransparentBackground() override { return true; }
};

}  // namespace

// The border and caption, able to draw themselves into any DC as they do on screen.
class BorderedPanel::Border final : public wxStaticBox {
public:
    using wxStaticBox::wxStaticBox;

    wxBitmap Drawing() {
        RECT rc;
        ::GetClientRect(GetHwnd(), &rc);
        wxBitmap bitmap(rc.right, rc.bottom);
        wxMemoryDC dc(bitmap);
        PaintBackground(dc, rc);
        PaintForeground(dc, rc);
        dc.SelectObject(wxNullBitmap);
        return bitmap;
    }
};

BorderedPanel::BorderedPanel(wxWindow* parent, const wxPoint& position, const wxSize& size, const wxString& caption)
    : wxPanel(parent, wxID_ANY, position, size),
      border_(new Border(this, wxID_ANY, caption, wxPoint(0, 0), GetSize())) {}

wxStaticText* BorderedPanel::MakeSeeThroughLabel(const wxPoint& position, const wxSize& size) {
    auto* label = new SeeThroughStaticText(this, wxID_ANY, wxString(), position, size,
                                           wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    seeThrough_ = label;
    return label;
}

// The label fills its background with the border's own drawing of the same place, lines
// included, and draws its text on it; drawn afresh each time, so a change of the caption,
// the colours or the DPI leaves nothing behind.
WXHBRUSH BorderedPanel::MSWGetBgBrushForChild(WXHDC dc, wxWindowMSW* child) {
    if (child != seeThrough_ || !border_->IsShown()) return wxPanel::MSWGetBgBrushForChild(dc, child);
    const wxRect place(child->GetPosition() - border_->GetPosition(), child->GetSize());
    const wxBitmap drawing = border_->Drawing();
    const wxRect inside = place.Intersect(wxRect(drawing.GetSize()));
    if (inside != place || place.IsEmpty()) return wxPanel::MSWGetBgBrushForChild(dc, child);
    under_ = wxBrush(drawing.GetSubBitmap(place));
    ::SetBrushOrgEx(static_cast<HDC>(dc), 0, 0, nullptr);
    return static_cast<WXHBRUSH>(under_.GetResourceHandle());
}

#endif

}  // namespace zq
