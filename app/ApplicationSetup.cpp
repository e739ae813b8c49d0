#include "app/ApplicationSetup.h"

#include <stdlib.h>

#include <wx/app.h>

#include "app/Identity.h"

namespace zq {

void PrepareApplication(wxApp& app) {
    app.SetAppName("ZentraQuota");
    app.SetAppDisplayName(wxString::FromUTF8(kApplicationTitle.data(), kApplicationTitle.size()));
}

#ifdef __WXGTK__
void PrepareProcessEnvironment() {
    // The GL driver the web engine draws with would keep a shader cache in the user's
    // cache folder (Mesa 25 does, on Debian 13); nothing of the engine's is kept on disk.
    // A user's own choice stands.
    ::setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
}
#endif

}  // namespace zq
