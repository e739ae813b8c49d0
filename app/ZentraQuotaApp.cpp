#include "app/ZentraQuotaApp.h"

#include <wx/image.h>

#include "app/BuildConfig.h"
#include "app/Identity.h"
#include "app/SettingLocation.h"
#include "ui/Form1.h"

namespace zq {

void PrepareApplication(wxApp& app) {
    app.SetAppName("ZentraQuota");
    app.SetAppDisplayName(wxString::FromUTF8(kApplicationTitle.data(), kApplicationTitle.size()));
    if (!wxImage::FindHandler(wxBITMAP_TYPE_JPEG)) wxImage::AddHandler(new wxJPEGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
}

bool ZentraQuotaApp::OnInit() {
    PrepareApplication(*this);
    workflow_ = std::make_unique<CheckWorkflow>(SettingFile(files_, SettingFileLocation()), messages_,
                                                ZENTRA_USAGE_HOST, std::string(kCreditMessage));
    auto* form = new Form1(*workflow_);
    messages_.SetParent(form);
    form->Start();
    return true;
}

}  // namespace zq
