// Baseline: a bare frame of the program's size and style, nothing in it.
#include <wx/app.h>
#include <wx/frame.h>

class BareFrameApp final : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Baseline", wxDefaultPosition, wxDefaultSize,
                                  wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxFRAME_TOOL_WINDOW);
        frame->SetClientSize(frame->FromDIP(wxSize(201, 427)));
        frame->Centre();
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BareFrameApp);
