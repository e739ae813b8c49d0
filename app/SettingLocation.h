#pragma once

#include <filesystem>
#include <optional>

namespace zq {

struct SettingLocation {
    std::filesystem::path path;
    std::optional<std::filesystem::path> fallback;  // where it goes when path cannot be created
};

// Where the program keeps its setting file. On Windows "C:\setting.cfg", or, where an
// ordinary user may not create files in the root of C:, setting.cfg in a "Zentra Quota"
// folder of the user's local application data. Elsewhere setting.cfg in the user's home
// folder as the password database gives it (the program reads no environment variables);
// an empty path when the user has no home folder.
SettingLocation SettingFileLocation();

}  // namespace zq
