#include "ui/Form1.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include <wx/bmpbndl.h>
#include <wx/button.h>
#include <wx/iconbndl.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/generic/stattextg.h>
#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "ui/Accessibility.h"
#include "ui/DesignData.h"
#include "ui/EmbeddedArt.h"
#include "ui/LayoutScale.h"
#include "ui/PanelBorder.h"
#include "ui/TextLimit.h"
#include "ui/TitleBar.h"

namespace zq {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

std::string ToUtf8(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

// Design data is in twips; the window works in its own (DPI-independent) pixels, grown by
// the layout's scale for the desktop's text size.
wxPoint Position(const wxWindow* window, int leftTwips, int topTwips, double scale) {
    return window->FromDIP(wxPoint(design::ToPixels(leftTwips, scale), design::ToPixels(topTwips, scale)));
}

wxSize Size(const wxWindow* window, int widthTwips, int heightTwips, double scale) {
    return window->FromDIP(wxSize(design::ToPixels(widthTwips, scale), design::ToPixels(heightTwips, scale)));
}

wxPoint Position(const wxWindow* window, const design::Rect& r, double scale) {
    return Position(window, r.left, r.top, scale);
}

wxSize Size(const wxWindow* window, const design::Rect& r, double scale) {
    return Size(window, r.width, r.height, scale);
}

wxRect Rect(const wxWindow* window, const design::Rect& r, double scale) {
    return wxRect(Position(window, r, scale), Size(window, r, scale));
}

// A picture's pixels as an image: empty if they are not as many as its size says.
wxImage ImageOf(const art::Pixels& picture) {
    const auto pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.bytes.size() != pixels * static_cast<std::size_t>(picture.channels)) return wxImage();
    wxImage image(picture.width, picture.height, false);
    unsigned char* rgb = image.GetData();
    if (picture.channels == 3) {
        std::copy(picture.bytes.begin(), picture.bytes.end(), rgb);
        return image;
    }
    image.SetAlpha();
    unsigned char* alpha = image.GetAlpha();
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* rgba = &picture.bytes[i * 4];
        std::copy(rgba, rgba + 3, rgb + i * 3);
        alpha[i] = rgba[3];
    }
    return image;
}

// The logo in as many device pixels as its box has on this screen: grown with the layout,
// with the display's DPI (Windows) and with the content scale (GTK). Its own picture where
// that is its size, else drawn from the larger one, never blurred up from the small one.
wxBitmap LogoBitmap(const wxWindow* window, double scale) {
    const double contentScale = window->GetContentScaleFactor();
    const wxSize box = Size(window, design::kImage1, scale);
    const wxSize pixels(wxRound(box.x * contentScale), wxRound(box.y * contentScale));
    const art::Pixels own = art::Logo();
    if (pixels == wxSize(own.width, own.height)) return wxBitmap(ImageOf(own));
    const wxImage larger = ImageOf(art::Logo2x());
    return wxBitmap(pixels == larger.GetSize() ? larger : larger.Scale(pixels.x, pixels.y, wxIMAGE_QUALITY_HIGH),
                    -1, contentScale);
}

wxIconBundle WindowIcons() {
    wxIconBundle icons;
    for (const art::Pixels& picture : {art::Icon16(), art::Icon32(), art::Icon48()}) {
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(ImageOf(picture)));
        icons.AddIcon(icon);
    }
    return icons;
}

}  // namespace

Form1::Form1(CheckWorkflow& workflow)
    : wxFrame(nullptr, wxID_ANY, FromUtf8(design::kWindowTitle), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxFRAME_TOOL_WINDOW),
      workflow_(workflow),
      scale_(LayoutScale(this)),
      timer1_(this),
      browser_(this, Rect(this, design::kBrowser, scale_), scale_) {
    SetName("Form1");
    SetIcons(WindowIcons());
    FitTitleToWindow(this);
    SetClientSize(Size(this, design::kClientWidth, design::kClientHeight, scale_));
#ifdef __WXGTK__
    // A tool window has no task bar button by default; the user would lose this one.
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(GetHandle()), FALSE);
#endif
    BuildControls();
    Render();

    // Every control keeps its designed place: no stretching of a sole child to the window.
    // The window manager reports the title bar's size only as the window first appears;
    // the window is centred again, once, with it.
    Bind(wxEVT_SIZE, [this](wxSizeEvent&) {
        if (!centredWithDecorations_ && GetSize() != GetClientSize()) {
            centredWithDecorations_ = true;
            Centre(wxBOTH);
        }
    });
    // A click on the window's margin, which takes no focus, would otherwise move the focus
    // on to the next control as a Tab press does; the focus stays where it is.
    Bind(wxEVT_LEFT_DOWN, [](wxMouseEvent&) {});
    // Some screen readers say no window's description: the check under way is also
    // announced, once the window first has the user's attention.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
        if (event.GetActive() && !std::exchange(announced_, true) && !description_.empty()) {
            CallAfter([this] { Announce(this, description_); });
        }
        event.Skip();
    });

    text1_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        Raise([this] {
            workflow_.UserTyped(ToUtf8(text1_->GetValue()));
            workflow_.Text1_Change();
        });
    });
    command1_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Raise([this] { workflow_.Command1_Click(); }); });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Raise([this] { workflow_.Timer1_Timer(); }); });
    label3_->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { Raise([this] { workflow_.Label3_Click(); }); });
    text1_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        RecordFocus(ControlName::Text1);
        event.Skip();
    });
    command1_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        RecordFocus(ControlName::Command1);
        event.Skip();
    });
}

void Form1::BuildControls() {
    const WindowState& state = workflow_.State();

    // The panel draws a border and caption around itself; the controls are its children,
    // so their positions stay relative to the panel as designed.
    auto* frame1 = new BorderedPanel(this, Position(this, design::kFrame1, scale_), Size(this, design::kFrame1, scale_),
                                     FromUtf8(design::kFrame1Caption));
    frame1_ = frame1;
    frame1_->SetName("Frame1");
    frame1_->Hide();
#ifdef __WXMSW__
    // A frame on Windows paints the application workspace's grey where no child covers it;
    // the margin around the panel shows the panel's own dialog colour instead.
    SetBackgroundColour(frame1_->GetBackgroundColour());
#endif

    // Created in tab order: the number box, then the button.
    text1_ = new wxTextCtrl(frame1_, wxID_ANY, wxString(), Position(frame1_, design::kText1, scale_), Size(frame1_, design::kText1, scale_));
    text1_->SetName("Text1");
    LimitCharacters(text1_, state.Text1.MaxLength);
    const double fontGrowth = GrowthBeyondTextResolution(scale_);
    text1_->SetFont(wxFontInfo(static_cast<float>(design::kText1FontPoints * fontGrowth))
                        .Family(wxFONTFAMILY_SWISS)
                        .FaceName(design::kText1FontFace)
                        .Bold());

    command1_ = new wxButton(frame1_, wxID_ANY, FromUtf8(state.Command1.Caption),
                             Position(frame1_, design::kCommand1, scale_), Size(frame1_, design::kCommand1, scale_));
    command1_->SetName("Command1");

    image1_ = new wxStaticBitmap(frame1_, wxID_ANY, LogoBitmap(frame1_, scale_),
                                 Position(frame1_, design::kImage1, scale_), Size(frame1_, design::kImage1, scale_));
    image1_->SetName("Image1");

    label3_ = new wxGenericStaticText(frame1_, wxID_ANY, FromUtf8(design::kLabel3Caption),
                                      Position(frame1_, design::kLabel3, scale_), Size(frame1_, design::kLabel3, scale_),
                                      wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    label3_->SetName("Label3");
    label3_->SetCursor(wxCursor(wxCURSOR_HAND));
    MarkAsClickableText(label3_, design::kLabel3Caption);

    // The prompt spans the panel's whole width, over its border's side lines.
    label2_ = frame1->MakeSeeThroughLabel(Position(frame1_, design::kLabel2, scale_), Size(frame1_, design::kLabel2, scale_));
    label2_->SetName("Label2");
    LabelControl(label2_, text1_);

    label1_ = new wxStaticText(frame1_, wxID_ANY, wxString(), Position(frame1_, design::kLabel1, scale_), Size(frame1_, design::kLabel1, scale_),
                               wxST_NO_AUTORESIZE);
    label1_->SetName("Label1");
    label1_->Hide();  // the tick counter is never shown
}

void Form1::Start() {
    Raise([this] { workflow_.Form_Load(); });
    Centre(wxBOTH);
    Show();
    // The first control in tab order that can take the focus gets it; at a start with a
    // saved number none can.
    for (wxWindow* control : {static_cast<wxWindow*>(text1_), static_cast<wxWindow*>(command1_)}) {
        if (control->IsShownOnScreen() && control->IsEnabled()) {
            control->SetFocus();
            break;
        }
    }
}

template <typename Handler>
void Form1::Raise(Handler handler) {
    const ControlName focusBefore = workflow_.State().FocusedControl;
    handler();
    Render();
    const ControlName focusAfter = workflow_.State().FocusedControl;
    if (focusAfter == focusBefore) return;
    if (focusAfter == ControlName::Browser) {
        browser_.Focus();  // its window may not be there yet
    } else if (wxWindow* control = ControlFor(focusAfter)) {
        control->SetFocus();
    }
}

void Form1::Render() {
    const WindowState& state = workflow_.State();

    frame1_->Show(state.Frame1.Visible);
    text1_->Show(state.Text1.Visible);
    text1_->Enable(state.Text1.Enabled);

    const wxString caption = FromUtf8(state.Command1.Caption);
    if (command1_->GetLabel() != caption) command1_->SetLabel(caption);
    command1_->Enable(state.Command1.Enabled);
    command1_->Move(Position(frame1_, design::kCommand1.left, state.Command1.Top, scale_));

    const wxString prompt = FromUtf8(state.Label2.Caption);
    if (label2_->GetLabelText() != prompt) {
        label2_->SetLabelText(prompt);
        SetAccessibleName(text1_, state.Label2.Caption);  // the box is named by its prompt
    }
    label1_->SetLabelText(FromUtf8(state.Label1.Caption));

    // While a saved number is checked no control can take the focus, and a screen reader
    // says only the window's title: the window describes what the panel shows.
    const bool nothingToFocus = state.Frame1.Visible && !state.Text1.Visible && !state.Command1.Enabled;
    const std::string description = nothingToFocus ? state.Label2.Caption + ". " + state.Command1.Caption : "";
    if (description != description_) {
        description_ = description;
        SetAccessibleDescription(this, description_);
    }

    if (state.Timer1.Enabled && !timer1_.IsRunning()) timer1_.Start(state.Timer1.Interval);
    if (!state.Timer1.Enabled && timer1_.IsRunning()) timer1_.Stop();

    if (state.Browser.NavigationRequest && state.Browser.NavigationRequest != navigated_) {
        navigated_ = state.Browser.NavigationRequest;
        // Starting the web engine takes a moment; the window is shown first, then it loads.
        CallAfter([this, address = *navigated_] { browser_.Navigate(address); });
    }
    if (state.Browser.Visible) browser_.Reveal();
}

wxWindow* Form1::ControlFor(ControlName name) const {
    switch (name) {
        case ControlName::Text1: return text1_;
        case ControlName::Command1: return command1_;
        case ControlName::Frame1: return frame1_;
        case ControlName::Label1: return label1_;
        case ControlName::Label2: return label2_;
        case ControlName::Label3: return label3_;
        case ControlName::Browser: return browser_.Window();
        case ControlName::None: return nullptr;
    }
    return nullptr;
}

void Form1::RecordFocus(ControlName name) { workflow_.UserFocused(name); }

}  // namespace zq
