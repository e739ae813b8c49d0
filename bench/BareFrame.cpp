// Baseline: a bare frame of the program's size and style, nothing in it.
#include <wx/app.h>

#include "ToolFrame.h"

class BareFrameApp final : public wxApp {
public:
    bool OnInit() override {
        wxFrame* frame = NewToolFrame("Baseline");
        frame->Centre();
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BareFrameApp);
