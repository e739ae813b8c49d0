#include "ui/browser/EngineMemory.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zq {

namespace {

using namespace std::chrono_literals;

// Each look reads a few small files; at this pace the watch costs well under 1 % of a core.
constexpr auto kLookInterval = 10ms;
// The engine starts and ends processes rarely: the list of them is read again less often.
constexpr int kLooksPerProcessList = 5;

// Every process below this one, from the children lists the kernel keeps for each thread
// (any of the engine's threads may have started a process).
std::vector<pid_t> Descendants() {
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

// The second field of statm: resident pages. One short read, no parsing of status.
std::size_t ResidentBytes(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/statm";
    std::FILE* statm = std::fopen(path.c_str(), "re");
    if (!statm) return 0;
    unsigned long size = 0, resident = 0;
    const bool read = std::fscanf(statm, "%lu %lu", &size, &resident) == 2;
    std::fclose(statm);
    return read ? resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

}  // namespace

EngineMemoryWatch::EngineMemoryWatch(std::size_t limitBytes) : limit_(limitBytes), thread_([this] { Run(); }) {}

EngineMemoryWatch::~EngineMemoryWatch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void EngineMemoryWatch::Run() {
    std::vector<pid_t> engine;
    std::size_t previous = 0;
    std::size_t growth = 0;
    std::unique_lock lock(mutex_);
    for (int look = 0; !wake_.wait_for(lock, kLookInterval, [this] { return stopping_; }); ++look) {
        const bool listed = look % kLooksPerProcessList == 0;
        if (listed) engine = Descendants();
        std::size_t total = 0;
        for (const pid_t pid : engine) total += ResidentBytes(pid);
        // Across a new list the last step's growth stands: a new process's start is no growth.
        if (!listed) growth = total > previous ? total - previous : 0;
        previous = total;
        // Cut where the next look would be past the limit, so that even the fastest page
        // ends below it.
        if (total + growth < limit_) continue;
        cut_ = true;  // before the engine can report its processes' end
        for (const pid_t pid : Descendants()) ::kill(pid, SIGKILL);
        return;
    }
}

}  // namespace zq
