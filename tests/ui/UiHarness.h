#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "../TempFolder.h"
#include "RealInput.h"
#include "platform/NativeFileSystem.h"
#include "platform/WxMessageBox.h"
#include "ui/Form1.h"
#include "workflow/CheckWorkflow.h"

namespace zq::test {

inline constexpr const char* kCredit = "credit line for tests";

// Answers every modal message box at once with OK, recording what it showed.
class MessageBoxRecorder final : public wxModalDialogHook {
public:
    struct Shown {
        std::string message;
        std::string title;
        long style;
    };
    MessageBoxRecorder() { Register(); }
    ~MessageBoxRecorder() override { LetBoxesShow(); }
    // From now on boxes show for real and wait for the user.
    void LetBoxesShow() {
        if (std::exchange(registered_, false)) Unregister();
    }
    std::vector<Shown> shown;

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}

private:
    bool registered_ = true;
};

// What a page may take to answer before the program itself gives up on it (30 s, whatever
// the machine), with room for the window's own turn: on a busy machine the engine's start
// alone took longer than 10 s, so no shorter bound is one the program keeps.
constexpr int kPageAnswerMs = 35000;
// Runs the event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kPageAnswerMs);
// Runs the event loop for a while.
void Pump(int ms);

// The names of this process's running children (the web engine's, once it runs).
std::vector<std::string> ChildProcesses();

// The real file system, refusing what the tests say as it would refuse an ordinary user:
// the tests run as root, which no permission bit stops.
class RefusingFileSystem final : public FileSystem {
public:
    std::set<std::filesystem::path> refuseReading;
    std::set<std::filesystem::path> refuseWriting;

    bool IsRegularFile(const std::filesystem::path& path) override { return real_.IsRegularFile(path); }
    std::optional<std::string> ReadAll(const std::filesystem::path& path, std::size_t maxBytes) override {
        if (refuseReading.contains(path)) return std::nullopt;
        return real_.ReadAll(path, maxBytes);
    }
    std::unique_ptr<WritableFile> OpenForWriting(const std::filesystem::path& path) override {
        if (refuseWriting.contains(path) || refuseWriting.contains(path.parent_path())) return nullptr;
        return real_.OpenForWriting(path);
    }
    bool CreateFolders(const std::filesystem::path& folder) override { return real_.CreateFolders(folder); }

private:
    NativeFileSystem real_;
};

// One real window with its own workflow, setting folder and usage host.
class WindowFixture : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path settingPath = folder / "setting.cfg";
    RefusingFileSystem files;
    MessageBoxRecorder messageBoxes;
    RealInput input;

    void StartWindow(const std::string& usageHost);
    void TearDown() override;

    Form1& Window() { return *form_; }
    const WindowState& State() { return workflow_->State(); }

    // Real keystrokes into whatever has the focus.
    void Type(const std::string& text);
    void PressAltS();
    void ClickOn(wxWindow* control);

    // Waits for the tick counter to reach the given count.
    bool WaitForTicks(int ticks);

private:
    WxMessageBox messages_{"Zentra Quota"};
    std::unique_ptr<CheckWorkflow> workflow_;
    Form1* form_ = nullptr;
};

}  // namespace zq::test
