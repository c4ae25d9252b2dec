#include "domain/Uuid.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace kivo {
namespace {

TEST(UuidTest, ParsesEitherCaseAndWritesUpperCase) {
    const auto lower = Uuid::parse("0f8fad5b-d9cb-469f-a165-70867728950e");
    const auto upper = Uuid::parse("0F8FAD5B-D9CB-469F-A165-70867728950E");
    ASSERT_TRUE(lower && upper);
    EXPECT_EQ(*lower, *upper);
    EXPECT_EQ(lower->toString(), "0F8FAD5B-D9CB-469F-A165-70867728950E");
}

TEST(UuidTest, RefusesOtherShapes) {
    for (const char* text :
         {"", "0f8fad5b-d9cb-469f-a165-70867728950", "0f8fad5bd9cb469fa16570867728950e",
          "0f8fad5b-d9cb-469f-a165-70867728950g", "{0f8fad5b-d9cb-469f-a165-70867728950e}",
          "0f8fad5b-d9cb-469f-a16570-867728950e", " 0f8fad5b-d9cb-469f-a165-70867728950e"}) {
        EXPECT_FALSE(Uuid::parse(text)) << text;
    }
}

TEST(UuidTest, RandomIdentifiersAreDistinctVersion4AndRoundTrip) {
    std::unordered_set<Uuid> seen;
    for (int i = 0; i < 200; ++i) {
        const Uuid id = Uuid::random();
        EXPECT_EQ(id.bytes()[6] >> 4, 4);
        EXPECT_EQ(Uuid::parse(id.toString()), id);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200u);
    const Uuid a = *Uuid::parse("00000000-0000-0000-0000-000000000001");
    const Uuid b = *Uuid::parse("00000000-0000-0000-0000-000000000002");
    EXPECT_LT(a, b);
}

} // namespace
} // namespace kivo
