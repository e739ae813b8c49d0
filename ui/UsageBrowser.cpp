#include "ui/UsageBrowser.h"

#include <wx/dynlib.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>

#include "ui/BrowserTexts.h"
#include "ui/DesignData.h"

namespace zq {

namespace {

// In place of a browser that cannot start (a missing or broken web engine): the browser's
// area with one sentence, centred in the part of it the user sees.
class UnavailableBrowser final : public BrowserControl {
public:
    UnavailableBrowser(wxWindow* parent, const wxRect& rect) {
        panel_ = new wxPanel();
        panel_->Hide();
        panel_->Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize());
        const int visibleWidth = panel_->FromDIP(design::ToPixels(design::kClientWidth));
        const int margin = panel_->FromDIP(16);
        auto* words = new wxStaticText(panel_, wxID_ANY, wxString::FromUTF8(browser_texts::kCannotShow),
                                       wxPoint(margin, panel_->FromDIP(120)), wxDefaultSize,
                                       wxALIGN_CENTRE_HORIZONTAL);
        words->Wrap(visibleWidth - 2 * margin);
        words->SetSize(visibleWidth - 2 * margin, words->GetBestSize().y);
        words->SetWindowStyleFlag(words->GetWindowStyleFlag() | wxST_NO_AUTORESIZE);
    }
    void Navigate(const std::string&) override {}
    void Reveal() override { panel_->Show(); }
    wxWindow* Window() override { return panel_; }

private:
    wxPanel* panel_ = nullptr;
};

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

BrowserControl* CreateBrowserControl(wxWindow* parent, const wxRect& rect) {
#ifdef ZENTRA_BROWSER_MODULE
    // A missing or broken module is the user's packaging trouble, not a dialog of ours.
    wxLogNull quiet;
    // Never unloaded: the web engine's threads outlive any point where that is safe.
    wxDynamicLibrary module(FindBrowserModule(), wxDL_NOW | wxDL_QUIET);
    if (!module.IsLoaded()) return nullptr;
    auto* create = reinterpret_cast<decltype(&zq_create_browser_control)>(module.GetSymbol("zq_create_browser_control"));
    module.Detach();
    return create ? create(parent, &rect) : nullptr;
#else
    return zq_create_browser_control(parent, &rect);
#endif
}

}  // namespace

UsageBrowser::UsageBrowser(wxWindow* parent, const wxRect& rect) : parent_(parent), rect_(rect) {}

UsageBrowser::~UsageBrowser() = default;

void UsageBrowser::Navigate(const std::string& address) {
    if (!control_) {
        control_.reset(CreateBrowserControl(parent_, rect_));
        if (!control_) control_ = std::make_unique<UnavailableBrowser>(parent_, rect_);
    }
    control_->Navigate(address);
}

void UsageBrowser::Reveal() {
    if (control_) control_->Reveal();
}

}  // namespace zq
