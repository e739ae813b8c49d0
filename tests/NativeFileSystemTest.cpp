#include "platform/NativeFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"
#include "settings/SettingFile.h"

namespace zq {
namespace {

// Whatever sits at the setting path, reading it must end at once and read little.
class HostilePaths : public ::testing::Test {
protected:
    test::TempFolder folder;
    NativeFileSystem files;
    std::filesystem::path path = folder / "setting.cfg";
    SettingFile setting{files, path};
};

TEST_F(HostilePaths, ALinkToAnEndlessDeviceIsNoSavedNumber) {
    std::filesystem::create_symlink("/dev/zero", path);
    EXPECT_FALSE(setting.SavedNumberExists());
    EXPECT_EQ(files.ReadAll(path, SettingFile::kMaxBytes), std::nullopt);
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);
}

TEST_F(HostilePaths, AFifoNeitherBlocksReadingNorWriting) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);  // no writer: would block without care
    EXPECT_EQ(files.OpenForWriting(path), nullptr);       // no reader
}

TEST_F(HostilePaths, AHugeFileIsRefusedWithoutBeingRead) {
    {
        std::ofstream out(path, std::ios::binary);
    }
    std::filesystem::resize_file(path, 100u * 1024 * 1024);  // sparse: 100 MB of zeros
    EXPECT_TRUE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), std::nullopt);
}

TEST_F(HostilePaths, TheBoundIsExact) {
    test::WriteBytes(path, std::string(SettingFile::kMaxBytes, ' ') + "3");
    EXPECT_EQ(files.ReadAll(path, SettingFile::kMaxBytes), std::nullopt);
    test::WriteBytes(path, std::string(SettingFile::kMaxBytes - 1, ' ') + "3");
    EXPECT_EQ(setting.ReadSavedNumber(), "1");
}

TEST_F(HostilePaths, ALinkToARegularFileIsFollowed) {
    test::WriteBytes(folder / "real.cfg", " 370370367036 \r\n");
    std::filesystem::create_symlink(folder / "real.cfg", path);
    EXPECT_TRUE(setting.SavedNumberExists());
    EXPECT_EQ(setting.ReadSavedNumber(), "123456789012");
}

TEST_F(HostilePaths, AMissingFolderCannotBeWritten) {
    SettingFile nowhere{files, folder / "missing" / "setting.cfg"};
    nowhere.WriteSavedNumber("123456789012");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_FALSE(nowhere.SavedNumberExists());
}

}  // namespace
}  // namespace zq
