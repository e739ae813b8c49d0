#include "settings/SettingFile.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "TempFolder.h"
#include "platform/NativeFileSystem.h"

namespace zq {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class SettingFileOnDisk : public ::testing::Test {
protected:
    test::TempFolder folder;
    NativeFileSystem files;
    SettingFile setting{files, folder / "setting.cfg"};
};

TEST_F(SettingFileOnDisk, WritesThreeTimesTheNumberInThePrintFormat) {
    const struct {
        const char* typed;
        const char* bytes;
        const char* readBack;
    } cases[] = {
        {"123456789012", " 370370367036 \r\n", "123456789012"},
        {"000000000001", " 3 \r\n", "1"},
        {"-12345678901", "-37037036703 \r\n", "-12345678901"},
        {"000000000000", " 0 \r\n", "0"},
    };
    for (const auto& c : cases) {
        setting.WriteSavedNumber(c.typed);
        EXPECT_EQ(ReadBytes(setting.Path()), c.bytes) << c.typed;
        EXPECT_TRUE(setting.SavedNumberExists());
        EXPECT_EQ(setting.ReadSavedNumber(), c.readBack) << c.typed;
    }
}

TEST_F(SettingFileOnDisk, TextThatIsNotANumberLeavesAnEmptyFileThatDoesNotRead) {
    WriteBytes(setting.Path(), " 370370367036 \r\n");
    setting.WriteSavedNumber("12345678901a");
    EXPECT_TRUE(setting.SavedNumberExists());
    EXPECT_EQ(ReadBytes(setting.Path()), "");
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);
}

TEST_F(SettingFileOnDisk, AProductThatOverflowsLeavesAnEmptyFile) {
    setting.WriteSavedNumber("1e308");
    EXPECT_EQ(ReadBytes(setting.Path()), "");
}

TEST_F(SettingFileOnDisk, ReadsOneNumberLineWhateverTheLineEnds) {
    for (const char* content : {" 3 \r\n\r\n\r\n", " 3 ", " 3 \n", " 3 \r", "\r\n 3 \r\n", "3"}) {
        WriteBytes(setting.Path(), content);
        EXPECT_EQ(setting.ReadSavedNumber(), "1") << '"' << content << '"';
    }
}

TEST_F(SettingFileOnDisk, ContentThatIsNotOneNumberIsAFailure) {
    for (const char* content : {"", "\r\n", " 3 \r\n 6 \r\n", " 3\n6 \r\n", "abc", "\x01\xff\x00\x7f",
                                " 3 \r\nx\r\n"}) {
        WriteBytes(setting.Path(), content);
        EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt) << '"' << content << '"';
    }
}

TEST_F(SettingFileOnDisk, AValueThatIsNotAMultipleOfThreeReadsAsAFraction) {
    WriteBytes(setting.Path(), " 4 \r\n");
    EXPECT_EQ(setting.ReadSavedNumber(), "1.33333333333333");
}

TEST_F(SettingFileOnDisk, AFolderAtThePathIsNoSavedNumberAndCannotBeWritten) {
    std::filesystem::create_directory(setting.Path());
    EXPECT_FALSE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);
    setting.WriteSavedNumber("123456789012");
    EXPECT_TRUE(std::filesystem::is_directory(setting.Path()));
}

TEST(JoinLinesWithCrLf, EndsEveryLineWithCrLfAndKeepsLoneLineFeeds) {
    EXPECT_EQ(JoinLinesWithCrLf(""), "");
    EXPECT_EQ(JoinLinesWithCrLf("a"), "a\r\n");
    EXPECT_EQ(JoinLinesWithCrLf("a\r\nb\rc\r"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(JoinLinesWithCrLf("a\nb\r\n\r\n"), "a\nb\r\n\r\n");
}

// Permission failures are modelled: as root, the real file system would let every write in.
class SettingFileWithFailures : public ::testing::Test {
protected:
    test::FakeFileSystem files;
    SettingFile setting{files, "/home/user/setting.cfg"};
};

TEST_F(SettingFileWithFailures, AFileThatCannotBeOpenedForWritingStaysAsItWas) {
    files.files[setting.Path()] = " 3 \r\n";
    files.refuseWriting.insert(setting.Path());
    setting.WriteSavedNumber("123456789012");
    EXPECT_EQ(files.files[setting.Path()], " 3 \r\n");
}

TEST_F(SettingFileWithFailures, AFailingWriteLeavesTheTruncatedFileAndStillCloses) {
    files.files[setting.Path()] = " 3 \r\n";
    files.writesFail = true;
    setting.WriteSavedNumber("123456789012");
    EXPECT_EQ(files.files[setting.Path()], "");
    EXPECT_EQ(files.closes, 1);
}

TEST_F(SettingFileWithFailures, AnUnreadableFileIsAFailure) {
    files.files[setting.Path()] = " 3 \r\n";
    files.refuseReading.insert(setting.Path());
    EXPECT_TRUE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);
}

// Windows keeps the file in the root of drive C:, where an ordinary user may not create
// files; the number then goes to a folder of the user's own.
class SettingFileWithFallback : public ::testing::Test {
protected:
    test::FakeFileSystem files;
    const std::filesystem::path root = "C:/setting.cfg";
    const std::filesystem::path own = "C:/Users/u/AppData/Local/Zentra Quota/setting.cfg";
    SettingFile setting{files, root, own};
};

TEST_F(SettingFileWithFallback, ARootThatRefusesFilesSendsTheNumberToTheUsersFolder) {
    files.refuseWriting.insert(root.parent_path());
    EXPECT_FALSE(setting.SavedNumberExists());
    setting.WriteSavedNumber("123456789012");
    EXPECT_FALSE(files.files.contains(root));
    EXPECT_TRUE(files.folders.contains(own.parent_path()));
    EXPECT_EQ(files.files[own], " 370370367036 \r\n");
    EXPECT_TRUE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), "123456789012");
}

TEST_F(SettingFileWithFallback, AFileInTheRootStaysTheFile) {
    files.files[own] = " 6 \r\n";
    setting.WriteSavedNumber("000000000001");  // the root takes files: it is used
    EXPECT_EQ(files.files[root], " 3 \r\n");
    EXPECT_EQ(setting.ReadSavedNumber(), "1");

    files.refuseWriting.insert(root);  // there but read-only: it is still the file
    setting.WriteSavedNumber("123456789012");
    EXPECT_EQ(files.files[root], " 3 \r\n");
    EXPECT_EQ(files.files[own], " 6 \r\n");
    EXPECT_EQ(setting.ReadSavedNumber(), "1");
}

}  // namespace
}  // namespace zq
