#include "FakeBrightnessBackend.h"

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

TEST(BrightnessWriteQueueTest, AStuckDisplayHoldsUpOnlyItself) {
    QueueRig rig;
    rig.backend->hold(1);
    rig.queue.setBrightness(1, 0.1f);
    rig.queue.setBrightness(2, 0.2f);
    ASSERT_TRUE(test::waitUntil([&] { return rig.backend->sets() == Sets{{2, 0.2f}}; }));
    EXPECT_FALSE(rig.queue.isIdle());

    // Past the deadline the stuck set is given up; new levels for it are skipped until the call returns.
    rig.clock.advance(BrightnessWriteQueue::kDeadline);
    EXPECT_TRUE(rig.queue.isIdle());
    rig.queue.setBrightness(1, 0.5f);
    EXPECT_TRUE(rig.queue.isIdle());
    rig.backend->release(1);
    ASSERT_TRUE(test::waitUntil([&] { return rig.backend->sets().size() == 2; }));
    test::processEvents();

    rig.queue.setBrightness(1, 0.6f);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.backend->sets(), (Sets{{2, 0.2f}, {1, 0.1f}, {1, 0.6f}}));
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
