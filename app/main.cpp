#include "app/ApplicationSetup.h"
#include "app/ZentraQuotaApp.h"

#ifdef __WXGTK__
wxIMPLEMENT_APP_NO_MAIN(zq::ZentraQuotaApp);

int main(int argc, char** argv) {
    zq::PrepareProcessEnvironment();  // while the process has one thread
    return wxEntry(argc, argv);
}
#else
wxIMPLEMENT_APP(zq::ZentraQuotaApp);
#endif
