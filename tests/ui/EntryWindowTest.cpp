// The window as a user meets it without a saved number: typing, the 12-character rule,
// the credit label. Real keystrokes and clicks under a virtual X server.

#include <gmock/gmock.h>
#include <gtk/gtk.h>
#include <wx/timer.h>

#include <optional>

#include "TestUsageServer.h"
#include "UiHarness.h"

namespace zq::test {
namespace {

using ::testing::IsEmpty;

class EntryWindow : public WindowFixture {
protected:
    TestUsageServer server;
    void SetUp() override { StartWindow(server.Host()); }
};

TEST_F(EntryWindow, OpensOnTheEmptyNumberBoxWithNothingLoaded) {
    EXPECT_EQ(Window().GetTitle(), " Pengecekan Quota Zentra");
    EXPECT_TRUE(Window().Frame1()->IsShown());
    EXPECT_TRUE(Window().Text1()->IsShownOnScreen());
    EXPECT_EQ(Window().Text1()->GetValue(), "");
    EXPECT_EQ(wxWindow::FindFocus(), Window().Text1());
    EXPECT_EQ(Window().Label2()->GetLabel(), "Isikan Nomer Zentra Anda :");
    EXPECT_EQ(Window().Command1()->GetLabel(), "&Save && Check");
    EXPECT_TRUE(Window().Command1()->IsEnabled());
    EXPECT_FALSE(Window().Label1()->IsShown());
    EXPECT_TRUE(Window().Image1()->IsShownOnScreen());

    // No web view, no web engine process, no request, and no timer.
    Pump(300);
    EXPECT_EQ(Window().Browser().Window(), nullptr);
    EXPECT_THAT(ChildProcesses(), IsEmpty());
    EXPECT_THAT(server.Requests(), IsEmpty());
    EXPECT_FALSE(Window().Timer1().IsRunning());
}

TEST_F(EntryWindow, TheTwelfthCharacterMovesTheFocusAndAThirteenthIsRefused) {
    Type("12345678901");
    EXPECT_EQ(wxWindow::FindFocus(), Window().Text1());
    Type("2");
    EXPECT_EQ(wxWindow::FindFocus(), Window().Command1());
    EXPECT_EQ(State().FocusedControl, ControlName::Command1);

    ClickOn(Window().Text1());
    EXPECT_EQ(State().FocusedControl, ControlName::Text1);  // the user's own move is recorded
    input.Char(WXK_END);
    Type("3");
    EXPECT_EQ(Window().Text1()->GetValue(), "123456789012");

    // Deleting one and typing it again moves the focus again.
    input.Char(WXK_BACK);
    Pump(100);
    EXPECT_EQ(wxWindow::FindFocus(), Window().Text1());
    Type("9");
    EXPECT_EQ(wxWindow::FindFocus(), Window().Command1());
    EXPECT_EQ(State().Text1.Text, "123456789019");
    EXPECT_THAT(messageBoxes.shown, IsEmpty());  // the focus moved; nothing was pressed
}

TEST_F(EntryWindow, TabMovesBetweenTheNumberBoxAndTheButton) {
    input.Char(WXK_TAB);
    Pump(100);
    EXPECT_EQ(wxWindow::FindFocus(), Window().Command1());
    EXPECT_EQ(State().FocusedControl, ControlName::Command1);
    input.Char(WXK_TAB, wxMOD_SHIFT);
    Pump(100);
    EXPECT_EQ(wxWindow::FindFocus(), Window().Text1());
    EXPECT_EQ(State().FocusedControl, ControlName::Text1);
}

TEST_F(EntryWindow, AClickOnTheWindowsMarginLeavesTheFocusWhereItWas) {
    Type("12345");
    for (const wxPoint margin : {wxPoint(100, 5), wxPoint(3, 200), wxPoint(198, 200), wxPoint(100, 422)}) {
        input.MouseMove(Window().ClientToScreen(margin));
        input.MouseClick();
        Pump(100);
        EXPECT_EQ(wxWindow::FindFocus(), Window().Text1()) << margin.x << "," << margin.y;
    }
    input.Char(' ');  // lands in the box, starting nothing
    Pump(100);
    EXPECT_EQ(State().FocusedControl, ControlName::Text1);
    EXPECT_EQ(State().Text1.Text, "12345 ");
    EXPECT_FALSE(Window().Timer1().IsRunning());
}

TEST_F(EntryWindow, PastedTextIsCutToTwelveCharacters) {
    Type("12345");
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "ABCDEFGHIJKLMNOP", -1);
    Pump(200);
    input.Char('v', wxMOD_CONTROL);
    WaitUntil([&] { return Window().Text1()->GetValue().length() > 5; }, 3000);
    EXPECT_EQ(Window().Text1()->GetValue(), "12345ABCDEFG");
    EXPECT_EQ(State().Text1.Text, "12345ABCDEFG");
}

TEST_F(EntryWindow, AltSWithTooFewCharactersShowsTheMessageAndNothingElse) {
    Type("12345678901");
    const WindowState before = State();
    PressAltS();
    ASSERT_TRUE(WaitUntil([&] { return messageBoxes.shown.size() == 1; }, 2000));
    PressAltS();
    ASSERT_TRUE(WaitUntil([&] { return messageBoxes.shown.size() == 2; }, 2000));
    for (const auto& box : messageBoxes.shown) {
        EXPECT_EQ(box.message, "Isikan No. Zentra Anda 12 Digit");
        EXPECT_EQ(box.title, "Zentra Quota");
        EXPECT_EQ(box.style & (wxOK | wxCANCEL | wxYES_NO | wxHELP), wxOK);
        EXPECT_EQ(box.style & wxICON_MASK, wxICON_NONE);
    }
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Window().Command1()->GetLabel(), "&Save && Check");
    EXPECT_TRUE(Window().Text1()->IsEnabled());
    EXPECT_FALSE(Window().Timer1().IsRunning());
    EXPECT_FALSE(std::filesystem::exists(settingPath));
    EXPECT_EQ(Window().Browser().Window(), nullptr);
}

TEST_F(EntryWindow, EnterAndSpaceOnTheButtonPressIt) {
    Type("12345678901");
    input.Char(WXK_TAB);
    Pump(100);
    ASSERT_EQ(wxWindow::FindFocus(), Window().Command1());
    input.Char(WXK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return messageBoxes.shown.size() == 1; }, 2000));
    input.Char(WXK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return messageBoxes.shown.size() == 2; }, 2000));
    EXPECT_EQ(messageBoxes.shown[1].message, "Isikan No. Zentra Anda 12 Digit");
}

// The box itself, shown for real and answered from the keyboard.
TEST_F(EntryWindow, TheMessageBoxIsModalOnTheWindowAndItsOkTakesTheKeyboard) {
    messageBoxes.LetBoxesShow();
    Type("12345");
    struct Seen {
        std::string title, text;
        bool modal = false;
        bool onTheWindow = false;
    };
    std::optional<Seen> seen;
    int looks = 0;
    wxTimer look;
    look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {  // runs inside the box's own event loop
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item; item = item->next) {
            auto* box = GTK_WINDOW(item->data);
            if (!GTK_IS_MESSAGE_DIALOG(box) || !gtk_widget_get_mapped(GTK_WIDGET(box))) continue;
            if (!seen) {
                gchar* text = nullptr;
                g_object_get(box, "text", &text, nullptr);
                seen = Seen{gtk_window_get_title(box), text ? text : "", gtk_window_get_modal(box) != FALSE,
                            gtk_window_get_transient_for(box) == GTK_WINDOW(Window().GetHandle())};
                g_free(text);
                input.Char(WXK_RETURN);
            } else if (++looks > 50) {
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);  // never answered: fail, not hang
            }
        }
        g_list_free(toplevels);
    });
    look.Start(200);
    PressAltS();
    // Back here only once the box has closed.
    ASSERT_TRUE(WaitUntil([&] { return seen.has_value(); }, 5000));
    look.Stop();
    EXPECT_LE(looks, 50) << "the box did not take the keyboard";
    EXPECT_EQ(seen->title, "Zentra Quota");
    EXPECT_EQ(seen->text, "Isikan No. Zentra Anda 12 Digit");
    EXPECT_TRUE(seen->modal);
    EXPECT_TRUE(seen->onTheWindow);
    EXPECT_FALSE(Window().Timer1().IsRunning());
}

TEST_F(EntryWindow, EnterInTheNumberBoxDoesNothing) {
    Type("12345678901");
    input.Char(WXK_RETURN);
    Pump(200);
    EXPECT_THAT(messageBoxes.shown, IsEmpty());
    EXPECT_FALSE(Window().Timer1().IsRunning());
}

TEST_F(EntryWindow, TheCreditLabelShowsTheCredit) {
    const WindowState before = State();
    ClickOn(Window().Label3());
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].message, kCredit);
    EXPECT_EQ(messageBoxes.shown[0].title, "Zentra Quota");
    EXPECT_EQ(State().Frame1, before.Frame1);
    EXPECT_EQ(State().Command1, before.Command1);
}

}  // namespace
}  // namespace zq::test
