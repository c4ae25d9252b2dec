#include "core/SerialWorker.h"
#include "core/ManualClock.h"
#include "core/QtTimerFactory.h"
#include "core/Threads.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <future>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace kivo {
namespace {

TEST(SerialWorkerTest, RunsJobsInOrderOffTheMainThreadAndReportsOnIt) {
    QtTimerFactory timers;
    SerialWorker worker("test", timers);
    const auto mainThread = std::this_thread::get_id();
    std::vector<int> results;
    std::vector<bool> onMain;
    for (int i = 0; i < 5; ++i) {
        worker.submit<int>(
            [i, mainThread] {
                EXPECT_NE(std::this_thread::get_id(), mainThread);
                return i * i;
            },
            5s,
            [&](std::optional<int> r) {
                results.push_back(r.value_or(-1));
                onMain.push_back(std::this_thread::get_id() == mainThread);
            });
    }
    ASSERT_TRUE(test::waitUntil([&] { return results.size() == 5; }));
    EXPECT_EQ(results, (std::vector<int>{0, 1, 4, 9, 16}));
    EXPECT_EQ(onMain, std::vector<bool>(5, true));
    EXPECT_TRUE(test::waitUntil([&] { return !worker.isBusy(); }));
}

TEST(SerialWorkerTest, JobsRunOnANamedThreadWithAnAlternateSignalStackOfItsOwn) {
    QtTimerFactory timers;
    SerialWorker worker("display-7", timers);
    stack_t mainStack{};
    sigaltstack(nullptr, &mainStack);
    std::optional<std::pair<stack_t, std::string>> seen;
    worker.submit<std::pair<stack_t, std::string>>(
        [] {
            stack_t stack{};
            sigaltstack(nullptr, &stack);
            return std::pair{stack, std::string(currentThreadName())};
        },
        5s, [&](auto result) { seen = result; });
    ASSERT_TRUE(test::waitUntil([&] { return seen.has_value(); }));
    EXPECT_FALSE(seen->first.ss_flags & SS_DISABLE) << "a stack overflow on it can still be recorded";
    EXPECT_NE(seen->first.ss_sp, mainStack.ss_sp);
    EXPECT_GE(seen->first.ss_size, 64u * 1024);
    EXPECT_EQ(seen->second, "display-7");
}

TEST(SerialWorkerTest, DeadlineReportsTimeOutWhileTheJobIsStuckAndDropsTheLateResult) {
    ManualClock clock;
    auto release = std::make_shared<std::promise<void>>();
    auto released = release->get_future().share();
    std::vector<std::optional<int>> reports;
    int idles = 0;
    {
        SerialWorker worker("stuck", clock);
        QObject::connect(&worker, &SerialWorker::idle, [&] { ++idles; });
        worker.submit<int>(
            [released] {
                released.wait();
                return 7;
            },
            5s, [&](std::optional<int> r) { reports.push_back(r); });
        clock.advance(4999ms);
        test::processEvents();
        EXPECT_TRUE(reports.empty());
        clock.advance(1ms);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_FALSE(reports[0].has_value());
        EXPECT_TRUE(worker.isBusy()); // still stuck: callers skip this resource
        EXPECT_EQ(idles, 0);

        release->set_value();
        // The late 7 never arrives, but the worker says it is free again.
        ASSERT_TRUE(test::waitUntil([&] { return idles == 1; }));
        EXPECT_FALSE(worker.isBusy());
        EXPECT_EQ(reports.size(), 1u);
    }
}

TEST(SerialWorkerTest, DestroyingTheWorkerWithAStuckJobDoesNotWait) {
    QtTimerFactory timers;
    auto release = std::make_shared<std::promise<void>>();
    auto released = release->get_future().share();
    std::atomic<bool> reported{false};
    {
        SerialWorker worker("gone", timers);
        worker.submitVoid([released] { released.wait(); }, 10s, [&](bool) { reported = true; });
        ASSERT_TRUE(test::waitUntil([&] { return worker.isBusy(); }));
    } // must return at once
    release->set_value();
    std::this_thread::sleep_for(20ms);
    test::processEvents();
    EXPECT_FALSE(reported);
}

} // namespace
} // namespace kivo
