#include "app/brightness/FakeBrightnessBackend.h"

#include "app/brightness/BrightnessWriteQueue.h"
#include "core/ManualClock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using namespace std::chrono_literals;
using Sets = std::vector<test::FakeBrightnessBackend::Set>;

struct QueueRig {
    ManualClock clock;
    std::shared_ptr<test::FakeBrightnessBackend> backend = std::make_shared<test::FakeBrightnessBackend>();
    BrightnessWriteQueue queue{backend, clock};

    bool settle() {
        return test::waitUntil([&] { return queue.isIdle(); });
    }
};

TEST(BrightnessWriteQueueTest, WhileASetRunsOnlyTheLatestLevelFollows) {
    QueueRig rig;
    rig.backend->hold(1);
    rig.queue.setBrightness(1, 0.1f);
    ASSERT_TRUE(test::waitUntil([&] { return rig.backend->started() == 1; }));
    for (float level : {0.2f, 0.3f, 0.4f}) {
        rig.queue.setBrightness(1, level);
    }
    rig.backend->release(1);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.backend->sets(), (Sets{{1, 0.1f}, {1, 0.4f}}));
}

TEST(BrightnessWriteQueueTest, AStuckDisplayHoldsUpOnlyItselfAndItsLatestLevelLandsLast) {
    struct Case {
        const char* name;
        std::vector<float> beforeDeadline; // asked while the stuck set still counts as running
        std::vector<float> afterDeadline;  // asked once it was given up
        Sets expected;                     // display 1's sets, in order
    };
    const Case cases[] = {
        {"nothing newer", {}, {}, {{1, 0.1f}}},
        {"one newer level", {}, {0.5f}, {{1, 0.1f}, {1, 0.5f}}},
        {"newer levels merge", {}, {0.5f, 0.6f, 0.7f}, {{1, 0.1f}, {1, 0.7f}}},
        {"asked on both sides of the deadline", {0.2f, 0.3f}, {0.8f}, {{1, 0.1f}, {1, 0.8f}}},
        {"asked only before the deadline", {0.2f, 0.3f}, {}, {{1, 0.1f}, {1, 0.3f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QueueRig rig;
        rig.backend->hold(1);
        rig.queue.setBrightness(1, 0.1f);
        rig.queue.setBrightness(2, 0.2f);
        ASSERT_TRUE(test::waitUntil([&] {
            return rig.backend->sets() == Sets{{2, 0.2f}} && rig.backend->started() == 2;
        }));
        for (float level : c.beforeDeadline) {
            rig.queue.setBrightness(1, level);
        }
        EXPECT_FALSE(rig.queue.isIdle());

        // Past the deadline the stuck set is given up: the queue counts as idle while it stays stuck.
        rig.clock.advance(BrightnessWriteQueue::kDeadline);
        EXPECT_TRUE(rig.queue.isIdle());
        for (float level : c.afterDeadline) {
            rig.queue.setBrightness(1, level);
        }
        EXPECT_TRUE(rig.queue.isIdle());
        EXPECT_EQ(rig.backend->started(), 2);

        const auto display1 = [&] {
            Sets sets;
            for (const auto& set : rig.backend->sets()) {
                if (set.first == 1) {
                    sets.push_back(set);
                }
            }
            return sets;
        };
        rig.backend->release(1);
        EXPECT_TRUE(test::waitUntil([&] { return display1() == c.expected; }));

        // Once the call has returned the display takes levels again, and nothing stale follows.
        rig.queue.setBrightness(1, 0.9f);
        ASSERT_TRUE(test::waitUntil([&] { return display1().back().second == 0.9f && rig.queue.isIdle(); }));
        auto expected = c.expected;
        expected.emplace_back(1, 0.9f);
        EXPECT_EQ(display1(), expected);
    }
}

TEST(BrightnessWriteQueueTest, AFailingDisplayDoesNotStopTheOthers) {
    QueueRig rig;
    rig.backend->setFailing(1);
    rig.queue.setBrightness(1, 0.3f);
    rig.queue.setBrightness(2, 0.3f);
    ASSERT_TRUE(rig.settle());
    rig.queue.setBrightness(1, 0.7f);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.backend->sets().size(), 3u);
}

} // namespace
} // namespace kivo
