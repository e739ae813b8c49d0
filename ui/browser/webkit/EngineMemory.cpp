#include "ui/browser/webkit/EngineMemory.h"

#include "ui/browser/webkit/EngineProcesses.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace zq {

namespace {

using namespace std::chrono_literals;

using Clock = std::chrono::steady_clock;

// Looks come closer together as the engine nears its limit: never further apart than the
// time the fastest page takes to fill the room left (what four threads filling arrays
// reach on a desktop machine), nor closer than the shortest interval. A page that starts
// at that pace just after a look is cut at the limit, the engine's processes then holding
// at most the limit itself.
constexpr double kFastestGrowthBytesPerSecond = 4e9;
constexpr auto kShortestInterval = 10ms;
constexpr auto kLongestInterval = 100ms;
// The engine starts processes rarely, and for a new page (which the program is told of):
// otherwise the list of them is read again only once a second.
constexpr auto kProcessListInterval = 1000ms;

// A process's statm, kept open: each look is one read from its start, which the kernel
// answers afresh.
class Statm {
public:
    explicit Statm(pid_t pid) : fd_(::open(("/proc/" + std::to_string(pid) + "/statm").c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~Statm() {
        if (fd_ >= 0) ::close(fd_);
    }
    Statm(Statm&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Statm(const Statm&) = delete;
    Statm& operator=(const Statm&) = delete;
    Statm& operator=(Statm&&) = delete;

    // The second field: resident pages.
    std::size_t ResidentBytes() const {
        char text[128];
        const ssize_t length = fd_ < 0 ? -1 : ::pread(fd_, text, sizeof text - 1, 0);
        if (length <= 0) return 0;
        text[length] = '\0';
        char* rest = nullptr;
        std::strtoul(text, &rest, 10);
        return std::strtoul(rest, nullptr, 10) * kPageSize;
    }

private:
    static inline const std::size_t kPageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    int fd_;
};

}  // namespace

EngineMemoryWatch::EngineMemoryWatch(std::size_t limitBytes)
    : limit_(limitBytes), cutSignal_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), thread_([this] { Run(); }) {}

EngineMemoryWatch::~EngineMemoryWatch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    if (cutSignal_ >= 0) ::close(cutSignal_);
}

void EngineMemoryWatch::Run() {
    std::vector<Statm> engine;
    Clock::time_point listedAt, previousAt;
    std::size_t previous = 0;
    double growth = 0;  // bytes a second, at the last look
    Clock::duration interval = kShortestInterval;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, interval, [this] { return stopping_; })) {
        const Clock::time_point now = Clock::now();
        const bool listed = relist_.exchange(false) || engine.empty() || now - listedAt >= kProcessListInterval;
        if (listed) {
            engine.clear();
            for (const pid_t pid : EngineProcesses()) engine.emplace_back(pid);
            listedAt = now;
        }
        std::size_t total = 0;
        for (const Statm& process : engine) total += process.ResidentBytes();
        // Across a new list the last growth stands: a new process's start is no growth.
        if (!listed) {
            const double seconds = std::chrono::duration<double>(now - previousAt).count();
            growth = total > previous && seconds > 0 ? (total - previous) / seconds : 0;
        }
        previous = total;
        previousAt = now;
        resident_ = total;
        // Cut where the next look would be past the limit, so that the page ends below it.
        const double room = total < limit_ ? double(limit_ - total) : 0;
        const auto shortest = std::chrono::duration<double>(kShortestInterval).count();
        if (room > growth * shortest) {
            const double seconds = room / std::max(growth, kFastestGrowthBytesPerSecond);
            interval = std::clamp(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)),
                                  Clock::duration(kShortestInterval), Clock::duration(kLongestInterval));
            continue;
        }
        cut_ = true;  // before the engine can report its processes' end
        for (const pid_t pid : EngineProcesses()) ::kill(pid, SIGKILL);
        // Wakes the window's loop, which shows why the page went.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = cutSignal_ >= 0 ? ::write(cutSignal_, &one, sizeof one) : 0;
        return;
    }
}

}  // namespace zq
