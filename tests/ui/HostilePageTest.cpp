// A usage page that misbehaves: new windows, endless alerts, downloads, permission requests
// and local files. The page reports what it got back to the server.

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>

#include "TestUsageServer.h"
#include "UiHarness.h"
#include "WebPage.h"

namespace zq::test {
namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Not;

// A page script and the reports it sends to /report/... A report settles once the server
// has answered it: a page that leaves or stops at once does so only then, since leaving
// cancels a request not yet sent, and a busy machine may not have sent it.
std::string PageWith(const std::string& script) {
    return "<!DOCTYPE html><html><body><p>halaman</p><script>"
           "function report(what) { return fetch('/report/' + what).catch(function(){}); }\n" +
           script + "</script></body></html>";
}

std::vector<std::string> Targets(const TestUsageServer& server) {
    std::vector<std::string> targets;
    for (const auto& request : server.Requests()) targets.push_back(request.target);
    return targets;
}

bool Reported(const TestUsageServer& server, const std::string& what) {
    for (const auto& target : Targets(server)) {
        if (target == "/report/" + what) return true;
    }
    return false;
}


class HostilePage : public WindowFixture {
protected:
    void CheckWith(TestUsageServer& server) {
        StartWindow(server.Host());
        Type("123456789012");
        PressAltS();
    }
};

TEST_F(HostilePage, OpensNoWindows) {
    TestUsageServer server(TestUsageServer::Behaviour::Page,
                           PageWith("var w = window.open('/popup', '_blank');"
                                    "report(w ? 'opened' : 'refused');"
                                    "document.body.innerHTML += '<a id=a href=\"/popup2\" target=_blank>x</a>';"
                                    "document.getElementById('a').click(); report('clicked');"));
    CheckWith(server);
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "clicked"); }));
    Pump(1000);
    EXPECT_EQ(wxTopLevelWindows.GetCount(), 1u);
    EXPECT_THAT(Targets(server), Not(Contains("/popup")));
    EXPECT_THAT(Targets(server), Not(Contains("/popup2")));
}

// The web process (under bubblewrap when sandboxed); the network process stays with us.
bool WebProcessRunning() {
    for (const auto& name : ChildProcesses()) {
        if (name != "WebKitNetworkPr") return true;
    }
    return false;
}

TEST_F(HostilePage, EndlessAlertsNeitherShowNorKeepTheWindowOpen) {
    TestUsageServer server(TestUsageServer::Behaviour::Page,
                           PageWith("report('looping').then(function() { for (;;) alert('Kuota habis!'); });"));
    CheckWith(server);
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "looping"); }));
    ASSERT_TRUE(WaitForTicks(4));
    Pump(500);
    EXPECT_EQ(wxTopLevelWindows.GetCount(), 1u);
    EXPECT_TRUE(messageBoxes.shown.empty());

    const wxLongLong closing = wxGetLocalTimeMillis();
    Window().Close();
    ASSERT_TRUE(WaitUntil([] { return wxTopLevelWindows.IsEmpty(); }, 2000));
    EXPECT_LT(wxGetLocalTimeMillis() - closing, 1000);
    EXPECT_TRUE(WaitUntil([] { return !WebProcessRunning(); }, 1000)) << ::testing::PrintToString(ChildProcesses());
}

TEST_F(HostilePage, PermissionRequestsAreDenied) {
    TestUsageServer server(
        TestUsageServer::Behaviour::Page,
        PageWith("navigator.geolocation.getCurrentPosition("
                 "  function() { report('geolocation-granted'); },"
                 "  function(e) { report('geolocation-denied'); });"
                 "Notification.requestPermission().then(function(p) { report('notifications-' + p); });"
                 "if (navigator.mediaDevices) navigator.mediaDevices.getUserMedia({audio: true, video: true})"
                 "  .then(function() { report('media-granted'); }, function() { report('media-denied'); });"
                 "else report('media-denied');"));
    CheckWith(server);
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "geolocation-denied"); }))
        << ::testing::PrintToString(Targets(server));
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "notifications-denied"); }))
        << ::testing::PrintToString(Targets(server));
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "media-denied"); }))
        << ::testing::PrintToString(Targets(server));
    EXPECT_FALSE(Reported(server, "geolocation-granted"));
    EXPECT_FALSE(Reported(server, "notifications-granted"));
    EXPECT_FALSE(Reported(server, "media-granted"));
}

TEST_F(HostilePage, ADownloadWritesNothing) {
    const std::string name = "zentra-unwanted-" + std::to_string(::getpid()) + ".bin";
    TestUsageServer server(TestUsageServer::Behaviour::Page,
                           PageWith("report('start').then(function() { location.href = '/files/" + name + "'; });"));
    server.ServeDownload("/files/" + name, name);
    CheckWith(server);
    ASSERT_TRUE(WaitUntil([&] { return !Targets(server).empty() && Reported(server, "start"); }));
    ASSERT_TRUE(WaitUntil([&] {
        const auto targets = Targets(server);
        return std::find(targets.begin(), targets.end(), "/files/" + name) != targets.end();
    }));
    Pump(1500);

    // Nowhere the engine could have put it: the download folder, the home and temp folders.
    const char* home = std::getenv("HOME");
    for (const std::filesystem::path& folder :
         {std::filesystem::path(home ? home : "/root"), std::filesystem::path(home ? home : "/root") / "Downloads",
          std::filesystem::temp_directory_path()}) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
            EXPECT_THAT(entry.path().filename().string(), Not(HasSubstr(name)));
        }
    }
}

TEST_F(HostilePage, LocalFilesAreNotShown) {
    TestUsageServer server(TestUsageServer::Behaviour::Page,
                           PageWith("report('leaving').then(function() { location.href = 'file:///etc/passwd'; });"));
    CheckWith(server);
    ASSERT_TRUE(WaitUntil([&] { return Reported(server, "leaving"); }));
    Pump(1500);
    EXPECT_THAT(CurrentAddress(Window().Browser().Window()), Not(HasSubstr("file:")));
    EXPECT_THAT(PageText(Window().Browser().Window()), Not(HasSubstr("root:")));
}

}  // namespace
}  // namespace zq::test
