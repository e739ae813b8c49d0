#include "workflow/CheckWorkflow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "TempFolder.h"
#include "platform/NativeFileSystem.h"

namespace zq {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kHost = "usage.zentra.example";
constexpr const char* kCredit = "credit line";
constexpr const char* kUsagePrefix = "http://usage.zentra.example/dev/ci/info/usage_bar_new/";

class Workflow : public ::testing::Test {
protected:
    test::TempFolder folder;
    NativeFileSystem files;
    test::RecordingMessageBox messages;
    std::filesystem::path settingPath = folder / "setting.cfg";

    CheckWorkflow Start(FileSystem& fileSystem) {
        CheckWorkflow workflow(SettingFile(fileSystem, settingPath), messages, kHost, kCredit);
        workflow.Form_Load();
        return workflow;
    }
    CheckWorkflow Start() { return Start(files); }

    static void Type(CheckWorkflow& workflow, const std::string& text) {
        workflow.UserTyped(text);
        workflow.Text1_Change();
    }

    static WindowState EntryState() {
        WindowState entry;
        entry.Frame1.Visible = true;
        return entry;
    }
};

TEST_F(Workflow, IsCreatedWithTheDesignedValues) {
    CheckWorkflow workflow(SettingFile(files, settingPath), messages, kHost, kCredit);
    const WindowState& s = workflow.State();
    EXPECT_FALSE(s.Frame1.Visible);
    EXPECT_EQ(s.Text1.Text, "");
    EXPECT_EQ(s.Text1.MaxLength, 12);
    EXPECT_TRUE(s.Text1.Visible);
    EXPECT_TRUE(s.Text1.Enabled);
    EXPECT_EQ(s.Command1.Caption, "&Save && Check");
    EXPECT_TRUE(s.Command1.Enabled);
    EXPECT_EQ(s.Command1.Top, 2760);
    EXPECT_EQ(s.Label2.Caption, "Isikan Nomer Zentra Anda :");
    EXPECT_EQ(s.Label1.Caption, "0");
    EXPECT_FALSE(s.Timer1.Enabled);
    EXPECT_EQ(s.Timer1.Interval, 1000);
    EXPECT_FALSE(s.Browser.Visible);
    EXPECT_EQ(s.Browser.NavigationRequest, std::nullopt);
    EXPECT_EQ(s.FocusedControl, ControlName::None);
}

TEST_F(Workflow, StartsInEntryWithoutASettingFile) {
    const CheckWorkflow workflow = Start();
    EXPECT_EQ(workflow.State(), EntryState());
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(settingPath));
}

TEST_F(Workflow, StartsInEntryWhenTheSettingFileDoesNotRead) {
    using namespace std::string_literals;
    for (const std::string& content : {""s, "garbage\r\n"s, " 3 \r\n 6 \r\n"s, "\x00\x01\xff"s}) {
        test::WriteBytes(settingPath, content);
        const CheckWorkflow workflow = Start();
        EXPECT_EQ(workflow.State(), EntryState()) << '"' << content << '"';
        EXPECT_EQ(test::ReadBytes(settingPath), content);
    }
    EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(Workflow, StartsInEntryWhenTheSettingFileCannotBeRead) {
    test::FakeFileSystem fake;
    fake.files[settingPath] = " 370370367036 \r\n";
    fake.refuseReading.insert(settingPath);
    EXPECT_EQ(Start(fake).State(), EntryState());
}

TEST_F(Workflow, ChecksTheSavedNumberAtStart) {
    test::WriteBytes(settingPath, " 370370367036 \r\n");
    const CheckWorkflow workflow = Start();

    WindowState expected = EntryState();
    expected.Label2.Caption = "Cek Quota 123456789012";
    expected.Text1.Visible = false;
    expected.Timer1.Enabled = true;
    expected.Command1.Top = 2280;
    expected.Command1.Enabled = false;
    expected.Command1.Caption = "Please wait";
    expected.Browser.NavigationRequest = std::string(kUsagePrefix) + "123456789012";
    EXPECT_EQ(workflow.State(), expected);
    EXPECT_EQ(test::ReadBytes(settingPath), " 370370367036 \r\n");  // not written again
}

TEST_F(Workflow, TheTwelfthCharacterMovesTheFocusToTheButton) {
    CheckWorkflow workflow = Start();
    Type(workflow, "12345678901");
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::None);
    Type(workflow, "123456789012");
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::Command1);

    // The user goes back, deletes one and types it again: the focus moves again.
    workflow.UserFocused(ControlName::Text1);
    Type(workflow, "12345678901");
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::Text1);
    Type(workflow, "12345678901x");
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::Command1);
}

TEST_F(Workflow, CountsCharactersNotBytes) {
    CheckWorkflow workflow = Start();
    Type(workflow, "nomorzenträ");  // 11 characters, 12 bytes
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::None);
    workflow.Command1_Click();
    EXPECT_THAT(messages.shown, ElementsAre("Isikan No. Zentra Anda 12 Digit"));
    Type(workflow, "nomorzenträ1");
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::Command1);
}

TEST_F(Workflow, TooShortANumberShowsTheMessageAndChangesNothingElse) {
    CheckWorkflow workflow = Start();
    for (const std::string typed : {"", "1", "12345678901"}) {
        Type(workflow, typed);
        const WindowState before = workflow.State();
        messages.shown.clear();
        workflow.Command1_Click();
        workflow.Command1_Click();
        EXPECT_THAT(messages.shown, ElementsAre("Isikan No. Zentra Anda 12 Digit",
                                                "Isikan No. Zentra Anda 12 Digit"));
        EXPECT_EQ(workflow.State(), before);
    }
    EXPECT_FALSE(std::filesystem::exists(settingPath));
}

TEST_F(Workflow, TwelveCharactersStartACheckAndSaveTheNumber) {
    CheckWorkflow workflow = Start();
    Type(workflow, "123456789012");
    workflow.Command1_Click();

    WindowState expected = EntryState();
    expected.Text1.Text = "123456789012";
    expected.FocusedControl = ControlName::Command1;
    expected.Browser.NavigationRequest = std::string(kUsagePrefix) + "123456789012";
    expected.Timer1.Enabled = true;
    expected.Command1.Enabled = false;
    expected.Text1.Enabled = false;
    expected.Command1.Caption = "Please wait...";
    EXPECT_EQ(workflow.State(), expected);
    EXPECT_EQ(test::ReadBytes(settingPath), " 370370367036 \r\n");
    EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(Workflow, ANonNumberIsCheckedAsTypedAndLeavesAnEmptyFile) {
    CheckWorkflow workflow = Start();
    Type(workflow, "12345678901a");
    workflow.Command1_Click();
    EXPECT_EQ(workflow.State().Browser.NavigationRequest, std::string(kUsagePrefix) + "12345678901a");
    EXPECT_TRUE(workflow.State().Timer1.Enabled);
    EXPECT_EQ(test::ReadBytes(settingPath), "");
    EXPECT_EQ(Start().State(), EntryState());  // the next start asks again
}

TEST_F(Workflow, TheAddressCarriesTheTextAsOnePathSegment) {
    const struct {
        const char* typed;
        const char* appended;
    } cases[] = {
        {"123456789012", "123456789012"},
        {"ab%@é.-_~:;x", "ab%@é.-_~:;x"},  // unchanged
        {"../../../../", "..%2F..%2F..%2F..%2F"},
        {"..\\..\\..\\..\\", "..%5C..%5C..%5C..%5C"},
        {"..?123456789", "..%3F123456789"},
        {"..#123456789", "..%23123456789"},
        {"..          ", "..%20%20%20%20%20%20%20%20%20%20"},
        {"..\t\r\n\x7f" "4567890", "..%09%0D%0A%7F4567890"},
    };
    for (const auto& c : cases) {
        CheckWorkflow workflow = Start();
        Type(workflow, c.typed);
        workflow.Command1_Click();
        EXPECT_EQ(workflow.State().Browser.NavigationRequest, std::string(kUsagePrefix) + c.appended);
    }
}

TEST_F(Workflow, ACheckGoesOnWhenTheFileCannotBeWritten) {
    test::FakeFileSystem fake;
    fake.refuseWriting.insert(settingPath);
    CheckWorkflow workflow = Start(fake);
    Type(workflow, "123456789012");
    workflow.Command1_Click();
    EXPECT_TRUE(workflow.State().Timer1.Enabled);
    EXPECT_EQ(workflow.State().Command1.Caption, "Please wait...");
    EXPECT_FALSE(fake.files.contains(settingPath));
    EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(Workflow, AReadOnlyFileStaysAsItWasWhileTheCheckGoesOn) {
    test::FakeFileSystem fake;
    fake.files[settingPath] = "garbage";  // does not read, so the start asks for a number
    fake.refuseWriting.insert(settingPath);
    CheckWorkflow workflow = Start(fake);
    Type(workflow, "123456789012");
    workflow.Command1_Click();
    EXPECT_TRUE(workflow.State().Timer1.Enabled);
    EXPECT_EQ(fake.files[settingPath], "garbage");
}

TEST_F(Workflow, TheFourthTickRevealsThePage) {
    CheckWorkflow workflow = Start();
    Type(workflow, "123456789012");
    workflow.Command1_Click();
    const WindowState checking = workflow.State();

    for (const char* count : {"1", "2", "3"}) {
        workflow.Timer1_Timer();
        WindowState expected = checking;
        expected.Label1.Caption = count;
        EXPECT_EQ(workflow.State(), expected) << count;
    }
    workflow.Timer1_Timer();
    WindowState revealed = checking;
    revealed.Label1.Caption = "4";
    revealed.Browser.Visible = true;
    revealed.Timer1.Enabled = false;
    revealed.Frame1.Visible = false;
    revealed.FocusedControl = ControlName::Browser;
    EXPECT_EQ(workflow.State(), revealed);
}

TEST_F(Workflow, TheSavedNumberIsRevealedAtTheFourthTickToo) {
    test::WriteBytes(settingPath, " 370370367036 \r\n");
    CheckWorkflow workflow = Start();
    for (int tick = 0; tick < 3; ++tick) workflow.Timer1_Timer();
    EXPECT_FALSE(workflow.State().Browser.Visible);
    workflow.Timer1_Timer();
    EXPECT_TRUE(workflow.State().Browser.Visible);
    EXPECT_FALSE(workflow.State().Timer1.Enabled);
    EXPECT_FALSE(workflow.State().Frame1.Visible);
    EXPECT_EQ(workflow.State().FocusedControl, ControlName::Browser);
}

TEST_F(Workflow, LeadingZerosAreLostOnTheWayThroughTheFile) {
    CheckWorkflow first = Start();
    Type(first, "000000000001");
    first.Command1_Click();
    EXPECT_EQ(first.State().Browser.NavigationRequest, std::string(kUsagePrefix) + "000000000001");

    const CheckWorkflow next = Start();
    EXPECT_EQ(next.State().Label2.Caption, "Cek Quota 1");
    EXPECT_EQ(next.State().Browser.NavigationRequest, std::string(kUsagePrefix) + "1");
}

TEST_F(Workflow, ANegativeNumberSurvivesTheRoundTrip) {
    CheckWorkflow first = Start();
    Type(first, "-12345678901");
    first.Command1_Click();
    EXPECT_EQ(test::ReadBytes(settingPath), "-37037036703 \r\n");
    EXPECT_EQ(Start().State().Label2.Caption, "Cek Quota -12345678901");
}

TEST_F(Workflow, TheCreditLabelShowsTheCreditAndNothingElse) {
    CheckWorkflow workflow = Start();
    workflow.Label3_Click();
    EXPECT_THAT(messages.shown, ElementsAre(kCredit));
    EXPECT_EQ(workflow.State(), EntryState());
}

TEST(CharacterCount, CountsCodePoints) {
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("é€😀"), 3u);
}

}  // namespace
}  // namespace zq
