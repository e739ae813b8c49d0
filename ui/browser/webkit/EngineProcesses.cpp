#include "ui/browser/webkit/EngineProcesses.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zq {

std::vector<pid_t> EngineProcesses() {
    // From the children lists the kernel keeps for each thread: any of the engine's threads
    // may have started a process.
    std::vector<pid_t> found{::getpid()};
    for (std::size_t i = 0; i < found.size(); ++i) {
        std::error_code error;
        const std::string tasks = "/proc/" + std::to_string(found[i]) + "/task";
        for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
            std::ifstream children(task.path() / "children");
            for (pid_t child = 0; children >> child;) found.push_back(child);
        }
    }
    found.erase(found.begin());
    return found;
}

std::chrono::duration<double> WebProcessCpuTime() {
    static const double ticksPerSecond = static_cast<double>(::sysconf(_SC_CLK_TCK));
    double web = 0, all = 0;
    for (const pid_t pid : EngineProcesses()) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        // pid (name) state ... with utime and stime the 14th and 15th fields; the name may hold
        // spaces, so the fields are counted from its closing parenthesis.
        const auto open = line.find('('), close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        std::istringstream fields(line.substr(close + 2));
        std::string skipped;
        for (int field = 3; field < 14; ++field) fields >> skipped;
        unsigned long long user = 0, system = 0;
        fields >> user >> system;
        const double seconds = static_cast<double>(user + system) / ticksPerSecond;
        all += seconds;
        if (line.compare(open + 1, 13, "WebKitWebProc") == 0) web += seconds;
    }
    return std::chrono::duration<double>(web > 0 ? web : all);
}

}  // namespace zq
