#include "app/SettingLocation.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace zq {

std::filesystem::path SettingFileLocation() {
#ifdef _WIN32
    return std::filesystem::path(L"C:\\setting.cfg");
#else
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/') {
        return {};
    }
    return std::filesystem::path(found->pw_dir) / "setting.cfg";
#endif
}

}  // namespace zq
