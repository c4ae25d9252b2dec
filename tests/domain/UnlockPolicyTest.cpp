#include "domain/UnlockPolicy.h"
#include "TestJson.h"
#include "domain/BackoffRecord.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace kivo {
namespace {

using test::json;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(UnlockPolicyTest, BackoffWaitSeconds) {
    struct Case {
        std::int64_t base, count, wait;
    };
    const std::vector<Case> cases = {
        {5, 0, 5},
        {5, 1, 10},
        {5, 2, 20},
        {5, 3, 40},
        {5, 4, 60},
        {5, 50, 60},
        {10, 3, 60},
        {10, 100, 60},
        {1, 20, 60},
        {1, 5, 32},
        {60, 0, 60},
        {1000, 0, 60},
        {0, 30, 0},
        {7, -1, 0},
        {kMax, -1, 0},
        {-3, 2, -12},
        {kMax, 0, 60},
        {kMax, 21, 60},
        {kMax, kMax, 60},
        {8796093022208, 20, 60},
        {kMin, 0, kMin},
        {kMin, 5, kMin},
        {-8796093022209, 20, kMin},
        {1, kMin, 0},
    };
    for (const auto& c : cases) {
        const BackoffRecord record{Uuid(), c.count, std::nullopt};
        EXPECT_EQ(record.waitSeconds(c.base), c.wait) << "base " << c.base << " count " << c.count;
    }
}

TEST(UnlockPolicyTest, PolicyWaitIsNeverNegative) {
    struct Case {
        UnlockPolicy policy;
        std::int64_t count, wait;
    };
    const std::vector<Case> cases = {
        {UnlockPolicy::instant(), 0, 0},
        {UnlockPolicy::instant(), 99, 0},
        {UnlockPolicy::waitToUnlock(30), 7, 30},
        {UnlockPolicy::waitToUnlock(-5), 0, 0},
        {UnlockPolicy::waitToUnlock(kMax), 0, kMax},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::never()), 2, 20},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(1)), 9, 60},
        {UnlockPolicy::waitWithBackoff(-5, ResetInterval::never()), 2, 0},
        {UnlockPolicy::waitWithBackoff(kMin, ResetInterval::never()), kMax, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.policy.waitSeconds(c.count), c.wait);
    }
}

TEST(UnlockPolicyTest, ShouldReset) {
    const Date last{1000};
    const BackoffRecord record{Uuid::random(), 3, last};
    struct Case {
        BackoffRecord record;
        ResetInterval interval;
        double elapsed;
        bool reset;
    };
    const BackoffRecord undated{record.groupId, 3, std::nullopt};
    const std::vector<Case> cases = {
        {undated, ResetInterval::hours(0), 1e9, false},
        {undated, ResetInterval::never(), 1e9, false},
        {record, ResetInterval::never(), 1e12, false},
        {record, ResetInterval::hours(6), 6 * 3600 - 1, false},
        {record, ResetInterval::hours(6), 6 * 3600, true},
        {record, ResetInterval::hours(6), 6 * 3600 + 1, true},
        {record, ResetInterval::hours(6), -10, false},
        {record, ResetInterval::hours(0), 0, true},
        {record, ResetInterval::hours(kMax), 1e15, false},
        {record, ResetInterval::hours(kMin), -1e15, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.record.shouldReset(c.interval, last.addingSeconds(c.elapsed)), c.reset) << c.elapsed;
    }
}

TEST(UnlockPolicyTest, RecordOperationsKeepTheGroupAndSaturate) {
    const Uuid group = Uuid::random();
    const BackoffRecord fresh = BackoffRecord::fresh(group);
    const BackoffRecord once = fresh.recordingUnlock(Date{42});
    EXPECT_EQ(once, (BackoffRecord{group, 1, Date{42}}));
    EXPECT_EQ(fresh.unlockCount, 0) << "the receiver is unchanged";
    EXPECT_EQ(once.reset(), fresh);
    const BackoffRecord full{group, kMax, Date{1}};
    EXPECT_EQ(full.recordingUnlock(Date{2}).unlockCount, kMax);
    EXPECT_EQ((BackoffRecord{group, -4, std::nullopt}).recordingUnlock(Date{0}).unlockCount, -3);
}

TEST(UnlockPolicyTest, StoredFormsRoundTrip) {
    const std::vector<UnlockPolicy> policies = {
        UnlockPolicy::instant(),
        UnlockPolicy::waitToUnlock(30),
        UnlockPolicy::waitToUnlock(kMin),
        UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)),
        UnlockPolicy::waitWithBackoff(kMax, ResetInterval::never()),
    };
    for (const auto& policy : policies) {
        const auto back = test::throughText(policy);
        ASSERT_TRUE(back.ok()) << back.error();
        EXPECT_EQ(back.value(), policy);
    }
    EXPECT_NE(UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)),
              UnlockPolicy::waitWithBackoff(5, ResetInterval::never()));
    EXPECT_NE(UnlockPolicy::waitToUnlock(0), UnlockPolicy::instant());
    EXPECT_EQ(UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)).toJson(),
              json(R"({"waitWithBackoff":{"baseSeconds":5,"resetInterval":{"hours":{"_0":6}}}})"));

    const std::vector<BackoffRecord> records = {
        BackoffRecord::fresh(Uuid::random()),
        BackoffRecord{Uuid::random(), 7, Date{123456.789}},
        BackoffRecord{Uuid::random(), kMax, Date{-1.5}},
    };
    for (const auto& record : records) {
        const auto back = test::throughText(record);
        ASSERT_TRUE(back.ok()) << back.error();
        EXPECT_EQ(back.value(), record);
    }
    EXPECT_FALSE(records[0].toJson().contains("lastUnlockDate"));
}

TEST(UnlockPolicyTest, DecodingIsStrict) {
    struct Case {
        std::string text;
        bool ok;
    };
    const std::vector<Case> policies = {
        {R"({"instant":{"whatever":1}})", true},
        {R"({"waitToUnlock":{"seconds":30},"note":"x"})", true},
        {R"({"waitToUnlock":{"seconds":30.0}})", true},
        {R"({"waitToUnlock":{"seconds":30.5}})", false},
        {R"({"waitToUnlock":{"seconds":"30"}})", false},
        {R"({"waitToUnlock":{}})", false},
        {R"({"waitWithBackoff":{"baseSeconds":5}})", false},
        {R"({"waitWithBackoff":{"baseSeconds":5,"resetInterval":{}}})", false},
        {R"({"waitWithBackoff":{"baseSeconds":5,"resetInterval":{"hours":{"_0":1e30}}}})", false},
        {R"({"waitWithBackoff":{"baseSeconds":5,"resetInterval":{"never":{}}}})", true},
        {R"({"instant":{},"waitToUnlock":{"seconds":1}})", false},
        {R"({})", false},
        {R"({"instant":null})", false},
    };
    for (const auto& c : policies) {
        const auto r = UnlockPolicy::fromJson(json(c.text));
        EXPECT_EQ(r.ok(), c.ok) << c.text << " -> " << r.error();
    }
    EXPECT_EQ(UnlockPolicy::fromJson(json("{}")).error(), "Invalid number of keys found, expected one.");
    EXPECT_EQ(UnlockPolicy::fromJson(json(R"({"instant":{},"waitToUnlock":{"seconds":1}})")).error(),
              "Invalid number of keys found, expected one.");
    EXPECT_EQ(ResetInterval::fromJson(json(R"({"hours":{"_0":1},"never":{}})")).error(),
              "Invalid number of keys found, expected one.");

    const std::string id = "\"groupId\":\"0f8fad5b-d9cb-469f-a165-70867728950e\"";
    const std::vector<Case> records = {
        {"{" + id + ",\"unlockCount\":2}", true},
        {"{" + id + ",\"unlockCount\":2,\"lastUnlockDate\":null}", true},
        {"{" + id + ",\"unlockCount\":2,\"lastUnlockDate\":12.5}", true},
        {"{" + id + ",\"unlockCount\":2,\"lastUnlockDate\":\"yesterday\"}", false},
        {"{" + id + "}", false},
        {"{\"groupId\":\"nope\",\"unlockCount\":2}", false},
        {"{\"unlockCount\":2}", false},
    };
    for (const auto& c : records) {
        const auto r = BackoffRecord::fromJson(json(c.text));
        EXPECT_EQ(r.ok(), c.ok) << c.text << " -> " << r.error();
    }
}

} // namespace
} // namespace kivo
