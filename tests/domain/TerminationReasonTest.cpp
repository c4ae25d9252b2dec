#include "TestJson.h"
#include "domain/AppleEventReasonMapper.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

using test::json;
namespace Mapper = AppleEventReasonMapper;

TEST(TerminationReasonTest, MapsQuitReasonCodes) {
    EXPECT_EQ(Mapper::logOutCode, 0x6C6F676Fu); // 'logo'
    struct Case {
        std::optional<std::uint32_t> code;
        TerminationReason reason;
    };
    const std::vector<Case> cases = {
        {std::nullopt, TerminationReason::userInitiated},
        {0, TerminationReason::userInitiated},
        {Mapper::fourCharCode("quit"), TerminationReason::userInitiated},
        {0xFFFFFFFFu, TerminationReason::userInitiated},
        {Mapper::fourCharCode("logo"), TerminationReason::logOut},
        {Mapper::fourCharCode("rlgo"), TerminationReason::logOut},
        {Mapper::fourCharCode("rest"), TerminationReason::restart},
        {Mapper::fourCharCode("rrst"), TerminationReason::restart},
        {Mapper::fourCharCode("shut"), TerminationReason::shutdown},
        {Mapper::fourCharCode("rsdn"), TerminationReason::shutdown},
        {Mapper::fourCharCode("ogol"), TerminationReason::userInitiated},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Mapper::terminationReason(c.code), c.reason);
    }
}

TEST(TerminationReasonTest, TextAndStoredForm) {
    const std::vector<std::pair<TerminationReason, std::string>> names = {
        {TerminationReason::userInitiated, "userInitiated"},
        {TerminationReason::logOut, "logOut"},
        {TerminationReason::restart, "restart"},
        {TerminationReason::shutdown, "shutdown"},
    };
    for (const auto& [reason, name] : names) {
        EXPECT_EQ(toString(reason), name);
        EXPECT_EQ(Json::encode(reason), json("{\"" + name + "\":{}}"));
        const auto back = test::throughText(reason);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.value(), reason);
    }
    EXPECT_EQ(Json::decode<TerminationReason>(json(R"({"restart":{"x":1},"other":2})")).value(),
              TerminationReason::restart);
    EXPECT_EQ(Json::decode<TerminationReason>(json(R"({"logOut":{},"restart":{}})")).error(),
              "Invalid number of keys found, expected one.");
    EXPECT_FALSE(Json::decode<TerminationReason>(json(R"("restart")")).ok());
}

} // namespace
} // namespace kivo
