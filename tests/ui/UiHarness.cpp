#include "UiHarness.h"

#include <dirent.h>
#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "TestUsageServer.h"

namespace zq::test {

int MessageBoxRecorder::Enter(wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
        shown.push_back({box->GetMessage().utf8_string(), box->GetTitle().utf8_string(),
                         box->GetMessageDialogStyle()});
        return wxID_OK;
    }
    ADD_FAILURE() << "an unexpected dialog was shown";
    return wxID_CANCEL;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const wxLongLong end = wxGetLocalTimeMillis() + timeoutMs;
    while (!condition()) {
        if (wxGetLocalTimeMillis() > end) return false;
        wxYield();
        wxTheApp->ProcessIdle();  // deletes windows whose destruction is pending
        wxMilliSleep(5);
    }
    return true;
}

void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}

std::vector<std::string> ChildProcesses() {
    std::vector<std::string> children;
    const int self = ::getpid();
    DIR* proc = ::opendir("/proc");
    if (!proc) return children;
    while (const dirent* entry = ::readdir(proc)) {
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid ...; comm may hold spaces, so read after the last ')'.
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 1));
        std::string state;
        int parent = 0;
        rest >> state >> parent;
        const auto open = line.find('(');
        if (parent == self && state != "Z" && open != std::string::npos) {
            children.push_back(line.substr(open + 1, close - open - 1));
        }
    }
    ::closedir(proc);
    return children;
}

std::string RefusingHost() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);  // bound but never listening, and now closed: refused
    return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

void WindowFixture::StartWindow(const std::string& usageHost) {
    workflow_ = std::make_unique<CheckWorkflow>(SettingFile(files, settingPath), messages_, usageHost,
                                                kCredit);
    form_ = new Form1(*workflow_);
    form_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == form_) form_ = nullptr;
        event.Skip();
    });
    messages_.SetParent(form_);
    form_->Start();
    ASSERT_TRUE(WaitUntil([this] { return form_->IsShownOnScreen(); }));
    // Keyboard input goes where the pointer is when no window manager runs.
    input.AttachTo(form_);
    Pump(150);
}

void WindowFixture::TearDown() {
    if (form_) {
        form_->Destroy();
        Pump(50);
    }
}

void WindowFixture::Type(const std::string& text) {
    input.Text(text.c_str());
    Pump(100);
}

void WindowFixture::PressAltS() {
    input.Char('s', wxMOD_ALT);
    Pump(100);
}

void WindowFixture::ClickOn(wxWindow* control) {
    input.MouseMove(control->GetScreenRect().GetPosition() + control->GetSize() / 2);
    Pump(50);
    input.MouseClick();
    Pump(100);
}

bool WindowFixture::WaitForTicks(int ticks) {
    const std::string wanted = std::to_string(ticks);
    return WaitUntil([&] { return State().Label1.Caption == wanted; }, 3000 + 1000 * ticks);
}

}  // namespace zq::test
