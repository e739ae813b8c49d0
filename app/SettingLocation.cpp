#include "app/SettingLocation.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace zq {

#ifdef _WIN32

namespace {

std::optional<std::filesystem::path> LocalApplicationData() {
    PWSTR folder = nullptr;
    std::optional<std::filesystem::path> found;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        found = std::filesystem::path(folder);
    }
    ::CoTaskMemFree(folder);
    return found;
}

}  // namespace

SettingLocation SettingFileLocation() {
    SettingLocation location{std::filesystem::path(L"C:\\setting.cfg"), std::nullopt};
    if (const auto own = LocalApplicationData()) location.fallback = *own / L"Zentra Quota" / L"setting.cfg";
    return location;
}

#else

SettingLocation SettingFileLocation() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/') {
        return {};
    }
    return {std::filesystem::path(found->pw_dir) / "setting.cfg", std::nullopt};
}

#endif

}  // namespace zq
