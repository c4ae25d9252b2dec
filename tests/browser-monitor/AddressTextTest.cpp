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

TEST(AddressTextTest, AFieldShowsAnAddressWithoutItsSchemeOrLeadingWww) {
    struct Case {
        const char* shown;
        const char* url;
        bool same;
    } cases[] = {
        {"http://a.test/x", "http://a.test/x", true},
        {"127.0.0.1:8000/slow/landing?blocked=x", "http://127.0.0.1:8000/slow/landing?blocked=x", true},
        {"a.test/x", "https://www.a.test/x", true},
        {"a.test/l?blocked=http://b.test/p", "http://a.test/l?blocked=http://b.test/p", true},
        {"a.test/caf\xC3\xA9", "https://a.test/caf%C3%A9", true},
        {"a.test/x", "https://a.test/y", false},
        {"http://a.test/x", "https://a.test/x", false}, // a scheme that is shown must be the address's
        {"b.test/a.test/x", "https://a.test/x", false},
        {"", "https://a.test/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown) + " vs " + c.url);
        EXPECT_EQ(AddressText::sameShownAddress(c.shown, c.url), c.same);
    }
}

} // namespace
} // namespace kivo
