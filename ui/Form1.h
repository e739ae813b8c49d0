#pragma once

#include <optional>
#include <string>

#include <wx/frame.h>
#include <wx/timer.h>

#include "ui/browser/UsageBrowser.h"
#include "workflow/CheckWorkflow.h"

class wxButton;
class wxPanel;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;
class wxWindow;

namespace zq {

// The program's one window. It builds its controls from the design data, hands every event
// to the workflow's handler and then shows the workflow's state; it decides nothing.
class Form1 final : public wxFrame {
public:
    explicit Form1(CheckWorkflow& workflow);

    // Raises the load event, then shows the window centred with the first focus set.
    void Start();

    // The controls, for tests and accessibility.
    wxPanel* Frame1() const { return frame1_; }
    wxTextCtrl* Text1() const { return text1_; }
    wxButton* Command1() const { return command1_; }
    wxStaticBitmap* Image1() const { return image1_; }
    wxStaticText* Label1() const { return label1_; }
    wxStaticText* Label2() const { return label2_; }
    wxWindow* Label3() const { return label3_; }
    const UsageBrowser& Browser() const { return browser_; }
    const wxTimer& Timer1() const { return timer1_; }

private:
    void BuildControls();
    void Render();
    template <typename Handler>
    void Raise(Handler handler);
    wxWindow* ControlFor(ControlName name) const;
    void RecordFocus(ControlName name);

    CheckWorkflow& workflow_;
    const double scale_;  // of the designed layout, for the desktop's text size
    wxPanel* frame1_ = nullptr;
    wxTextCtrl* text1_ = nullptr;
    wxButton* command1_ = nullptr;
    wxStaticBitmap* image1_ = nullptr;
    wxStaticText* label1_ = nullptr;
    wxStaticText* label2_ = nullptr;
    wxWindow* label3_ = nullptr;
    wxTimer timer1_;
    UsageBrowser browser_;
    std::optional<std::string> navigated_;  // the request already handed to the browser
    bool centredWithDecorations_ = false;
    std::string description_;  // the window's, for assistive technologies
    bool announced_ = false;   // the first activation has passed
};

}  // namespace zq
