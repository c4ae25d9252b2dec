#include "platform/linux/LinuxBusBrowsers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Browser = BusBrowsers::Browser;

// A process as /proc shows it; an empty field is a file the process does not show (a sandbox hides its
// executable, say).
struct FakeProcess {
    int pid;
    QString exe; // the executable's path
    QByteArray cmdline;
    QByteArray comm;
    QByteArray nspid; // the NSpid line's numbers
};

void plant(const QString& root, const FakeProcess& p) {
    const QString dir = root + QStringLiteral("/%1").arg(p.pid);
    ASSERT_TRUE(QDir().mkpath(dir));
    const auto write = [&](const char* name, const QByteArray& bytes) {
        if (bytes.isEmpty()) {
            return;
        }
        QFile file(dir + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    if (!p.exe.isEmpty()) {
        ASSERT_TRUE(QFile::link(p.exe, dir + "/exe"));
    }
    write("cmdline", p.cmdline);
    write("comm", p.comm);
    write("status", p.nspid.isEmpty() ? QByteArray("Name:\tx\n") : "Name:\tx\nNSpid:\t" + p.nspid + "\n");
}

TEST(LinuxBusBrowsersTest, BusProcessesAreToldByTheirProgramWithTheirNamespaceNumbers) {
    struct Case {
        const char* name;
        FakeProcess process;
        std::optional<Browser> browser;
    } cases[] = {
        {"Debian's Firefox ESR",
         {101, "/usr/lib/firefox-esr/firefox-esr", "firefox-esr\0--profile\0/tmp/p", "firefox-esr\n", "101"},
         Browser{"org.mozilla.firefox", "Firefox", {101}}},
        {"Chromium behind its wrapper script",
         {102, "/usr/lib/chromium/chromium", QByteArray("/usr/lib/chromium/chromium\0--flag", 33),
          "chromium\n", ""},
         Browser{"com.google.Chrome", "Chromium", {102}}},
        {"Chrome replaced on disk by an upgrade",
         {103, "/opt/google/chrome/chrome (deleted)", "", "", ""},
         Browser{"com.google.Chrome", "Chrome", {103}}},
        {"a sandbox hides the executable: the first argument",
         {104, "", QByteArray("/opt/vivaldi/vivaldi-bin\0", 25), "", "104 2"},
         Browser{"com.vivaldi.Vivaldi", "Vivaldi", {104, 2}}},
        {"only the command name", {105, "", "", "brave\n", ""}, Browser{"com.brave.Browser", "Brave", {105}}},
        {"another program", {106, "/usr/bin/python3", "python3\0x.py", "python3\n", ""}, std::nullopt},
    };
    QTemporaryDir proc;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plant(proc.path(), c.process);
        EXPECT_EQ(LinuxBusBrowsers::browserOfProcess(proc.path(), c.process.pid), c.browser);
    }
    EXPECT_EQ(LinuxBusBrowsers::browserOfProcess(proc.path(), 999), std::nullopt)
        << "a process that has gone";

    int busReads = 0;
    const auto bus = [&] {
        ++busReads;
        return std::optional<std::vector<int>>({106, 101, 999});
    };
    EXPECT_EQ(LinuxBusBrowsers(bus, true, proc.path()).browsers(),
              std::optional<std::vector<Browser>>({{"org.mozilla.firefox", "Firefox", {101}}}));
    EXPECT_EQ(LinuxBusBrowsers(bus, false, proc.path()).browsers(), std::optional(std::vector<Browser>{}))
        << "outside a Wayland session no browser can hide its windows";
    EXPECT_EQ(busReads, 1);
    EXPECT_EQ(
        LinuxBusBrowsers([] { return std::optional<std::vector<int>>(); }, true, proc.path()).browsers(),
        std::nullopt);
}

} // namespace
} // namespace kivo
