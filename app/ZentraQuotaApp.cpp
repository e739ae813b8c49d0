#include "app/ZentraQuotaApp.h"

#include "app/ApplicationSetup.h"
#include "app/BuildConfig.h"
#include "app/Identity.h"
#include "app/SettingLocation.h"
#include "ui/Form1.h"

namespace zq {

bool ZentraQuotaApp::OnInit() {
    PrepareApplication(*this);
    SettingLocation setting = SettingFileLocation();
    SettingFile settingFile(files_, std::move(setting.path), std::move(setting.fallback));
    workflow_ = std::make_unique<CheckWorkflow>(std::move(settingFile), messages_, ZENTRA_USAGE_HOST,
                                                std::string(kCreditMessage));
    auto* form = new Form1(*workflow_);
    messages_.SetParent(form);
    form->Start();
    return true;
}

}  // namespace zq
