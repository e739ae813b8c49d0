#pragma once

#include <string>

#include "platform/MessageBoxService.h"

class wxWindow;

namespace zq {

// The message box of the windowing toolkit, modal to the program's window and titled with
// the application title.
class WxMessageBox final : public MessageBoxService {
public:
    explicit WxMessageBox(std::string title) : title_(std::move(title)) {}
    void SetParent(wxWindow* parent) { parent_ = parent; }
    void Show(std::string_view text) override;

private:
    std::string title_;
    wxWindow* parent_ = nullptr;
};

}  // namespace zq
