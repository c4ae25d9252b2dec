#include "browser-monitor/AddressText.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(AddressTextTest, AddressesAreComparedAsBrowsersReportThem) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"http://127.0.0.1:8000", "http://127.0.0.1:8000/", true},
        {"http://b\xC3\xBC"
         "cher.test/x",
         "http://xn--bcher-kva.test/x", true},
        {"http://a.test/caf\xC3\xA9", "http://a.test/caf%C3%A9", true},
        {"http://A.Test/x", "http://a.test/x", true},
        {"http://a.test/?blocked=http%3A%2F%2Fb.test", "http://a.test/?blocked=http%3A%2F%2Fb.test", true},
        {"http://a.test/x", "http://a.test/y", false},
        {"http://a.test/x", "https://a.test/x", false},
        {"http://a.test/a%2Fb", "http://a.test/a/b", false}, // an encoded slash is not a path step
        {"http://a.test/?q=1", "http://a.test/?q=2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(AddressText::sameAddress(c.a, c.b), c.same);
    }
}

} // namespace
} // namespace kivo
