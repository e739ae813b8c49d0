// Peer: the same window written the plain way. The controls sit in a frame, and a
// wxWebView with WebKit's defaults is created at start, loads the address it is given and
// is shown four seconds later.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/webview.h>

#include "ToolFrame.h"

class PlainPeerApp final : public wxApp {
public:
    bool OnInit() override {
        wxFrame* frame = NewToolFrame("Peer");
        auto* panel = new wxPanel(frame, wxID_ANY, frame->FromDIP(wxPoint(8, 16)), frame->FromDIP(wxSize(185, 401)));
        new wxStaticBox(panel, wxID_ANY, "No. Zentra", wxPoint(0, 0), panel->GetSize());
        new wxStaticBitmap(panel, wxID_ANY, wxBitmap(100, 41), frame->FromDIP(wxPoint(37, 56)));
        new wxStaticText(panel, wxID_ANY, "Isikan Nomer Zentra Anda :", frame->FromDIP(wxPoint(0, 120)),
                         frame->FromDIP(wxSize(185, 17)), wxALIGN_CENTRE_HORIZONTAL);
        new wxTextCtrl(panel, wxID_ANY, "", frame->FromDIP(wxPoint(13, 144)), frame->FromDIP(wxSize(161, 27)));
        new wxButton(panel, wxID_ANY, "&Save && Check", frame->FromDIP(wxPoint(40, 184)), frame->FromDIP(wxSize(105, 33)));
        new wxStaticText(panel, wxID_ANY, "zentraquota.example", frame->FromDIP(wxPoint(8, 376)),
                         frame->FromDIP(wxSize(169, 17)), wxALIGN_CENTRE_HORIZONTAL);
        auto* view = wxWebView::New(frame, wxID_ANY, argc > 1 ? argv[1] : wxString("about:blank"), wxPoint(0, 0),
                                    frame->FromDIP(wxSize(241, 453)));
        view->Hide();
        timer_.Bind(wxEVT_TIMER, [view, panel](wxTimerEvent&) {
            panel->Hide();
            view->Show();
        });
        timer_.StartOnce(4000);
        frame->Centre();
        frame->Show();
        return true;
    }

private:
    wxTimer timer_;
};

wxIMPLEMENT_APP(PlainPeerApp);
