#include "ui/browser/UsageBrowser.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/timer.h>

#ifdef ZENTRA_BROWSER_MODULE
#include <dlfcn.h>

#include <thread>
#endif

#include "ui/browser/BrowserTexts.h"
#include "ui/DesignData.h"
#include "ui/LayoutScale.h"

namespace zq {

namespace {

// In place of a browser that cannot start (a missing or broken web engine): the browser's
// area with one sentence, centred in the part of it the user sees.
class UnavailableBrowser final : public BrowserControl {
public:
    UnavailableBrowser(wxWindow* parent, const wxRect& rect, double scale) {
        panel_ = new wxPanel();
        panel_->Hide();
        panel_->Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize());
        const int visibleWidth = panel_->FromDIP(design::ToPixels(design::kClientWidth, scale));
        const int margin = panel_->FromDIP(design::ToPixels(240, scale));  // 16 pixels at 96 DPI
        auto* words = new wxStaticText(panel_, wxID_ANY, wxString::FromUTF8(browser_texts::kCannotShow),
                                       wxPoint(margin, panel_->FromDIP(design::ToPixels(1800, scale))), wxDefaultSize,
                                       wxALIGN_CENTRE_HORIZONTAL);
        words->Wrap(visibleWidth - 2 * margin);
        words->SetSize(visibleWidth - 2 * margin, words->GetBestSize().y);
        words->SetWindowStyleFlag(words->GetWindowStyleFlag() | wxST_NO_AUTORESIZE);
    }
    void Navigate(const std::string&) override {}
    void Reveal() override { panel_->Show(); }
    void Focus() override { panel_->SetFocus(); }
    wxWindow* Window() override { return panel_; }

private:
    wxPanel* panel_ = nullptr;
};

#ifdef ZENTRA_BROWSER_MODULE
// Next to the executable in a build folder; in the library folder once installed.
std::string FindBrowserModule() {
    const wxFileName executable(wxStandardPaths::Get().GetExecutablePath());
    const wxString name = "zentra_browser.so";
    for (const wxString& folder : {executable.GetPath(), executable.GetPath() + "/" ZENTRA_BROWSER_MODULE_DIR}) {
        const wxFileName candidate(folder, name);
        if (candidate.FileExists()) return candidate.GetFullPath().utf8_string();
    }
    return name.utf8_string();
}
#endif

// Queues a step for the event loop (from any thread); it runs only if the browser is
// still there by then.
template <typename Step>
void Later(std::weak_ptr<UsageBrowser*> self, Step step) {
    wxTheApp->CallAfter([self = std::move(self), step = std::move(step)] {
        if (const auto browser = self.lock()) step(**browser);
    });
}

// Queues a step for a later turn of the event loop, after the input and drawing waiting
// by then: steps queued with Later all run in one batch, which would join two short stalls
// into one long one.
template <typename Step>
void NextTurn(std::weak_ptr<UsageBrowser*> self, Step step) {
    auto* timer = new wxTimer();
    timer->Bind(wxEVT_TIMER, [timer, self = std::move(self), step = std::move(step)](wxTimerEvent&) {
        wxTheApp->CallAfter([timer] { delete timer; });  // not from inside its own event
        if (const auto browser = self.lock()) step(**browser);
    });
    timer->StartOnce(1);
}

}  // namespace

UsageBrowser::UsageBrowser(wxWindow* parent, const wxRect& rect, double scale)
    : parent_(parent), rect_(rect), scale_(scale) {}

UsageBrowser::~UsageBrowser() = default;

void UsageBrowser::Navigate(const std::string& address) {
    if (control_) {
        control_->Navigate(address);
        return;
    }
    address_ = address;
    if (std::exchange(starting_, true)) return;
#ifdef ZENTRA_BROWSER_MODULE
    // Loading the web engine's libraries takes longer than the window may go unanswered,
    // so it happens beside the event loop; nothing of the engine runs until it is back.
    // Never unloaded: the web engine's threads outlive any point where that is safe.
    std::thread([self = std::weak_ptr(self_), path = FindBrowserModule()] {
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (auto probe = module ? reinterpret_cast<void (*)()>(::dlsym(module, "zq_probe_browser_engine")) : nullptr) {
            probe();
        }
        auto prepare = module ? reinterpret_cast<PrepareEngine>(::dlsym(module, "zq_prepare_browser_engine")) : nullptr;
        auto start = module ? reinterpret_cast<StartEngine>(::dlsym(module, "zq_start_browser_engine")) : nullptr;
        auto create = module ? reinterpret_cast<CreateControl>(::dlsym(module, "zq_create_browser_control")) : nullptr;
        Later(self, [prepare, start, create](UsageBrowser& browser) { browser.EngineLoaded(prepare, start, create); });
    }).detach();
#else
    Later(self_, [](UsageBrowser& browser) {
        browser.EngineLoaded(&zq_prepare_browser_engine, &zq_start_browser_engine, &zq_create_browser_control);
    });
#endif
}

// The engine is prepared, started, then the view is made, each in an event of its own.
void UsageBrowser::EngineLoaded(PrepareEngine prepare, StartEngine start, CreateControl create) {
    if (!prepare || !start || !create) {
        Install(nullptr);
        return;
    }
    struct Waiting {
        std::weak_ptr<UsageBrowser*> self;
        StartEngine start;
        CreateControl create;
    };
    prepare([](void* data) {
        const std::unique_ptr<Waiting> waiting(static_cast<Waiting*>(data));
        NextTurn(waiting->self, [start = waiting->start, create = waiting->create](UsageBrowser& browser) {
            browser.EnginePrepared(start, create);
        });
    }, new Waiting{self_, start, create});
}

void UsageBrowser::EnginePrepared(StartEngine start, CreateControl create) {
    if (!start()) {
        Install(nullptr);
        return;
    }
    NextTurn(self_, [create](UsageBrowser& browser) { browser.Install(create(browser.parent_, &browser.rect_, GrowthBeyondTextResolution(browser.scale_))); });
}

void UsageBrowser::Install(BrowserControl* control) {
    control_.reset(control ? control : new UnavailableBrowser(parent_, rect_, scale_));
    control_->Navigate(address_);
    if (revealed_) control_->Reveal();
    if (focused_) control_->Focus();
}

void UsageBrowser::Reveal() {
    revealed_ = true;
    if (control_) control_->Reveal();
}

void UsageBrowser::Focus() {
    focused_ = true;
    if (control_) control_->Focus();
}

}  // namespace zq
