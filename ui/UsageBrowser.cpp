#include "ui/UsageBrowser.h"

#include <wx/dynlib.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

namespace zq {

namespace {

#ifdef ZENTRA_BROWSER_MODULE
// Next to the executable in a build folder; in the library folder once installed.
wxString FindBrowserModule() {
    const wxFileName executable(wxStandardPaths::Get().GetExecutablePath());
    const wxString name = wxDynamicLibrary::CanonicalizeName("zentra_browser", wxDL_MODULE);
    for (const wxString& folder : {executable.GetPath(), executable.GetPath() + "/" ZENTRA_BROWSER_MODULE_DIR}) {
        const wxFileName candidate(folder, name);
        if (candidate.FileExists()) return candidate.GetFullPath();
    }
    return name;
}
#endif

}  // namespace

UsageBrowser::UsageBrowser(wxWindow* parent, const wxRect& rect) : parent_(parent), rect_(rect) {}

void UsageBrowser::Navigate(const std::string& address) {
    if (!view_) {
#ifdef ZENTRA_BROWSER_MODULE
        // Never unloaded: the web engine's threads outlive any point where that is safe.
        wxDynamicLibrary module(FindBrowserModule(), wxDL_NOW | wxDL_QUIET);
        auto* create = reinterpret_cast<decltype(&zq_create_browser_view)>(module.GetSymbol("zq_create_browser_view"));
        module.Detach();
        if (!create) return;
#else
        auto* create = &zq_create_browser_view;
#endif
        view_.reset(create(parent_, &rect_));
    }
    view_->Navigate(address);
}

void UsageBrowser::Reveal() {
    if (view_) view_->Reveal();
}

}  // namespace zq
