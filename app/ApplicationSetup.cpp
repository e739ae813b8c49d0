#include "app/ApplicationSetup.h"

#include <wx/app.h>
#include <wx/image.h>

#include "app/Identity.h"

namespace zq {

void PrepareApplication(wxApp& app) {
    app.SetAppName("ZentraQuota");
    app.SetAppDisplayName(wxString::FromUTF8(kApplicationTitle.data(), kApplicationTitle.size()));
    if (!wxImage::FindHandler(wxBITMAP_TYPE_JPEG)) wxImage::AddHandler(new wxJPEGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
}

}  // namespace zq
