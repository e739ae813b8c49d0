#include "workflow/CheckWorkflow.h"

#include "workflow/NumberText.h"

namespace zq {

namespace {

constexpr std::size_t kNumberLength = 12;
constexpr int kTicksBeforeReveal = 4;
constexpr int kButtonTopWithoutTextBox = 2280;

// The text goes into the address as typed, except for what would end the path segment or
// vanish on the way: separators, query and fragment marks, spaces and control characters.
// Left as they are, "..?" or ".. " with padding would make the browser climb out of the
// usage path. A 12-digit number never contains any of them.
bool EndsOrVanishesInPath(unsigned char c) {
    return c <= ' ' || c == 0x7F || c == '/' || c == '\\' || c == '?' || c == '#';
}

void AppendAsPathSegment(std::string& address, std::string_view text) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (EndsOrVanishesInPath(byte)) {
            address += '%';
            address += kHex[byte >> 4];
            address += kHex[byte & 0x0F];
        } else {
            address += c;
        }
    }
}

}  // namespace

CheckWorkflow::CheckWorkflow(SettingFile settingFile, MessageBoxService& messages,
                             std::string usageHost, std::string creditMessage)
    : settingFile_(std::move(settingFile)),
      messages_(messages),
      usageHost_(std::move(usageHost)),
      creditMessage_(std::move(creditMessage)) {}

std::string CheckWorkflow::UsageAddress(std::string_view numberText) const {
    std::string address = "http://";
    address += usageHost_;
    address += kUsagePath;
    AppendAsPathSegment(address, numberText);
    return address;
}

void CheckWorkflow::Form_Load() {
    // A file that is there but does not read back (an empty file left by a failed save is
    // the usual case) is treated as no saved number at all.
    if (settingFile_.SavedNumberExists()) {
        if (const auto numberText = settingFile_.ReadSavedNumber()) {
            StartSavedNumberCheck(*numberText);
            return;
        }
    }
    state_.Frame1.Visible = true;
}

void CheckWorkflow::StartSavedNumberCheck(const std::string& numberText) {
    state_.Frame1.Visible = true;
    state_.Label2.Caption = captions::kSavedNumberPrefix + numberText;
    state_.Text1.Visible = false;
    state_.Timer1.Enabled = true;
    state_.Command1.Top = kButtonTopWithoutTextBox;
    state_.Command1.Enabled = false;
    state_.Command1.Caption = captions::kWaitingForSavedNumber;
    state_.Browser.NavigationRequest = UsageAddress(numberText);
}

void CheckWorkflow::Text1_Change() {
    if (CharacterCount(state_.Text1.Text) == kNumberLength) {
        state_.FocusedControl = ControlName::Command1;
    }
}

void CheckWorkflow::Command1_Click() {
    if (CharacterCount(state_.Text1.Text) < kNumberLength) {
        messages_.Show("Isikan No. Zentra Anda 12 Digit");
        return;
    }
    state_.Browser.NavigationRequest = UsageAddress(state_.Text1.Text);
    state_.Timer1.Enabled = true;
    state_.Command1.Enabled = false;
    state_.Text1.Enabled = false;
    state_.Command1.Caption = captions::kWaitingForTypedNumber;
    settingFile_.WriteSavedNumber(state_.Text1.Text);  // its failures are silent
}

void CheckWorkflow::Timer1_Timer() {
    const auto count = ToNumber(state_.Label1.Caption);
    if (!count) return;
    const auto next = CheckedResult(*count + 1);
    if (!next) return;
    state_.Label1.Caption = ToText(*next);

    if (ToNumber(state_.Label1.Caption) == kTicksBeforeReveal) {
        state_.Browser.Visible = true;
        state_.Timer1.Enabled = false;
        state_.Frame1.Visible = false;
        // The control that had the focus went with the panel; as a browser does with a page
        // it shows, the page takes it, so its keys scroll it and a screen reader reads it.
        state_.FocusedControl = ControlName::Browser;
    }
}

void CheckWorkflow::Label3_Click() { messages_.Show(creditMessage_); }

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;  // skip continuation bytes
    }
    return count;
}

}  // namespace zq
