// Whatever sits at the setting path, the program starts at once in a defined state, and a
// check started from the window goes on without a word, saving only where it can.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include "TestUsageServer.h"
#include "UiHarness.h"

namespace zq::test {
namespace {

using ::testing::IsEmpty;

enum class Saved { Written, Untouched };

struct SettingPathCase {
    const char* name;
    std::function<void(const std::filesystem::path&, RefusingFileSystem&)> prepare;
    Saved afterCheck;
    // What is at the path afterwards, when untouched.
    std::function<bool(const std::filesystem::path&)> stillThere;
};

bool SameBytes(const std::filesystem::path& path, const std::string& bytes) { return ReadBytes(path) == bytes; }

const std::string kTwoNumbers = " 3 \r\n 6 \r\n";
const std::string kGarbage("\x00\xff\x13\x80garbage\x7f", 12);

const SettingPathCase kCases[] = {
    {"Folder", [](const auto& p, auto&) { std::filesystem::create_directory(p); }, Saved::Untouched,
     [](const auto& p) { return std::filesystem::is_directory(p); }},
    {"Fifo", [](const auto& p, auto&) { ::mkfifo(p.c_str(), 0600); }, Saved::Untouched,
     [](const auto& p) { return std::filesystem::is_fifo(p); }},
    {"LinkToDevZero", [](const auto& p, auto&) { std::filesystem::create_symlink("/dev/zero", p); },
     Saved::Untouched, [](const auto& p) { return std::filesystem::is_symlink(p); }},
    {"HundredMegabytes",
     [](const auto& p, auto&) {
         { std::ofstream create(p); }
         std::filesystem::resize_file(p, 100u << 20);
     },
     Saved::Written, nullptr},
    {"BinaryGarbage", [](const auto& p, auto&) { WriteBytes(p, kGarbage); }, Saved::Written, nullptr},
    {"TwoNumbers", [](const auto& p, auto&) { WriteBytes(p, kTwoNumbers); }, Saved::Written, nullptr},
    {"Empty", [](const auto& p, auto&) { WriteBytes(p, ""); }, Saved::Written, nullptr},
    {"Unreadable",
     [](const auto& p, auto& files) {
         WriteBytes(p, " 3 \r\n");
         files.refuseReading.insert(p);
     },
     Saved::Written, nullptr},
    {"ReadOnlyAndUnreadable",
     [](const auto& p, auto& files) {
         WriteBytes(p, kGarbage);
         files.refuseWriting.insert(p);
     },
     Saved::Untouched, [](const auto& p) { return SameBytes(p, kGarbage); }},
    {"FolderNotWritable", [](const auto& p, auto& files) { files.refuseWriting.insert(p.parent_path()); },
     Saved::Untouched, [](const auto& p) { return !std::filesystem::exists(p); }},
};

void PrintTo(const SettingPathCase& c, std::ostream* out) { *out << c.name; }

class FaultySettingPath : public WindowFixture, public ::testing::WithParamInterface<SettingPathCase> {};

TEST_P(FaultySettingPath, StartsInEntryAndChecksWithoutAWord) {
    TestUsageServer server;
    GetParam().prepare(settingPath, files);

    const wxLongLong started = wxGetLocalTimeMillis();
    StartWindow(server.Host());
    EXPECT_LT(wxGetLocalTimeMillis() - started, 3000);
    EXPECT_TRUE(Window().Text1()->IsShownOnScreen());
    EXPECT_EQ(wxWindow::FindFocus(), Window().Text1());
    EXPECT_EQ(Window().Browser().Window(), nullptr);

    Type("123456789012");
    PressAltS();
    EXPECT_EQ(Window().Command1()->GetLabel(), "Please wait...");
    EXPECT_TRUE(Window().Timer1().IsRunning());
    ASSERT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }));
    EXPECT_THAT(messageBoxes.shown, IsEmpty());

    if (GetParam().afterCheck == Saved::Written) {
        EXPECT_EQ(ReadBytes(settingPath), " 370370367036 \r\n");
    } else {
        EXPECT_TRUE(GetParam().stillThere(settingPath));
    }
}

INSTANTIATE_TEST_SUITE_P(At, FaultySettingPath, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zq::test
