// Browsers in sandboxes of their own: two PID namespaces whose browsers have the same process number
// inside are two browsers, and both are read.
#include "RealDesktop.h"

#include <QFile>

#include <csignal>

namespace kivo {
namespace {

using test::desktop;

// The process's number in its innermost PID namespace.
int innerProcess(int processId) {
    QFile status(QStringLiteral("/proc/%1/status").arg(processId));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("NSpid:")) {
            return line.mid(6).simplified().split(' ').constLast().toInt();
        }
    }
    return 0;
}

TEST(PidNamespacesTest, TwoSandboxedBrowsersWithTheSameInnerNumberAreBothRead) {
    ASSERT_TRUE(desktop);
    std::vector<int> before;
    for (const auto& app : desktop->platform->workspace().runningApplications(test::kChrome)) {
        before.push_back(app.processId);
    }
    const auto fresh = [&] {
        std::vector<int> pids;
        for (const auto& app : desktop->platform->workspace().runningApplications(test::kChrome)) {
            if (std::find(before.begin(), before.end(), app.processId) == before.end()) {
                pids.push_back(app.processId);
            }
        }
        return pids;
    };
    const std::vector<std::string> pages = {desktop->server.url("/sandbox/one"),
                                            desktop->server.url("/sandbox/two")};
    std::vector<std::unique_ptr<QProcess>> sandboxes;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        // Each sandbox's first process starts the browser, which so gets the same number in both.
        auto& sandbox = sandboxes.emplace_back(std::make_unique<QProcess>());
        sandbox->setStandardOutputFile(QProcess::nullDevice());
        sandbox->setStandardErrorFile(QProcess::nullDevice());
        QStringList command =
            test::sandboxCommand("chromium")
            << desktop->arguments(test::kChrome, pages[i], false, QStringLiteral("sandbox-%1").arg(i));
        sandbox->start(command.takeFirst(), command);
        // One at a time: Chromium builds a window's tree once it has been in front.
        ASSERT_TRUE(test::waitUntil([&] { return desktop->shows(test::kChrome, pages[i]); }, test::kDeadline))
            << ::testing::PrintToString(desktop->shown(test::kChrome));
    }
    const auto pids = fresh();
    ASSERT_EQ(pids.size(), 2u);
    EXPECT_EQ(innerProcess(pids[0]), innerProcess(pids[1]));
    EXPECT_TRUE(desktop->shows(test::kChrome, pages[0]));
    EXPECT_TRUE(desktop->shows(test::kChrome, pages[1]));
    for (const int pid : pids) {
        ::kill(pid, SIGKILL);
    }
    for (auto& sandbox : sandboxes) {
        sandbox->kill();
        sandbox->waitForFinished(5000);
    }
    EXPECT_TRUE(test::waitUntil([&] { return fresh().empty(); }, test::kDeadline));
}

} // namespace
} // namespace kivo
