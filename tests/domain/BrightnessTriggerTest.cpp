#include "domain/BrightnessTrigger.h"
#include "TestJson.h"
#include "domain/DayOfWeekGroups.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kivo {
namespace {

using test::json;

BrightnessTrigger trigger(std::int64_t minutes, std::map<std::string, double> levels = {}) {
    return BrightnessTrigger(Uuid::random(), "Evening", minutes, DaySet{DayOfWeek::monday, DayOfWeek::friday},
                             std::move(levels), true, true);
}

const char* kStored = R"({
    "id": "0b7c1a2e-9f4d-4c1b-8a55-3e2f1d0c9b8a",
    "name": "Morning",
    "timeMinutes": 330,
    "daysOfWeek": [2, 6, 2],
    "displayBrightness": {"Built-in Display": 0.75, "DELL U2720Q": 1},
    "isEnabled": true,
    "appliesOnWake": true,
    "colour": "ignored"
})";

TEST(BrightnessTriggerTest, EveryWayInClampsTheMinute) {
    struct Row {
        std::int64_t given;
        std::int64_t kept;
    };
    const Row rows[] = {{-5, 0},
                        {0, 0},
                        {1439, 1439},
                        {1440, 1439},
                        {5000, 1439},
                        {std::numeric_limits<std::int64_t>::min(), 0},
                        {std::numeric_limits<std::int64_t>::max(), 1439}};
    for (const Row& row : rows) {
        EXPECT_EQ(trigger(row.given).timeMinutes(), row.kept) << row.given;
        EXPECT_EQ(trigger(600).withTimeMinutes(row.given).timeMinutes(), row.kept) << row.given;
    }
    Json::Value stored = json(kStored);
    stored["timeMinutes"] = 2000;
    const Result<BrightnessTrigger> read = BrightnessTrigger::fromJson(stored);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read.value().timeMinutes(), 1439);
    EXPECT_EQ(read.value().toJson().value()["timeMinutes"], Json::Value(1439));
}

TEST(BrightnessTriggerTest, DerivedTimeValues) {
    struct Row {
        std::int64_t minutes;
        int hour;
        int minute;
        const char* text;
    };
    const Row rows[] = {
        {0, 0, 0, "00:00"}, {330, 5, 30, "05:30"}, {1170, 19, 30, "19:30"}, {1439, 23, 59, "23:59"}};
    for (const Row& row : rows) {
        const BrightnessTrigger t = trigger(row.minutes);
        EXPECT_EQ(t.hour(), row.hour);
        EXPECT_EQ(t.minute(), row.minute);
        EXPECT_EQ(t.formattedTime(), row.text);
    }
    EXPECT_FALSE(trigger(0).isEveryDay());
    EXPECT_TRUE(trigger(0).withDaysOfWeek(DayOfWeekGroups::allDays()).isEveryDay());
    EXPECT_FALSE(trigger(0).withDaysOfWeek({}).isEveryDay());
}

TEST(BrightnessTriggerTest, SeedsAreTwoDisabledDailyTriggers) {
    const std::vector<BrightnessTrigger> seeds = BrightnessTrigger::makeDefaults("日の出", "日の入り");
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[0].name(), "日の出");
    EXPECT_EQ(seeds[1].name(), "日の入り");
    EXPECT_EQ(seeds[0].timeMinutes(), 330);
    EXPECT_EQ(seeds[1].timeMinutes(), 1170);
    for (const BrightnessTrigger& seed : seeds) {
        EXPECT_TRUE(seed.isEveryDay());
        EXPECT_TRUE(seed.displayBrightness().empty());
        EXPECT_FALSE(seed.isEnabled());
        EXPECT_FALSE(seed.appliesOnWake());
    }
    EXPECT_NE(seeds[0].id(), seeds[1].id());
    EXPECT_NE(seeds[0].id(), BrightnessTrigger::makeDefaults("a", "b")[0].id());
}

TEST(BrightnessTriggerTest, CopyOperationsChangeOneFieldAndKeepTheIdentity) {
    const BrightnessTrigger base = trigger(600, {{"A", 0.5}});
    const BrightnessTrigger changed[] = {
        base.withName("Night"),
        base.withTimeMinutes(601),
        base.withDaysOfWeek({DayOfWeek::sunday}),
        base.withDisplayBrightness({{"A", 0.25}}),
        base.withIsEnabled(false),
        base.withAppliesOnWake(false),
    };
    for (const BrightnessTrigger& t : changed) {
        EXPECT_EQ(t.id(), base.id());
        EXPECT_FALSE(t == base);
    }
    EXPECT_EQ(changed[0].name(), "Night");
    EXPECT_EQ(changed[0].timeMinutes(), 600);
    EXPECT_EQ(changed[3].displayBrightness().at("A"), 0.25);
    EXPECT_EQ(base.displayBrightness().at("A"), 0.5) << "the receiver stays as it was";
}

TEST(BrightnessTriggerTest, EqualityIsFieldByField) {
    const BrightnessTrigger base = trigger(600, {{"A", 0.5}});
    EXPECT_TRUE(base == base.withName("Evening"));
    // Canonically equivalent names ("é" precomposed and decomposed) are the same name.
    EXPECT_TRUE(base.withName("Caf\xC3\xA9") == base.withName("Cafe\xCC\x81"));
    EXPECT_FALSE(base == base.withDisplayBrightness({{"A", 0.5}, {"B", 0.5}}));
    EXPECT_FALSE(base == base.withDisplayBrightness({{"B", 0.5}}));
    EXPECT_TRUE(base.withDisplayBrightness({{"\xC3\x89"
                                             "cran",
                                             0.5}}) == base.withDisplayBrightness({{"E\xCC\x81"
                                                                                    "cran",
                                                                                    0.5}}));
    // Two spellings of one display name on one side must not hide a display only the other side has.
    const std::string precomposed = std::string("\xC3\x89") + "cran";
    const std::string decomposed = std::string("E\xCC\x81") + "cran";
    const BrightnessTrigger twoSpellings =
        base.withDisplayBrightness({{precomposed, 0.5}, {decomposed, 0.5}});
    const BrightnessTrigger otherDisplay = base.withDisplayBrightness({{precomposed, 0.5}, {"B", 0.5}});
    EXPECT_FALSE(twoSpellings == otherDisplay);
    EXPECT_FALSE(otherDisplay == twoSpellings);
    const BrightnessTrigger withNaN = base.withDisplayBrightness({{"A", std::nan("")}});
    EXPECT_FALSE(withNaN == withNaN) << "a level that is not a number equals nothing";
    EXPECT_FALSE(base == BrightnessTrigger(Uuid::random(), base.name(), 600, base.daysOfWeek(),
                                           base.displayBrightness(), true, true));
}

TEST(BrightnessTriggerTest, StoredFormRoundTrips) {
    const Result<BrightnessTrigger> read = BrightnessTrigger::fromJson(json(kStored));
    ASSERT_TRUE(read.ok()) << read.error();
    const BrightnessTrigger& t = read.value();
    EXPECT_EQ(t.id().toString(), "0B7C1A2E-9F4D-4C1B-8A55-3E2F1D0C9B8A");
    EXPECT_EQ(t.daysOfWeek(), (DaySet{DayOfWeek::monday, DayOfWeek::friday}));
    EXPECT_EQ(t.displayBrightness().at("DELL U2720Q"), 1.0);
    EXPECT_TRUE(t.appliesOnWake());

    const Result<Json::Value> written = t.toJson();
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value()["id"], Json::Value("0B7C1A2E-9F4D-4C1B-8A55-3E2F1D0C9B8A"));
    EXPECT_FALSE(written.value().contains("colour"));
    const Result<BrightnessTrigger> again = BrightnessTrigger::fromJson(written.value());
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), t);

    // An empty map is written as {} and read back.
    const Result<Json::Value> empty = t.withDisplayBrightness({}).toJson();
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty.value()["displayBrightness"], Json::Value::object());
}

TEST(BrightnessTriggerTest, ReadingIsStrict) {
    struct Row {
        const char* what;
        const char* key;
        std::optional<Json::Value> value; // none: the key is removed
        bool ok;
    };
    const Row rows[] = {
        {"appliesOnWake absent", "appliesOnWake", std::nullopt, true},
        {"appliesOnWake null", "appliesOnWake", Json::Value(nullptr), true},
        {"appliesOnWake not a bool", "appliesOnWake", Json::Value(1), false},
        {"displayBrightness absent", "displayBrightness", std::nullopt, false},
        {"displayBrightness null", "displayBrightness", Json::Value(nullptr), false},
        {"displayBrightness a list", "displayBrightness", Json::Value::array({0.5}), false},
        {"a level as text", "displayBrightness", json(R"({"A": "0.5"})"), false},
        {"fractional minute", "timeMinutes", Json::Value(330.5), false},
        {"integral real minute", "timeMinutes", Json::Value(330.0), true},
        {"minute as text", "timeMinutes", Json::Value("330"), false},
        {"day out of range", "daysOfWeek", Json::Value::array({0}), false},
        {"name absent", "name", std::nullopt, false},
        {"isEnabled as number", "isEnabled", Json::Value(1), false},
        {"lower-case id", "id", Json::Value("0b7c1a2e-9f4d-4c1b-8a55-3e2f1d0c9b8a"), true},
        {"malformed id", "id", Json::Value("0b7c1a2e"), false},
    };
    for (const Row& row : rows) {
        Json::Value stored = json(kStored);
        if (row.value) {
            stored[row.key] = *row.value;
        } else {
            stored.erase(row.key);
        }
        const Result<BrightnessTrigger> read = BrightnessTrigger::fromJson(stored);
        EXPECT_EQ(read.ok(), row.ok) << row.what << ": " << read.error();
        if (read.ok() && std::string(row.key) == "appliesOnWake") {
            EXPECT_FALSE(read.value().appliesOnWake()) << row.what;
            EXPECT_EQ(read.value().toJson().value()["appliesOnWake"], Json::Value(false)) << "written back";
        }
    }
}

TEST(BrightnessTriggerTest, ALevelThatIsNotFiniteFailsTheWriteAndNeverBecomesNull) {
    const double levels[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double level : levels) {
        const BrightnessTrigger bad = trigger(600, {{"A", 0.5}, {"B", level}});
        EXPECT_FALSE(bad.toJson().ok()) << level;
        const Result<Json::Value> list = BrightnessTrigger::encodeList({trigger(300), bad});
        EXPECT_FALSE(list.ok()) << level;
        EXPECT_NE(list.error().find("[1]"), std::string::npos) << list.error();
    }
    // Text that is not UTF-8 has no JSON form either.
    EXPECT_FALSE(trigger(600).withName("\xFF\xFE").toJson().ok());
    EXPECT_FALSE(trigger(600, {{"\xC3", 0.5}}).toJson().ok());
    // Levels outside 0-1 are kept as given; the back end clamps.
    EXPECT_TRUE(trigger(600, {{"A", 1.5}, {"B", -0.25}}).toJson().ok());
}

TEST(BrightnessTriggerTest, OneBadElementFailsTheStoredList) {
    const Result<Json::Value> list = BrightnessTrigger::encodeList(BrightnessTrigger::makeDefaults("a", "b"));
    ASSERT_TRUE(list.ok());
    const Result<std::vector<BrightnessTrigger>> back = BrightnessTrigger::decodeList(list.value());
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().size(), 2u);

    Json::Value broken = list.value();
    broken[1].erase("displayBrightness");
    EXPECT_FALSE(BrightnessTrigger::decodeList(broken).ok());
    EXPECT_FALSE(BrightnessTrigger::decodeList(Json::Value::object()).ok());
    ASSERT_TRUE(BrightnessTrigger::decodeList(Json::Value::array()).ok());
    EXPECT_TRUE(BrightnessTrigger::decodeList(Json::Value::array()).value().empty());
}

} // namespace
} // namespace kivo
