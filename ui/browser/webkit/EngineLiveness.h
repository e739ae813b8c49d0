#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace zq {

// Whether the web process still answers, judged by what it does rather than by the clock
// alone. The program asks it a trivial question now and then. While an answer is due, a
// process that works hard without answering is stuck, as browsers judge a slow script; one
// that hardly runs (starved on a slow or busy machine, or blocked) is given far longer, as
// browsers allow a renderer. A process that is stuck while its memory grows is filling
// memory: it gets the memory bound's words, whichever of the two rules ends it.
class EngineLiveness {
public:
    using Clock = std::chrono::steady_clock;

    // Of its own processor time, what a page's script may take without answering.
    static constexpr std::chrono::seconds kBusyLimit{10};
    // Of the clock, what a process that hardly ran may take without answering.
    static constexpr std::chrono::seconds kWaitLimit{30};
    // Growth while not answering that means a page is filling memory, not merely stuck.
    static constexpr std::size_t kFillingGrowthBytes = 64u * 1024 * 1024;

    // What is known of the engine at one moment.
    struct Reading {
        Clock::time_point at;
        std::chrono::duration<double> cpu;  // the web process's own time, so far
        std::size_t residentBytes = 0;      // the engine's processes together
    };

    enum class Verdict { Answering, Waiting, Stuck, FillingMemory };

    void Asked(const Reading& now) { question_ = now; }
    void Answered() { question_.reset(); }
    bool AnswerDue() const { return question_.has_value(); }

    Verdict Judge(const Reading& now) const {
        if (!question_) return Verdict::Answering;
        const bool busyTooLong = now.cpu - question_->cpu >= kBusyLimit;
        const bool waitedTooLong = now.at - question_->at >= kWaitLimit;
        if (!busyTooLong && !waitedTooLong) return Verdict::Waiting;
        return now.residentBytes > question_->residentBytes + kFillingGrowthBytes ? Verdict::FillingMemory
                                                                                  : Verdict::Stuck;
    }

private:
    std::optional<Reading> question_;  // when the unanswered question went out
};

}  // namespace zq
