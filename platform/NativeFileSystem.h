#pragma once

#include "platform/FileSystem.h"

namespace zq {

// The operating system's files: POSIX calls here, the C++ library's streams on Windows.
class NativeFileSystem final : public FileSystem {
public:
    bool IsRegularFile(const std::filesystem::path& path) override;
    std::optional<std::string> ReadAll(const std::filesystem::path& path,
                                       std::size_t maxBytes) override;
    std::unique_ptr<WritableFile> OpenForWriting(const std::filesystem::path& path) override;
    bool CreateFolders(const std::filesystem::path& folder) override;
};

}  // namespace zq
