#include "ui/browser/webkit/EngineLiveness.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using namespace std::chrono_literals;
using Verdict = EngineLiveness::Verdict;

constexpr std::size_t kMB = 1024 * 1024;

// The engine `seconds` after the question, having used `cpu` of its own time since and
// holding `mb` megabytes.
EngineLiveness::Reading After(double seconds, double cpu, std::size_t mb = 200) {
    const EngineLiveness::Clock::time_point asked{};
    return {asked + std::chrono::duration_cast<EngineLiveness::Clock::duration>(std::chrono::duration<double>(seconds)),
            std::chrono::duration<double>(cpu), mb * kMB};
}

EngineLiveness AskedAtZero() {
    EngineLiveness liveness;
    liveness.Asked(After(0, 0));
    return liveness;
}

TEST(EngineLiveness, ASlowPageIsWaitedForWhateverTheMachinesSpeed) {
    const EngineLiveness liveness = AskedAtZero();
    EXPECT_EQ(liveness.Judge(After(2, 2)), Verdict::Waiting);    // 2 s of script on a free core
    EXPECT_EQ(liveness.Judge(After(8, 2)), Verdict::Waiting);    // the same on a machine four times slower
    EXPECT_EQ(liveness.Judge(After(29, 9.5)), Verdict::Waiting);  // nearly 10 s of work, however long it took

    EngineLiveness answered = AskedAtZero();
    answered.Answered();
    EXPECT_EQ(answered.Judge(After(100, 100)), Verdict::Answering);
}

TEST(EngineLiveness, APageThatNeverYieldsIsStuckByItsWorkOrAtLastByTheClock) {
    const EngineLiveness liveness = AskedAtZero();
    EXPECT_EQ(liveness.Judge(After(10, 10)), Verdict::Stuck);  // a free core: 10 s of spinning
    EXPECT_EQ(liveness.Judge(After(30, 7.5)), Verdict::Stuck);  // a quarter of a core: the clock's limit
    EXPECT_EQ(liveness.Judge(After(30, 0)), Verdict::Stuck);    // blocked, not running at all
}

// The words do not depend on which rule, memory or liveness, comes first.
TEST(EngineLiveness, AStuckPageThatGrowsIsFillingMemoryAtAnySpeed) {
    const EngineLiveness liveness = AskedAtZero();
    EXPECT_EQ(liveness.Judge(After(10, 10, 200 + 65)), Verdict::FillingMemory);
    EXPECT_EQ(liveness.Judge(After(30, 7.5, 200 + 65)), Verdict::FillingMemory);
    EXPECT_EQ(liveness.Judge(After(10, 10, 200 + 63)), Verdict::Stuck);  // what any page holds as it settles
}

}  // namespace
}  // namespace zq
