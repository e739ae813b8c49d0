#pragma once

#include <memory>

#include <wx/app.h>

#include "app/Identity.h"
#include "platform/NativeFileSystem.h"
#include "platform/WxMessageBox.h"
#include "workflow/CheckWorkflow.h"

namespace zq {

// The composition root: the real services, the fixed setting path and the usage host
// wired to the workflow and its window.
class ZentraQuotaApp final : public wxApp {
public:
    bool OnInit() override;

private:
    NativeFileSystem files_;
    WxMessageBox messages_{std::string(kApplicationTitle)};
    std::unique_ptr<CheckWorkflow> workflow_;
};

}  // namespace zq
