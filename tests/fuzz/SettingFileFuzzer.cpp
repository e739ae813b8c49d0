// The setting file's reader on any bytes: through the real file system (a file in a
// private temporary folder) and through a file system that counts what is asked of it.
// The reader asks for no more than its bound, gets nothing back for bigger files, and
// accepts only what reads as one number.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/NativeFileSystem.h"
#include "settings/SettingFile.h"
#include "workflow/NumberText.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

class CountingFileSystem final : public zq::FileSystem {
public:
    explicit CountingFileSystem(std::string content) : content_(std::move(content)) {}
    std::size_t largestRequest = 0;

    bool IsRegularFile(const std::filesystem::path&) override { return true; }
    std::optional<std::string> ReadAll(const std::filesystem::path&, std::size_t maxBytes) override {
        largestRequest = std::max(largestRequest, maxBytes);
        if (content_.size() > maxBytes) return std::nullopt;
        return content_;
    }
    std::unique_ptr<zq::WritableFile> OpenForWriting(const std::filesystem::path&) override {
        return nullptr;
    }
    bool CreateFolders(const std::filesystem::path&) override { return false; }

private:
    std::string content_;
};

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentra-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);

    CountingFileSystem counting(content);
    const auto fromMemory = zq::SettingFile(counting, "setting.cfg").ReadSavedNumber();
    Require(counting.largestRequest <= zq::SettingFile::kMaxBytes);

    const std::filesystem::path path = Folder() / "setting.cfg";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(content.data(), static_cast<std::streamsize>(size));
    zq::NativeFileSystem files;
    const auto bytes = files.ReadAll(path, zq::SettingFile::kMaxBytes);
    Require(size > zq::SettingFile::kMaxBytes ? !bytes : bytes == content);
    const auto fromDisk = zq::SettingFile(files, path).ReadSavedNumber();
    Require(fromDisk == fromMemory);

    // A number read back is three times smaller than what the file holds, as text.
    if (fromDisk) {
        const auto stored = zq::ToNumber(zq::JoinLinesWithCrLf(content));
        Require(stored && zq::ToText(*stored / 3) == *fromDisk);
    }
    return 0;
}
