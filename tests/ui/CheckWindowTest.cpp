// Checks end to end: the request the server receives, the file written, the reveal at
// the fourth tick, and what is revealed when the server fails.

#include <gmock/gmock.h>
#include <gtk/gtk.h>

#include "TestUsageServer.h"
#include "UiHarness.h"
#include "WebPage.h"

namespace zq::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kUsageTarget = "/dev/ci/info/usage_bar_new/123456789012";


class CheckWindow : public WindowFixture {
protected:
    void StartCheck(const std::string& host) {
        StartWindow(host);
        Type("123456789012");
        PressAltS();
    }

    // The page lies over the whole client area and is what the screen shows there.
    void ExpectPageCoversTheClientArea() {
        wxWindow* view = Window().Browser().Window();
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->IsShownOnScreen());
        EXPECT_FALSE(Window().Frame1()->IsShown());
        const wxRect client(wxPoint(0, 0), Window().GetClientSize());
        EXPECT_TRUE(view->GetRect().Contains(client)) << view->GetRect().width << "x"
                                                      << view->GetRect().height;
    }
};

TEST_F(CheckWindow, ATypedNumberIsRequestedSavedAndRevealedAtTheFourthTick) {
    TestUsageServer server;
    StartCheck(server.Host());

    EXPECT_EQ(Window().Command1()->GetLabel(), "Please wait...");
    EXPECT_FALSE(Window().Command1()->IsEnabled());
    EXPECT_FALSE(Window().Text1()->IsEnabled());
    EXPECT_EQ(test::ReadBytes(settingPath), " 370370367036 \r\n");
    ASSERT_TRUE(WaitUntil([&] { return Window().Browser().Window() != nullptr; }));
    EXPECT_THAT(ChildProcesses(), Not(IsEmpty()));  // the web engine starts with the check

    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_FALSE(Window().Browser().Window()->IsShown());
    EXPECT_TRUE(Window().Frame1()->IsShown());
    ASSERT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }));

    ASSERT_TRUE(WaitForTicks(4));
    ExpectPageCoversTheClientArea();
    EXPECT_FALSE(Window().Timer1().IsRunning());

    // The page itself fills the window to its edges.
    ASSERT_TRUE(WaitUntil([&] { return ServerPageLoaded(Window().Browser().Window()); }));
    Pump(300);
    const wxPoint origin = Window().ClientToScreen(wxPoint(0, 0));
    const wxSize client = Window().GetClientSize();
    EXPECT_EQ(input.ScreenPixel(origin), TestUsageServer::kPageColour);
    EXPECT_EQ(input.ScreenPixel(origin + client - wxSize(1, 1)), TestUsageServer::kPageColour);

    Pump(1500);
    EXPECT_EQ(State().Label1.Caption, "4");  // no fifth tick
    EXPECT_THAT(server.Requests(), ElementsAre(AllOf(Field(&TestUsageServer::Request::method, "GET"),
                                                     Field(&TestUsageServer::Request::target, kUsageTarget))));
}

TEST_F(CheckWindow, ASavedNumberIsCheckedAtStart) {
    test::WriteBytes(settingPath, " 370370367036 \r\n");
    TestUsageServer server;
    StartWindow(server.Host());

    EXPECT_EQ(Window().Label2()->GetLabel(), "Cek Quota 123456789012");
    EXPECT_FALSE(Window().Text1()->IsShown());
    EXPECT_EQ(Window().Command1()->GetLabel(), "Please wait");
    EXPECT_FALSE(Window().Command1()->IsEnabled());
    EXPECT_EQ(Window().Command1()->GetPosition().y, Window().FromDIP(2280 / 15));
    EXPECT_NE(wxWindow::FindFocus(), Window().Text1());
    EXPECT_NE(wxWindow::FindFocus(), Window().Command1());

    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_FALSE(Window().Browser().Window()->IsShown());
    ASSERT_TRUE(WaitForTicks(4));
    ExpectPageCoversTheClientArea();
    // On a busy machine the engine may ask later than the reveal.
    EXPECT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }, 30000));
    EXPECT_THAT(server.Requests(), ElementsAre(Field(&TestUsageServer::Request::target, kUsageTarget)));
    EXPECT_EQ(test::ReadBytes(settingPath), " 370370367036 \r\n");
}

TEST_F(CheckWindow, TheCreditCanBeReadDuringACheck) {
    TestUsageServer server;
    StartCheck(server.Host());
    ClickOn(Window().Label3());
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].message, kCredit);
    ASSERT_TRUE(WaitForTicks(4));
    ExpectPageCoversTheClientArea();
}

// Whatever the server does, the reveal comes at the fourth tick with words on it, and the
// window closes at once.
struct Failure {
    const char* name;
    TestUsageServer::Behaviour behaviour;
    bool refused;
    const char* words;
};

void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.name; }

class FailingServer : public CheckWindow, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailingServer, StillRevealsWordsAtTheFourthTickAndClosesAtOnce) {
    const Failure failure = GetParam();
    TestUsageServer server(failure.behaviour, "<html><body><h1>Galat server</h1></body></html>");
    const wxLongLong started = wxGetLocalTimeMillis();
    StartCheck(failure.refused ? RefusingHost() : server.Host());
    ASSERT_TRUE(WaitForTicks(4));
    EXPECT_LT(wxGetLocalTimeMillis() - started, 7000);
    ExpectPageCoversTheClientArea();
    ASSERT_TRUE(WaitUntil([&] { return PageText(Window().Browser().Window()).find(failure.words) != std::string::npos; }, 5000))
        << PageText(Window().Browser().Window());

    const wxLongLong closing = wxGetLocalTimeMillis();
    Window().Close();
    ASSERT_TRUE(WaitUntil([] { return wxTopLevelWindows.IsEmpty(); }, 2000));
    EXPECT_LT(wxGetLocalTimeMillis() - closing, 1000);
}

// Like any browser, the program gives up on a server that takes the request and never
// answers, and says so in the program's language; it asks once.
TEST_F(CheckWindow, ASilentServerIsGivenUpOnWithAReasonAndNotAskedAgain) {
    TestUsageServer server(TestUsageServer::Behaviour::NeverAnswer);
    StartCheck(server.Host());
    ASSERT_TRUE(WaitForTicks(4));
    ASSERT_TRUE(WaitUntil([&] { return PageText(Window().Browser().Window()).find("tidak menjawab") != std::string::npos; },
                          45000));
    EXPECT_THAT(PageText(Window().Browser().Window()),
                HasSubstr("Halaman pemakaian Zentra tidak dapat dimuat.\n\nServer Zentra tidak menjawab."));
    EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Server, FailingServer,
    ::testing::Values(Failure{"Refused", TestUsageServer::Behaviour::Page, true, "Server Zentra menolak sambungan."},
                      Failure{"Error500", TestUsageServer::Behaviour::ServerError, false, "Galat server"},
                      Failure{"NeverAnswers", TestUsageServer::Behaviour::NeverAnswer, false, "Memuat halaman pemakaian"},
                      Failure{"TenSeconds", TestUsageServer::Behaviour::Slow, false, "Memuat halaman pemakaian"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zq::test

namespace zq::test {
namespace {

// What the server receives for typed text with characters that mean something in a URL.
// Everything stays on the usage host, under the usage path.
struct TypedText {
    const char* name;
    const char* typed;
    const char* received;
};

void PrintTo(const TypedText& text, std::ostream* out) { *out << text.name; }

class UrlSpecialText : public CheckWindow, public ::testing::WithParamInterface<TypedText> {};

TEST_P(UrlSpecialText, StaysUnderTheUsagePath) {
    TestUsageServer server;
    StartWindow(server.Host());
    // Pasted, so that characters without a key on the virtual keyboard arrive too.
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), GetParam().typed, -1);
    Pump(100);
    input.Char('v', wxMOD_CONTROL);
    ASSERT_TRUE(WaitUntil([&] { return CharacterCount(State().Text1.Text) == 12; }, 3000));
    PressAltS();
    ASSERT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }));
    Pump(300);
    EXPECT_THAT(server.Requests(), ElementsAre(Field(&TestUsageServer::Request::target,
                                                     std::string("/dev/ci/info/usage_bar_new/") +
                                                         GetParam().received)));
}

INSTANTIATE_TEST_SUITE_P(
    Typed, UrlSpecialText,
    ::testing::Values(TypedText{"Spaces", "1234 5678 90", "1234%205678%2090"},
                      TypedText{"Hash", "12345#678901", "12345%23678901"},
                      TypedText{"Question", "12345?678901", "12345%3F678901"},
                      TypedText{"Slash", "12/45/678901", "12%2F45%2F678901"},
                      TypedText{"DotDotSlash", "../../../../", "..%2F..%2F..%2F..%2F"},
                      TypedText{"DotDotQuery", "%2e%2e?12345", "..%3F12345"},
                      TypedText{"DotDotSpaces", "..          ", "..%20%20%20%20%20%20%20%20%20%20"},
                      // The HTTP library under the engine decodes escapes of unreserved characters.
                      TypedText{"Percent", "12%45%678%zz", "12Eg8%zz"},
                      TypedText{"At", "user@1234567", "user@1234567"},
                      TypedText{"NonAscii", "nomorZenträ1", "nomorZentr%C3%A41"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zq::test
