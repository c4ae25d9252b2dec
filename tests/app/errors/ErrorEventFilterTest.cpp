#include "app/errors/ErrorEventFilter.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Exception = ErrorEvent::Exception;
using Frame = ErrorEvent::Frame;
using Thread = ErrorEvent::Thread;
using Mechanism = ErrorEvent::Mechanism;

Exception withMechanism(std::optional<QString> type) {
    return Exception{"E", "v", Mechanism{std::move(type)}};
}

Thread frames(std::initializer_list<std::optional<QString>> names) {
    std::vector<Frame> result;
    for (const auto& n : names) {
        result.push_back(Frame{n});
    }
    return Thread{result};
}

const auto kHang = withMechanism(QStringLiteral("AppHang"));

struct FilterCase {
    const char* name;
    std::optional<std::vector<Exception>> exceptions;
    std::optional<std::vector<Thread>> threads;
    bool dropped;
};

class ErrorEventFilterTable : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ErrorEventFilterTable, dropsOnlyHangsInsideTheUpdateFramework) {
    ErrorEvent event;
    event.eventId = QStringLiteral("abc");
    event.exceptions = GetParam().exceptions;
    event.threads = GetParam().threads;
    const auto kept = ErrorEventFilter::beforeSend(event);
    EXPECT_EQ(!kept.has_value(), GetParam().dropped);
    if (kept) {
        EXPECT_EQ(*kept, event) << "a kept event is never modified";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorEventFilterTable,
    ::testing::Values(
        FilterCase{"noExceptions", std::nullopt, std::vector{frames({"Sparkle.Updater"})}, false},
        FilterCase{"hangInUserDriver", std::vector{kHang},
                   std::vector{frames({"main", "-[SPUStandardUserDriver show]"})}, true},
        FilterCase{"hangInFrameworkModule", std::vector{kHang},
                   std::vector{frames({"Sparkle.SPUUpdater.check"})}, true},
        FilterCase{"hangSubtypeByPrefix", std::vector{withMechanism("AppHangFullyBlocking")},
                   std::vector{frames({"Sparkle.x"})}, true},
        FilterCase{"hangElsewhere", std::vector{kHang}, std::vector{frames({"main", "kivo::poll"})}, false},
        FilterCase{"notAHang", std::vector{withMechanism("signalhandler")},
                   std::vector{frames({"Sparkle.x"})}, false},
        FilterCase{"hangSecond", std::vector{withMechanism("mach"), kHang},
                   std::vector{frames({"Sparkle.x"})}, true},
        FilterCase{"prefixIsCaseSensitive", std::vector{withMechanism("apphang")},
                   std::vector{frames({"Sparkle.x"})}, false},
        FilterCase{"prefixNotInfix", std::vector{withMechanism("NotAppHang")},
                   std::vector{frames({"Sparkle.x"})}, false},
        FilterCase{"noMechanism", std::vector{Exception{"AppHang", "v", std::nullopt}},
                   std::vector{frames({"Sparkle.x"})}, false},
        FilterCase{"mechanismWithoutType", std::vector{withMechanism(std::nullopt)},
                   std::vector{frames({"Sparkle.x"})}, false},
        FilterCase{"frameWithoutNameSkipped", std::vector{kHang},
                   std::vector{frames({std::nullopt, "Sparkle.later"})}, true},
        FilterCase{"onlyNamelessFrames", std::vector{kHang}, std::vector{frames({std::nullopt})}, false},
        FilterCase{"frameNameCaseSensitive", std::vector{kHang},
                   std::vector{frames({"sparkle.x", "spustandarduserdriver"})}, false},
        FilterCase{"moduleNameNeedsTheDot", std::vector{kHang}, std::vector{frames({"SparkleShare"})}, false},
        FilterCase{"laterThread", std::vector{kHang},
                   std::vector{Thread{std::nullopt}, frames({"main"}), frames({"Sparkle.y"})}, true},
        FilterCase{"noThreads", std::vector{kHang}, std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivo
