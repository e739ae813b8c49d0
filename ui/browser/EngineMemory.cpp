#include "ui/browser/EngineMemory.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zq {

namespace {

// Every process below this one, from the children lists the kernel keeps for each thread
// (any of the engine's threads may have started a process).
std::vector<std::string> Descendants() {
    std::vector<std::string> found{std::to_string(::getpid())};
    for (std::size_t i = 0; i < found.size(); ++i) {
        std::error_code error;
        for (const auto& task : std::filesystem::directory_iterator("/proc/" + found[i] + "/task", error)) {
            std::ifstream children(task.path() / "children");
            for (std::string child; children >> child;) found.push_back(child);
        }
    }
    found.erase(found.begin());
    return found;
}

std::size_t ResidentBytes(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

}  // namespace

std::size_t EngineResidentBytes() {
    std::size_t total = 0;
    for (const std::string& pid : Descendants()) total += ResidentBytes(pid);
    return total;
}

void EndNetworkProcess() {
    for (const std::string& pid : Descendants()) {
        std::string name;
        std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
        // The kernel keeps the first 15 characters of a process's name.
        if (name.rfind("WebKitNetworkPr", 0) == 0) ::kill(std::stoi(pid), SIGKILL);
    }
}

}  // namespace zq
