#pragma once

class wxApp;

namespace zq {

// The program's identity.
void PrepareApplication(wxApp& app);

#ifdef __WXGTK__
// What the libraries below the program read from the environment, set before any of
// them starts (and before any thread does): it is inherited by the web engine's processes.
void PrepareProcessEnvironment();
#endif

}  // namespace zq
