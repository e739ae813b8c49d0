#include "app/ZentraQuotaApp.h"

wxIMPLEMENT_APP(zq::ZentraQuotaApp);
