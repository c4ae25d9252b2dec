#include "platform/linux/LinuxAccessibilityTree.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kivo {
namespace {

TEST(LinuxAccessibilityTreeTest, ABusThatNeverAnswersNeverHoldsUpTheCallingThread) {
    // A session bus that accepts connections and never speaks: its handshake would wait for ever.
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("bus").toUtf8();
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.constData());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 16), 0);
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + path);

    // The bounds are far from what a busy machine takes and far below what waiting on the bus would: the
    // handshake's second in every call, its 25 s in the end.
    QElapsedTimer life;
    life.start();
    qint64 inCalls = 0;
    {
        LinuxAccessibilityTree tree(nullptr);
        // Several checks over a few seconds, as passes make them: each answers at once.
        for (int i = 0; i < 12; ++i) {
            QElapsedTimer call;
            call.start();
            EXPECT_FALSE(tree.isTrusted());
            EXPECT_EQ(tree.applicationElement(42), AccessibilityElement{});
            inCalls += call.elapsed();
            test::waitUntil([] { return false; }, 250ms);
        }
    }
    EXPECT_LT(inCalls, 6000);
    EXPECT_LT(life.elapsed(), 15000);
    ::close(server);
}

} // namespace
} // namespace kivo
