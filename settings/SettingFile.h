#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace zq {

// The one-line file that remembers the subscriber number between runs. It holds three
// times the number in the print format; reading divides by 3 again.
class SettingFile {
public:
    // A valid file is under 20 bytes; anything past this bound is not ours.
    static constexpr std::size_t kMaxBytes = 4096;

    // The file lives at path. Where a fallback is given, a file that is not at path and
    // cannot be created there (a folder an ordinary user may not write to) is kept at the
    // fallback instead, its folder created as needed; a file at path always comes first.
    SettingFile(FileSystem& files, std::filesystem::path path,
                std::optional<std::filesystem::path> fallback = std::nullopt);

    bool SavedNumberExists() const;
    std::optional<std::string> ReadSavedNumber() const;
    // Failures are silent: a file that cannot be opened stays as it was, a text that is
    // not a number leaves the file empty.
    void WriteSavedNumber(std::string_view numberText) const;

    const std::filesystem::path& Path() const { return path_; }

private:
    const std::filesystem::path& ReadPath() const;

    FileSystem& files_;
    std::filesystem::path path_;
    std::optional<std::filesystem::path> fallback_;
};

// The content as read line by line: each line (ended by CR LF, CR or the end) given back
// with CR LF. A lone LF stays inside its line.
std::string JoinLinesWithCrLf(std::string_view content);

}  // namespace zq
