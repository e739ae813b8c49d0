#pragma once

#include <string>
#include <string_view>

#include "platform/MessageBoxService.h"
#include "settings/SettingFile.h"
#include "workflow/WindowState.h"

namespace zq {

inline constexpr std::string_view kUsagePath = "/dev/ci/info/usage_bar_new/";

// The program's decisions: the window's five event handlers acting on the window-state
// model. No handler throws; a step that cannot be done is a value, handled where it arises.
class CheckWorkflow {
public:
    CheckWorkflow(SettingFile settingFile, MessageBoxService& messages, std::string usageHost,
                  std::string creditMessage);

    const WindowState& State() const { return state_; }

    // What the user does that the window reports back: the number box's text as it now
    // stands (then raise Text1_Change), and a focus move of the user's own.
    void UserTyped(std::string text) { state_.Text1.Text = std::move(text); }
    void UserFocused(ControlName control) { state_.FocusedControl = control; }

    void Form_Load();
    void Text1_Change();
    void Command1_Click();
    void Timer1_Timer();
    void Label3_Click();

    // "http://" + host + the usage path + the number text as one path segment: unchanged
    // but for the few characters that would end the segment, which are percent-encoded.
    std::string UsageAddress(std::string_view numberText) const;

private:
    void StartSavedNumberCheck(const std::string& numberText);

    WindowState state_;
    SettingFile settingFile_;
    MessageBoxService& messages_;
    std::string usageHost_;
    std::string creditMessage_;
};

// Length in characters (code points) of a UTF-8 text, as the number box counts them.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace zq
