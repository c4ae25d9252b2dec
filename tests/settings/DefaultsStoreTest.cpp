#include "settings/FileDefaultsStore.h"
#include "settings/MemoryDefaultsStore.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using nlohmann::json;

namespace kivo {
namespace {

using test::readFile;
using test::writeFile;

QStringList movedAsideFiles(const QString& directory) {
    return QDir(directory).entryList({QStringLiteral("defaults.json.unreadable-*")}, QDir::Files);
}

struct RoundTripCase {
    const char* name;
    json value;
    DefaultsValueType type;
};

class DefaultsStoreRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(DefaultsStoreRoundTrip, valueAndTypeSurviveAFreshStore) {
    QTemporaryDir dir;
    const auto& c = GetParam();
    {
        FileDefaultsStore store(dir.path() + "/kivo");
        ASSERT_TRUE(store.setValue("key", c.value).ok());
        ASSERT_TRUE(store.setString("other", "kept").ok());
    }
    FileDefaultsStore reopened(dir.path() + "/kivo");
    EXPECT_EQ(reopened.type("key"), c.type);
    ASSERT_TRUE(reopened.value("key").has_value());
    EXPECT_EQ(*reopened.value("key"), c.value);
    EXPECT_EQ(defaultsValueTypeOf(*reopened.value("key")), c.type);
    EXPECT_EQ(reopened.stringValue("other").valueOr(""), "kept");
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, DefaultsStoreRoundTrip,
    ::testing::Values(
        RoundTripCase{"true", true, DefaultsValueType::Bool},
        RoundTripCase{"false", false, DefaultsValueType::Bool},
        RoundTripCase{"zero", 0, DefaultsValueType::Integer},
        RoundTripCase{"int64Min", std::numeric_limits<std::int64_t>::min(), DefaultsValueType::Integer},
        RoundTripCase{"int64Max", std::numeric_limits<std::int64_t>::max(), DefaultsValueType::Integer},
        RoundTripCase{"integralReal", 5.0, DefaultsValueType::Real},
        RoundTripCase{"tinyReal", 1e-300, DefaultsValueType::Real},
        RoundTripCase{"unroundedReal", 0.1 + 0.2, DefaultsValueType::Real},
        RoundTripCase{"emptyString", "", DefaultsValueType::String},
        RoundTripCase{"awkwardString", "\"quoted\"\n\t\\ \xE6\x97\xA5\xE6\x9C\xAC e\xCC\x81 \xF0\x9F\x98\x80",
                      DefaultsValueType::String},
        RoundTripCase{"emptyArray", json::array(), DefaultsValueType::Array},
        RoundTripCase{"records", json::parse(R"([{"id":"A","n":[1,2.5,null,true]},{"id":"B"}])"),
                      DefaultsValueType::Array},
        RoundTripCase{"object", json::parse(R"({"a":{"b":[]},"c":-3})"), DefaultsValueType::Object}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedReadCase {
    const char* name;
    json stored;
    DefaultsReadStatus asBool, asInteger, asReal, asString, asArray, asObject;
};

class DefaultsStoreTypedRead : public ::testing::TestWithParam<TypedReadCase> {};

TEST_P(DefaultsStoreTypedRead, wrongTypesAreReportedNotCoerced) {
    const auto& c = GetParam();
    MemoryDefaultsStore store;
    store.plant("k", c.stored);
    EXPECT_EQ(store.boolValue("k").status, c.asBool);
    EXPECT_EQ(store.integerValue("k").status, c.asInteger);
    EXPECT_EQ(store.realValue("k").status, c.asReal);
    EXPECT_EQ(store.stringValue("k").status, c.asString);
    EXPECT_EQ(store.arrayValue("k").status, c.asArray);
    EXPECT_EQ(store.objectValue("k").status, c.asObject);
    EXPECT_FALSE(store.integerValue("k").isWrongType() && store.integerValue("k").value.has_value());
}

constexpr auto A = DefaultsReadStatus::Absent;
constexpr auto P = DefaultsReadStatus::Present;
constexpr auto W = DefaultsReadStatus::WrongType;

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultsStoreTypedRead,
    ::testing::Values(
        TypedReadCase{"null", nullptr, A, A, A, A, A, A}, TypedReadCase{"bool", true, P, W, W, W, W, W},
        TypedReadCase{"integer", 3, W, P, P, W, W, W}, TypedReadCase{"integralReal", 3.0, W, W, P, W, W, W},
        TypedReadCase{"fraction", 2.5, W, W, P, W, W, W},
        TypedReadCase{"hugeUnsigned", std::numeric_limits<std::uint64_t>::max(), W, W, P, W, W, W},
        TypedReadCase{"numericString", "1", W, W, W, P, W, W},
        TypedReadCase{"array", json::array({1}), W, W, W, W, P, W},
        TypedReadCase{"object", json::object({{"a", 1}}), W, W, W, W, W, P}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultsStore, typedReadsCarryTheValue) {
    MemoryDefaultsStore store;
    store.plant("i", 3);
    store.plant("s", "3");
    EXPECT_EQ(store.integerValue("i").value, std::optional<std::int64_t>(3));
    EXPECT_EQ(store.realValue("i").value, std::optional<double>(3.0));
    EXPECT_EQ(store.integerValue("s").storedType, DefaultsValueType::String);
    EXPECT_EQ(store.integerValue("s").valueOr(7), 7);
    EXPECT_TRUE(store.boolValue("missing").isAbsent());
}

QStringList temporaryFiles(const QString& directory) {
    return QDir(directory).entryList({QStringLiteral("defaults.json.tmp*")}, QDir::Files | QDir::Hidden);
}

TEST(DefaultsStore, crashBetweenWriteAndRenameLeavesTheOldDocument) {
    QTemporaryDir dir;
    QByteArray before;
    {
        FileDefaultsStore store(dir.path());
        ASSERT_TRUE(store.setInteger("count", 1).ok());
        before = readFile(store.filePath());

        store.setInterruptionBeforeRenameForTesting([] { return true; });
        const auto result = store.setInteger("count", 2);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(store.integerValue("count").valueOr(0), 1) << "memory must match the document on disk";
        EXPECT_EQ(readFile(store.filePath()), before);
        EXPECT_EQ(temporaryFiles(dir.path()).size(), 1) << "the interrupted write left its temporary file";
    }
    // An older writer's fixed name is cleared away too.
    writeFile(dir.path() + "/defaults.json.tmp", "{\"count\": 9}");

    FileDefaultsStore afterCrash(dir.path());
    EXPECT_EQ(afterCrash.integerValue("count").valueOr(0), 1);
    EXPECT_TRUE(movedAsideFiles(dir.path()).isEmpty());
    EXPECT_TRUE(temporaryFiles(dir.path()).isEmpty()) << "the lock holder removes what a killed writer left";
    ASSERT_TRUE(afterCrash.setInteger("count", 3).ok());
    EXPECT_TRUE(temporaryFiles(dir.path()).isEmpty());
    EXPECT_EQ(afterCrash.integerValue("count").valueOr(0), 3);
}

struct CorruptCase {
    const char* name;
    QByteArray bytes;
};

// {"groups": [[[...]]]} with `depth` arrays.
QByteArray nested(int depth) {
    return "{\"groups\": " + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
}

class DefaultsStoreCorrupt : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(DefaultsStoreCorrupt, unreadableDocumentIsMovedAsideNotOverwritten) {
    QTemporaryDir dir;
    const auto path = dir.path() + "/defaults.json";
    writeFile(path, GetParam().bytes);

    test::LogCapture log;
    FileDefaultsStore store(dir.path());
    EXPECT_TRUE(store.keys().empty());
    const auto moved = movedAsideFiles(dir.path());
    ASSERT_EQ(moved.size(), 1);
    EXPECT_EQ(store.movedAsidePath(), dir.path() + "/" + moved.first());
    EXPECT_EQ(readFile(store.movedAsidePath()), GetParam().bytes);
    EXPECT_TRUE(log.contains("app.kivo.Kivo.settings|warning|Settings document"));

    ASSERT_TRUE(store.setBool("fresh", true).ok());
    EXPECT_EQ(readFile(store.movedAsidePath()), GetParam().bytes);
    EXPECT_TRUE(FileDefaultsStore(dir.path()).boolValue("fresh").valueOr(false));
}

INSTANTIATE_TEST_SUITE_P(Table, DefaultsStoreCorrupt,
                         ::testing::Values(CorruptCase{"truncated", R"({"a": [1, 2)"},
                                           CorruptCase{"empty", ""}, CorruptCase{"array", "[1, 2]"},
                                           CorruptCase{"bareString", "\"text\""},
                                           CorruptCase{"binary", QByteArray("\x00\xff\xfe{", 4)},
                                           CorruptCase{"trailingGarbage", R"({"a": 1} x)"},
                                           CorruptCase{"nestedTooDeeply", nested(200000)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultsStore, deepButReasonableNestingIsKept) {
    QTemporaryDir dir;
    writeFile(dir.path() + "/defaults.json", nested(FileDefaultsStore::kMaximumDepth - 1));
    FileDefaultsStore store(dir.path());
    EXPECT_TRUE(store.movedAsidePath().isEmpty());
    EXPECT_EQ(store.type("groups"), DefaultsValueType::Array);
    ASSERT_TRUE(store.setBool("fresh", true).ok());
    EXPECT_EQ(FileDefaultsStore(dir.path()).type("groups"), DefaultsValueType::Array);
}

// A value is refused when storing it would make the document too deep to load at the next start.
TEST(DefaultsStore, aValueTooDeepToLoadAgainIsRefusedAndNothingIsLost) {
    QTemporaryDir dir;
    auto nestedArrays = [](int depth) {
        nlohmann::json value = nlohmann::json::array();
        for (int i = 1; i < depth; ++i) {
            value = nlohmann::json::array({value});
        }
        return value;
    };
    FileDefaultsStore store(dir.path());
    ASSERT_TRUE(store.setValue("deepest", nestedArrays(DefaultsStore::kMaximumDepth - 1)).ok());
    EXPECT_FALSE(store.setValue("tooDeep", nestedArrays(DefaultsStore::kMaximumDepth)).ok());
    EXPECT_FALSE(store.contains("tooDeep"));

    FileDefaultsStore reopened(dir.path());
    EXPECT_TRUE(reopened.movedAsidePath().isEmpty());
    EXPECT_EQ(reopened.type("deepest"), DefaultsValueType::Array);
}

TEST(DefaultsStore, twoCorruptDocumentsInTheSameSecondKeepBothCopies) {
    QTemporaryDir dir;
    const auto path = dir.path() + "/defaults.json";
    writeFile(path, "first {");
    const auto first = FileDefaultsStore(dir.path()).movedAsidePath();
    writeFile(path, "second {");
    const auto second = FileDefaultsStore(dir.path()).movedAsidePath();
    ASSERT_NE(first, second);
    EXPECT_EQ(readFile(first), "first {");
    EXPECT_EQ(readFile(second), "second {");
}

TEST(DefaultsStore, copyAsideNeverOverwritesAnEarlierCopy) {
    QTemporaryDir dir;
    {
        FileDefaultsStore store(dir.path());
        ASSERT_TRUE(store.setValue("groups", json::array({"first"})).ok());

        const auto one = store.copyValueAside("groups");
        ASSERT_TRUE(one.ok());
        EXPECT_EQ(one.copyKey, "groups.unreadable.1");
        ASSERT_TRUE(store.setValue("groups", json::array({"second"})).ok());
        const auto two = store.copyValueAside("groups");
        EXPECT_EQ(two.copyKey, "groups.unreadable.2");
    }

    FileDefaultsStore reopened(dir.path());
    EXPECT_EQ(*reopened.value("groups.unreadable.1"), json::array({"first"}));
    EXPECT_EQ(*reopened.value("groups.unreadable.2"), json::array({"second"}));
    EXPECT_EQ(*reopened.value("groups"), json::array({"second"})) << "the original stays until replaced";

    // Numbering continues after the highest copy, even when earlier ones were removed.
    ASSERT_TRUE(reopened.remove("groups.unreadable.1").ok());
    EXPECT_EQ(reopened.copyValueAside("groups").copyKey, "groups.unreadable.3");
    // Keys that merely resemble copies do not confuse the numbering.
    MemoryDefaultsStore planted;
    planted.plant("g", 1);
    planted.plant("g.unreadable.7", 0);
    planted.plant("g.unreadable.x9", 0);
    planted.plant("g.unreadable.99999999999999999999999", 0);
    EXPECT_EQ(planted.copyValueAside("g").copyKey, "g.unreadable.8");
}

TEST(DefaultsStore, removeKeptAsideCopiesTakesCopiesOnlyKeysAndFiles) {
    QTemporaryDir dir;
    writeFile(dir.path() + "/defaults.json", "broken {");
    FileDefaultsStore store(dir.path());
    ASSERT_FALSE(store.movedAsidePath().isEmpty());
    writeFile(dir.path() + "/defaults.json.unreadable-20200101-000000-2", "older");
    writeFile(dir.path() + "/unrelated.json.unreadable-1", "not ours");
    for (const auto* key : {"groups", "groups.unreadable.1", "groups.unreadable.12", "a.b.unreadable.3",
                            "groups.unreadable.x", "groups.unreadable.", ".unreadable.4"}) {
        ASSERT_TRUE(store.setBool(key, true).ok()) << key;
    }
    ASSERT_TRUE(store.removeKeptAsideCopies().ok());
    const std::vector<std::string> kept{".unreadable.4", "groups", "groups.unreadable.",
                                        "groups.unreadable.x"};
    EXPECT_EQ(store.keys(), kept);
    EXPECT_EQ(FileDefaultsStore(dir.path()).keys(), kept);
    EXPECT_TRUE(movedAsideFiles(dir.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(dir.path() + "/unrelated.json.unreadable-1"));

    MemoryDefaultsStore memory;
    memory.plant("k.unreadable.1", 0);
    memory.plant("k", 1);
    ASSERT_TRUE(memory.removeKeptAsideCopies().ok());
    EXPECT_EQ(memory.keys(), std::vector<std::string>{"k"});
    memory.plant("k.unreadable.2", 0);
    memory.setWriteFailure("disk full");
    EXPECT_FALSE(memory.removeKeptAsideCopies().ok());
    EXPECT_TRUE(memory.contains("k.unreadable.2"));
}

TEST(DefaultsStore, copyAsideOfAnAbsentKeyCopiesNothing) {
    MemoryDefaultsStore store;
    const auto result = store.copyValueAside("missing");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.copyKey.empty());
    EXPECT_EQ(store.writeCount(), 0);
}

TEST(DefaultsStore, removeAndRemoveAllPersist) {
    QTemporaryDir dir;
    {
        FileDefaultsStore store(dir.path());
        ASSERT_TRUE(store.setBool("a", true).ok());
        ASSERT_TRUE(store.setBool("b", true).ok());
        ASSERT_TRUE(store.remove("a").ok());
        ASSERT_TRUE(store.setValue("b", nullptr).ok());
        ASSERT_TRUE(store.setBool("c", true).ok());
    }
    FileDefaultsStore store(dir.path());
    EXPECT_EQ(store.keys(), std::vector<std::string>{"c"});
    ASSERT_TRUE(store.removeAll().ok());
    EXPECT_TRUE(store.keys().empty());
    EXPECT_TRUE(FileDefaultsStore(dir.path()).keys().empty());
}

TEST(DefaultsStore, failedWriteIsReportedLoggedAndChangesNothing) {
    QTemporaryDir dir;
    // A file where the directory should be: refused even for root, which ignores permissions.
    writeFile(dir.path() + "/kivo", "not a directory");
    FileDefaultsStore store(dir.path() + "/kivo");
    test::LogCapture log;
    const auto result = store.setString("name", "value");
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(store.stringValue("name").isAbsent());
    EXPECT_TRUE(log.contains("app.kivo.Kivo.settings|critical|Could not set name"));
}

TEST(DefaultsStore, failedWriteKeepsThePreviousValueInMemory) {
    MemoryDefaultsStore store;
    ASSERT_TRUE(store.setInteger("n", 1).ok());
    store.setWriteFailure("disk full");
    EXPECT_EQ(store.setInteger("n", 2).error, "disk full");
    EXPECT_EQ(store.remove("n").error, "disk full");
    EXPECT_FALSE(store.removeAll().ok());
    EXPECT_FALSE(store.copyValueAside("n").ok());
    EXPECT_EQ(store.keys(), std::vector<std::string>{"n"});
    EXPECT_EQ(store.integerValue("n").valueOr(0), 1);
}

struct UnstorableCase {
    const char* name;
    json value;
};

class DefaultsStoreUnstorable : public ::testing::TestWithParam<UnstorableCase> {};

TEST_P(DefaultsStoreUnstorable, isRefusedAndNothingIsWritten) {
    QTemporaryDir dir;
    FileDefaultsStore store(dir.path());
    ASSERT_TRUE(store.setReal("level", 0.5).ok());
    const auto before = readFile(store.filePath());
    EXPECT_FALSE(store.setValue("level", GetParam().value).ok());
    EXPECT_EQ(readFile(store.filePath()), before);
    EXPECT_EQ(store.realValue("level").valueOr(0), 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultsStoreUnstorable,
    ::testing::Values(UnstorableCase{"nan", std::nan("")},
                      UnstorableCase{"infinity", std::numeric_limits<double>::infinity()},
                      UnstorableCase{"nestedNan", json::array({1, json::object({{"x", std::nan("")}})})},
                      UnstorableCase{"invalidUtf8", std::string("\xff\xfe")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultsStore, keyThatIsNotUtf8IsRefused) {
    MemoryDefaultsStore store;
    EXPECT_FALSE(store.setBool(std::string("\xc3"), true).ok());
    EXPECT_FALSE(store.setBool("", true).ok());
    EXPECT_TRUE(store.keys().empty());
}

TEST(DefaultsStore, standardDirectoryFollowsXdgConfigHome) {
    const auto saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
    EXPECT_EQ(FileDefaultsStore::standardDirectory(), "/tmp/xdg-test/kivo");
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(FileDefaultsStore::standardDirectory(), QDir::homePath() + "/.config/kivo");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileDefaultsStore::standardDirectory(), QDir::homePath() + "/.config/kivo");
    if (!saved.isNull()) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

TEST(DefaultsStore, documentIsPrivateToTheUser) {
    QTemporaryDir dir;
    FileDefaultsStore store(dir.path());
    ASSERT_TRUE(store.setBool("a", true).ok());
    EXPECT_EQ(QFile(store.filePath()).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
}

} // namespace
} // namespace kivo
