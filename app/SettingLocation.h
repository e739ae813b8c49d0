#pragma once

#include <filesystem>

namespace zq {

// Where the program keeps its setting file: "C:\setting.cfg" on Windows; elsewhere
// setting.cfg in the user's home folder as the password database gives it (the program
// reads no environment variables). Empty when the user has no home folder.
std::filesystem::path SettingFileLocation();

}  // namespace zq
