#include "ui/browser/EngineMemory.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zq {

namespace {

struct ProcessInfo {
    pid_t parent = 0;
    std::string name;
};

// Every process's parent and name, from /proc/PID/stat.
std::map<pid_t, ProcessInfo> Processes() {
    std::map<pid_t, ProcessInfo> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        ProcessInfo info;
        info.name = line.substr(open + 1, close - open - 1);
        rest >> state >> info.parent;
        processes[static_cast<pid_t>(std::stol(name))] = info;
    }
    return processes;
}

std::vector<pid_t> Descendants(const std::map<pid_t, ProcessInfo>& processes) {
    std::vector<pid_t> found{::getpid()};
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (const auto& [pid, info] : processes) {
            if (info.parent == found[i]) found.push_back(pid);
        }
    }
    found.erase(found.begin());
    return found;
}

std::size_t ResidentBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

}  // namespace

std::size_t EngineResidentBytes() {
    std::size_t total = 0;
    for (const pid_t pid : Descendants(Processes())) total += ResidentBytes(pid);
    return total;
}

void EndNetworkProcess() {
    const auto processes = Processes();
    for (const pid_t pid : Descendants(processes)) {
        // The kernel keeps the first 15 characters of a process's name.
        if (processes.at(pid).name.rfind("WebKitNetworkPr", 0) == 0) ::kill(pid, SIGKILL);
    }
}

}  // namespace zq
