#include "settings/FileDefaultsStore.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using nlohmann::json;

namespace kivo {
namespace {

using test::readFile;
using test::writeFile;

QStringList entries(const QString& directory, const QString& pattern) {
    return QDir(directory).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
}

// The writer program, running with its stdout on a pipe.
class Writer {
public:
    explicit Writer(std::vector<std::string> arguments) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe: " << std::strerror(errno);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        arguments.insert(arguments.begin(), KIVO_DEFAULTS_WRITER);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
            ADD_FAILURE() << "cannot start " << KIVO_DEFAULTS_WRITER;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Writer() {
        if (pid_ > 0) {
            kill();
        }
        if (out_ >= 0) {
            ::close(out_);
        }
    }

    void kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // Everything it printed until it ended (or `timeoutMs` passed, then it is killed).
    std::string output(int timeoutMs = 20000) {
        QElapsedTimer elapsed;
        elapsed.start();
        for (;;) {
            pollfd fd{out_, POLLIN, 0};
            const int left = std::max<int>(0, timeoutMs - static_cast<int>(elapsed.elapsed()));
            if (::poll(&fd, 1, left) <= 0) {
                ADD_FAILURE() << "the writer did not finish in time";
                break;
            }
            char buffer[4096];
            const auto n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            text_.append(buffer, static_cast<std::size_t>(n));
        }
        if (pid_ > 0) {
            kill();
        }
        return text_;
    }

    // Waits up to `ms` for it to print, without ending it.
    void waitForOutput(int ms) {
        pollfd fd{out_, POLLIN, 0};
        ::poll(&fd, 1, ms);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string text_;
};

TEST(DefaultsStoreOneWriter, aSecondStoreIsReadOnlyAndTheFirstKeepsEveryKey) {
    QTemporaryDir dir;
    {
        FileDefaultsStore first(dir.path());
        ASSERT_TRUE(first.setBool("a", true).ok());
        EXPECT_FALSE(first.isReadOnly());

        test::LogCapture log;
        FileDefaultsStore second(dir.path());
        EXPECT_TRUE(second.isReadOnly());
        EXPECT_EQ(second.readOnlyReason(), "settings are in use by another Kivo process");
        EXPECT_TRUE(second.boolValue("a").valueOr(false)) << "read-only, but it reads";
        EXPECT_EQ(second.setBool("b", true).error, second.readOnlyReason());
        EXPECT_FALSE(second.remove("a").ok());
        EXPECT_FALSE(second.removeKeptAsideCopies().ok());
        EXPECT_EQ(log.count("in use by another Kivo process"), 1) << "said once, at load";

        // Another process fares the same.
        Writer other({"set", dir.path().toStdString(), "c"});
        EXPECT_EQ(other.output(), "ok=0 reason=settings are in use by another Kivo process\n");
        ASSERT_TRUE(first.setBool("d", true).ok());
    }
    Writer later({"set", dir.path().toStdString(), "e"});
    EXPECT_EQ(later.output(), "ok=1 reason=\n") << "the lock ends with its store";
    FileDefaultsStore reopened(dir.path());
    EXPECT_EQ(reopened.keys(), (std::vector<std::string>{"a", "d", "e"}));
}

TEST(DefaultsStoreOneWriter, twoFreeRunningWritersLoseNothingAndFailOnlyAsRefused) {
    QTemporaryDir dir;
    Writer one({"run", dir.path().toStdString(), "one", "2000"});
    Writer two({"run", dir.path().toStdString(), "two", "2000"});
    const auto outputs = std::vector<std::string>{one.output(), two.output()};
    int owners = 0;
    FileDefaultsStore result(dir.path());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const auto& text = outputs[i];
        const auto name = i == 0 ? "one" : "two";
        int ok = -1, failed = -1, readOnly = -1;
        ASSERT_EQ(std::sscanf(text.c_str(), "ok=%d failed=%d readonly=%d", &ok, &failed, &readOnly), 3)
            << text;
        if (readOnly == 0) {
            ++owners;
            EXPECT_EQ(failed, 0) << text;
            EXPECT_GT(ok, 0);
            EXPECT_EQ(result.integerValue(name).valueOr(-1), ok - 1)
                << "the last write that succeeded is stored";
        } else {
            EXPECT_EQ(ok, 0) << text;
            EXPECT_NE(text.find("errors=settings are in use by another Kivo process\n"), std::string::npos)
                << text;
            EXPECT_FALSE(result.contains(name));
        }
    }
    EXPECT_EQ(owners, 1);
    EXPECT_TRUE(entries(dir.path(), "defaults.json.tmp*").isEmpty());
}

// Kills a writer at random moments: every time, the document loads and holds the last write reported
// as done or the one after it (done but not yet reported); nothing is ever moved aside. The sanitizer
// build starts each writer several times slower and kills fewer: the debug build makes the full proof.
#ifdef __SANITIZE_ADDRESS__
constexpr int kKills = 50;
#else
constexpr int kKills = 200;
#endif

TEST(DefaultsStoreKill, killedWritersLoseNothing) {
    QTemporaryDir dir;
    std::mt19937 random(20261209);
    std::int64_t stored = 0;
    std::int64_t progressed = 0;
    for (int round = 0; round < kKills; ++round) {
        std::string printed;
        {
            Writer writer({"loop", dir.path().toStdString()});
            // Mostly once it is writing, at any step of a write; sometimes while it starts and loads.
            if (round % 5 != 0) {
                writer.waitForOutput(5000);
            }
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 12000)(random));
            writer.kill();
            printed = writer.output();
        }
        auto lastReported = stored;
        if (const auto end = printed.find_last_of('\n'); end != std::string::npos) {
            const auto begin = printed.find_last_of('\n', end - 1);
            lastReported = std::stoll(printed.substr(begin == std::string::npos ? 0 : begin + 1));
        }
        FileDefaultsStore store(dir.path());
        ASSERT_FALSE(store.isReadOnly()) << "round " << round << ": " << store.readOnlyReason();
        ASSERT_TRUE(store.movedAsidePath().isEmpty()) << "round " << round;
        std::int64_t loaded = 0;
        for (const auto* key : {"blockRuleGroups", "brightnessTriggers", "backoffRecords"}) {
            if (const auto value = store.value(key)) {
                loaded = std::max(loaded, value->value("sequence", std::int64_t{0}));
            }
        }
        ASSERT_TRUE(loaded == lastReported || loaded == lastReported + 1)
            << "round " << round << ": loaded " << loaded << ", last reported " << lastReported;
        ASSERT_TRUE(entries(dir.path(), "defaults.json.tmp*").isEmpty()) << "round " << round;
        progressed += loaded - stored;
        stored = loaded;
    }
    EXPECT_TRUE(entries(dir.path(), "defaults.json.unreadable-*").isEmpty());
    // Most kills wait for a first write, so most land while writing.
    EXPECT_GT(progressed, kKills / 2) << "the writers hardly wrote; the kills proved little";
    RecordProperty("writes", static_cast<int>(progressed));
}

TEST(DefaultsStoreDiskFull, theWriteFailsLoudlyAndTheOldDocumentStays) {
    test::SmallTmpfs disk(64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "needs a small tmpfs to fill: " << disk.error();
    }
    FileDefaultsStore store(disk.path());
    ASSERT_TRUE(store.setValue("groups", json::array({"kept"})).ok());
    const auto before = readFile(store.filePath());

    test::LogCapture log;
    const auto result = store.setString("big", std::string(256 * 1024, 'x'));
    EXPECT_NE(result.error.find("No space left on device"), std::string::npos) << result.error;
    EXPECT_TRUE(log.contains("app.kivo.Kivo.settings|critical|Could not set big"));
    EXPECT_EQ(readFile(store.filePath()), before);
    EXPECT_FALSE(store.contains("big"));
    EXPECT_TRUE(entries(disk.path(), "defaults.json.tmp*").isEmpty());
    EXPECT_EQ(*FileDefaultsStore(disk.path()).value("groups"), json::array({"kept"}));
}

// Odd things where the document should be. Each loads quickly, and the user's files stay as they were
// (but for a document too large, which is moved aside whole).
struct OddFileCase {
    const char* name;
    std::function<void(const QString& dir, const QString& elsewhere)> plant;
    bool readOnly;
    const char* reason; // a fragment of the read-only reason
    bool movedAside;
    std::function<void(const QString& dir, const QString& elsewhere, FileDefaultsStore& store)> check;
};

const QByteArray kGoodDocument = "{\"a\": 1}\n";

void link(const QString& target, const QString& path) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

void expectDocumentUntouched(const QString& dir, const QString&, FileDefaultsStore&) {
    EXPECT_EQ(readFile(dir + "/defaults.json"), kGoodDocument);
}

class DefaultsStoreOddFile : public ::testing::TestWithParam<OddFileCase> {};

TEST_P(DefaultsStoreOddFile, loadsInBoundedTimeAndLeavesTheUsersFilesAlone) {
    const auto& c = GetParam();
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    c.plant(dir.path(), elsewhere.path());

    QElapsedTimer elapsed;
    elapsed.start();
    FileDefaultsStore store(dir.path());
    EXPECT_LT(elapsed.elapsed(), 10000) << "a pipe or device read to its end would not return";
    EXPECT_EQ(store.isReadOnly(), c.readOnly) << store.readOnlyReason();
    EXPECT_NE(store.readOnlyReason().find(c.reason), std::string::npos) << store.readOnlyReason();
    EXPECT_EQ(!store.movedAsidePath().isEmpty(), c.movedAside);
    EXPECT_EQ(store.setBool("b", true).ok(), !c.readOnly);
    c.check(dir.path(), elsewhere.path(), store);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultsStoreOddFile,
    ::testing::Values(
        OddFileCase{"linkToDevZero",
                    [](const QString& dir, const QString&) { link("/dev/zero", dir + "/defaults.json"); },
                    true, "is a device", false,
                    [](const QString& dir, const QString&, FileDefaultsStore&) {
                        EXPECT_EQ(QFileInfo(dir + "/defaults.json").symLinkTarget(), "/dev/zero");
                    }},
        OddFileCase{"sparseFileOver64MiB",
                    [](const QString& dir, const QString&) {
                        QFile file(dir + "/defaults.json");
                        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                        ASSERT_TRUE(file.resize(100 * 1024 * 1024 + 1));
                    },
                    false, "", true,
                    [](const QString&, const QString&, FileDefaultsStore& store) {
                        EXPECT_EQ(QFileInfo(store.movedAsidePath()).size(), 100 * 1024 * 1024 + 1);
                        EXPECT_EQ(store.keys(), std::vector<std::string>{"b"});
                    }},
        OddFileCase{"namedPipe",
                    [](const QString& dir, const QString&) {
                        ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/defaults.json").constData(), 0600), 0);
                    },
                    true, "is a named pipe", false,
                    [](const QString& dir, const QString&, FileDefaultsStore&) {
                        struct stat info {};
                        ASSERT_EQ(::lstat(QFile::encodeName(dir + "/defaults.json").constData(), &info), 0);
                        EXPECT_TRUE(S_ISFIFO(info.st_mode));
                    }},
        OddFileCase{"directory",
                    [](const QString& dir, const QString&) {
                        ASSERT_TRUE(QDir(dir).mkdir("defaults.json"));
                        writeFile(dir + "/defaults.json/mine", "x");
                    },
                    true, "is a directory", false,
                    [](const QString& dir, const QString&, FileDefaultsStore&) {
                        EXPECT_EQ(readFile(dir + "/defaults.json/mine"), "x");
                    }},
        // Root reads a file whatever its mode; anyone else cannot, and then must not replace it.
        OddFileCase{"modeZero",
                    [](const QString& dir, const QString&) {
                        writeFile(dir + "/defaults.json", kGoodDocument);
                        ::chmod(QFile::encodeName(dir + "/defaults.json").constData(), 0);
                    },
                    ::geteuid() != 0, ::geteuid() != 0 ? "cannot be read" : "", false,
                    [](const QString& dir, const QString&, FileDefaultsStore& store) {
                        if (::geteuid() == 0) {
                            EXPECT_EQ(store.integerValue("a").valueOr(0), 1);
                        } else {
                            ::chmod(QFile::encodeName(dir + "/defaults.json").constData(), 0600);
                            expectDocumentUntouched(dir, {}, store);
                        }
                    }},
        OddFileCase{"linkToAFileElsewhereIsWrittenThrough",
                    [](const QString& dir, const QString& elsewhere) {
                        writeFile(elsewhere + "/settings.json", kGoodDocument);
                        link("../" + QFileInfo(elsewhere).fileName() + "/settings.json",
                             dir + "/defaults.json");
                        writeFile(elsewhere + "/settings.json.tmp-AbC123", "left by a killed writer");
                    },
                    false, "", false,
                    [](const QString& dir, const QString& elsewhere, FileDefaultsStore&) {
                        EXPECT_TRUE(QFileInfo(dir + "/defaults.json").isSymLink());
                        const auto stored = json::parse(readFile(elsewhere + "/settings.json").toStdString());
                        EXPECT_EQ(stored, json::parse(R"({"a": 1, "b": true})"));
                        EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList{"settings.json"});
                    }},
        OddFileCase{"linkToAFileNotYetMade",
                    [](const QString& dir, const QString& elsewhere) {
                        link(elsewhere + "/new.json", dir + "/defaults.json");
                    },
                    false, "", false,
                    [](const QString& dir, const QString& elsewhere, FileDefaultsStore&) {
                        EXPECT_TRUE(QFileInfo(dir + "/defaults.json").isSymLink());
                        EXPECT_TRUE(QFileInfo(elsewhere + "/new.json").isFile());
                    }},
        OddFileCase{"leftOverTemporaries",
                    [](const QString& dir, const QString&) {
                        writeFile(dir + "/defaults.json", kGoodDocument);
                        writeFile(dir + "/defaults.json.tmp-q1W2e3", "{\"a\": 2}");
                        writeFile(dir + "/defaults.json.tmp", "{\"a\": 3}");
                        writeFile(dir + "/defaults.json.tmp-notours", "kept: not a name a write makes");
                    },
                    false, "", false,
                    [](const QString& dir, const QString&, FileDefaultsStore& store) {
                        EXPECT_EQ(store.integerValue("a").valueOr(0), 1);
                        EXPECT_EQ(entries(dir, "defaults.json.tmp*"),
                                  QStringList{"defaults.json.tmp-notours"});
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivo
