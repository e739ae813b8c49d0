#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace zq {

// Keeps the web engine's processes (every process below this one: the network process,
// the web processes and the sandbox around them) under a memory limit, whatever a page
// does. A page's script can allocate a gigabyte a second while the main loop is busy, so
// the watch has a thread of its own, looks every few milliseconds, and ends the engine's
// processes itself: at the limit, or one step of the current growth before it.
class EngineMemoryWatch {
public:
    explicit EngineMemoryWatch(std::size_t limitBytes);
    ~EngineMemoryWatch();

    EngineMemoryWatch(const EngineMemoryWatch&) = delete;
    EngineMemoryWatch& operator=(const EngineMemoryWatch&) = delete;

    // True once the limit was reached and the engine's processes were ended. The watch
    // stops there: what the program shows next is its own.
    bool Cut() const { return cut_; }

    // A descriptor that becomes readable when the engine was cut, for the window's event
    // loop to wait on instead of asking again and again.
    int CutSignal() const { return cutSignal_; }

    // What the engine's processes held together at the last look.
    std::size_t Resident() const { return resident_; }

    // A page is on its way, perhaps in a new process: the next look lists them again.
    void PageComing() { relist_ = true; }

private:
    void Run();

    const std::size_t limit_;
    const int cutSignal_;
    std::atomic<bool> cut_ = false;
    std::atomic<bool> relist_ = false;
    std::atomic<std::size_t> resident_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace zq
