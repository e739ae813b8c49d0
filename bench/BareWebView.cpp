// Baseline: the same bare frame with a web view over it loading the address it is given.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/webview.h>

class BareWebViewApp final : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Baseline", wxDefaultPosition, wxDefaultSize,
                                  wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxFRAME_TOOL_WINDOW);
        frame->SetClientSize(frame->FromDIP(wxSize(201, 427)));
        wxWebView::New(frame, wxID_ANY, argc > 1 ? argv[1] : wxString("about:blank"), wxPoint(0, 0),
                       frame->FromDIP(wxSize(241, 453)));
        frame->Centre();
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BareWebViewApp);
