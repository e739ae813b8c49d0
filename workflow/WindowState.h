#pragma once

#include <optional>
#include <string>

#include "workflow/Captions.h"

namespace zq {

enum class ControlName { None, Browser, Frame1, Text1, Command1, Label1, Label2, Label3 };

struct PanelState {
    bool Visible = false;
    bool operator==(const PanelState&) const = default;
};

struct TextBoxState {
    std::string Text;  // UTF-8, as typed
    int MaxLength = 12;
    bool Visible = true;
    bool Enabled = true;
    bool operator==(const TextBoxState&) const = default;
};

struct ButtonState {
    std::string Caption = captions::kCheckButton;
    bool Enabled = true;
    int Top = 2760;  // twips
    bool operator==(const ButtonState&) const = default;
};

struct LabelState {
    std::string Caption;
    bool operator==(const LabelState&) const = default;
};

struct TimerState {
    bool Enabled = false;
    int Interval = 1000;  // milliseconds
    bool operator==(const TimerState&) const = default;
};

struct BrowserState {
    bool Visible = false;
    std::optional<std::string> NavigationRequest;  // the address the browser is told to load
    bool operator==(const BrowserState&) const = default;
};

// Everything the check workflow reads or writes about the window, with the values the
// window is created with. The window shows it; the workflow keeps no other state.
struct WindowState {
    PanelState Frame1;
    TextBoxState Text1;
    ButtonState Command1;
    LabelState Label2{captions::kPrompt};
    LabelState Label1{"0"};  // the tick counter, never shown
    TimerState Timer1;
    BrowserState Browser;
    ControlName FocusedControl = ControlName::None;

    bool operator==(const WindowState&) const = default;
};

}  // namespace zq
