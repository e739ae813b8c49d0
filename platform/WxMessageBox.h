#pragma once

#include "platform/MessageBoxService.h"

class wxWindow;

namespace zq {

// The message box of the windowing toolkit, modal to the program's window.
class WxMessageBox final : public MessageBoxService {
public:
    void SetParent(wxWindow* parent) { parent_ = parent; }
    void Show(std::string_view text) override;

private:
    wxWindow* parent_ = nullptr;
};

}  // namespace zq
