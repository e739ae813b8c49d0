#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

// A file opened for writing. Close() reports whether everything reached the disk;
// a file that was never closed explicitly is closed on destruction.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual bool Write(std::string_view bytes) = 0;
    virtual bool Close() = 0;
};

// The sequential file operations the setting file needs.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for a regular file, links followed; folders, devices and FIFOs count as absent.
    virtual bool IsRegularFile(const std::filesystem::path& path) = 0;

    // The whole content of a regular file, or nothing when it cannot be opened or read,
    // is not a regular file once opened, or holds more than maxBytes. Never blocks.
    virtual std::optional<std::string> ReadAll(const std::filesystem::path& path,
                                               std::size_t maxBytes) = 0;

    // A file created, or truncated to empty; nothing when it cannot be opened for writing.
    virtual std::unique_ptr<WritableFile> OpenForWriting(const std::filesystem::path& path) = 0;

    // The folder and any missing parents; true when the folder is there afterwards.
    virtual bool CreateFolders(const std::filesystem::path& folder) = 0;
};

}  // namespace zq
