#include "app/language/LanguageController.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivo {
namespace {

using Case = LanguagePreference::Case;
constexpr const char* kKey = LanguagePreferenceStore::key;

TEST(LanguageControllerTest, FallbackFollowsTheFirstPreferredLanguageOnly) {
    struct Row {
        QStringList preferred;
        Case expected;
    };
    const Row rows[] = {
        {{"ja-JP"}, Case::japanese},
        {{"ja_JP.UTF-8"}, Case::japanese},
        {{"ko-KR", "ja-JP"}, Case::korean},
        {{"zh-Hans-CN"}, Case::simplifiedChinese},
        {{"zh-Hant-TW"}, Case::traditionalChinese},
        // Linux locale names carry no script; the territory decides it.
        {{"zh_TW"}, Case::traditionalChinese},
        {{"zh-TW"}, Case::traditionalChinese},
        {{"zh_HK.UTF-8"}, Case::traditionalChinese},
        {{"zh-MO"}, Case::traditionalChinese},
        {{"zh_CN"}, Case::simplifiedChinese},
        {{"zh-SG"}, Case::simplifiedChinese},
        {{"zh"}, Case::simplifiedChinese},
        {{"yue-Hant-HK"}, Case::english},
        {{"yue_HK"}, Case::english},
        {{"fr-FR", "ja-JP"}, Case::english},
        {{"en-US"}, Case::english},
        {{"C"}, Case::english},
        {{""}, Case::english},
        {{}, Case::english},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LanguageController::systemFallback(row.preferred), LanguagePreference(row.expected))
            << row.preferred.join(',').toStdString();
    }
}

TEST(LanguageControllerTest, TagsGainTheirScript) {
    struct Row {
        const char* given;
        const char* expected;
    };
    const Row rows[] = {
        {"zh_TW", "zh-Hant-TW"}, {"zh_HK.UTF-8", "zh-Hant-HK"}, {"zh-CN", "zh-Hans-CN"},
        {"ja_JP", "ja-Jpan-JP"}, {"zh-Hans-HK", "zh-Hans-HK"},  {"sr-Latn-RS", "sr-Latn-RS"},
        {"xx-YY", "xx-YY"},      {"de_DE@euro", "de-Latn-DE"},  {"", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LanguageController::withScript(QString::fromUtf8(row.given)),
                  QString::fromUtf8(row.expected))
            << row.given;
    }
}

TEST(LanguageControllerTest, UnusableStoredValuesFallBackAndStayInPlace) {
    struct Row {
        const char* what;
        nlohmann::json stored; // null: no key
        Case expected;
    };
    const Row rows[] = {
        {"absent", nullptr, Case::japanese},
        {"locale identifier", "ko", Case::japanese},
        {"capitalised", "Korean", Case::japanese},
        {"trailing blank", "korean ", Case::japanese},
        {"a number", 3, Case::japanese},
        {"an array", nlohmann::json::array({"korean"}), Case::japanese},
        {"a usable value", "korean", Case::korean},
    };
    for (const Row& row : rows) {
        MemoryDefaultsStore defaults;
        if (!row.stored.is_null()) {
            defaults.plant(kKey, row.stored);
        }
        const LanguageController controller(LanguagePreferenceStore(defaults), {"ja-JP"});
        EXPECT_EQ(controller.current(), LanguagePreference(row.expected)) << row.what;
        EXPECT_EQ(defaults.value(kKey).value_or(nullptr), row.stored) << row.what << ": nothing is repaired";
        EXPECT_EQ(defaults.writeCount(), 0) << row.what;
    }
}

TEST(LanguageControllerTest, SetLanguageNotifiesThenStoresThenCallsTheHandlerOnce) {
    MemoryDefaultsStore defaults;
    LanguageController controller(LanguagePreferenceStore(defaults), {"en-US"});
    std::vector<std::string> events;
    QObject::connect(&controller, &LanguageController::currentChanged, [&](LanguagePreference language) {
        events.push_back("changed " + std::string(language.rawValue()) + " stored " +
                         defaults.stringValue(kKey).valueOr("-"));
    });
    controller.setOnLanguageChanged([&](LanguagePreference language) {
        events.push_back("handler " + std::string(language.rawValue()) + " stored " +
                         defaults.stringValue(kKey).valueOr("-") + " current " +
                         std::string(controller.current().rawValue()));
    });

    controller.setLanguage(LanguagePreference::traditionalChinese());
    EXPECT_EQ(events, (std::vector<std::string>{
                          "changed traditionalChinese stored -",
                          "handler traditionalChinese stored traditionalChinese current traditionalChinese",
                      }));
    EXPECT_EQ(LanguageController(LanguagePreferenceStore(defaults), {"ja"}).current(),
              LanguagePreference::traditionalChinese())
        << "the choice survives a restart";
}

TEST(LanguageControllerTest, ChoosingTheCurrentLanguageDoesNothing) {
    MemoryDefaultsStore defaults;
    LanguageController controller(LanguagePreferenceStore(defaults), {"ko-KR"});
    int notifications = 0;
    int handlerCalls = 0;
    QObject::connect(&controller, &LanguageController::currentChanged, [&] { ++notifications; });
    controller.setOnLanguageChanged([&](LanguagePreference) { ++handlerCalls; });

    controller.setLanguage(LanguagePreference::korean());
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(handlerCalls, 0);
    EXPECT_FALSE(defaults.contains(kKey)) << "the fallback is not saved by choosing it again";

    controller.setLanguage(LanguagePreference::english());
    controller.setLanguage(LanguagePreference::english());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(handlerCalls, 1);
}

TEST(LanguageControllerTest, PlainAssignmentNotifiesButNeitherStoresNorCallsTheHandler) {
    MemoryDefaultsStore defaults;
    defaults.plant(kKey, "english");
    LanguageController controller(LanguagePreferenceStore(defaults), {"ja"});
    int notifications = 0;
    int handlerCalls = 0;
    QObject::connect(&controller, &LanguageController::currentChanged, [&] { ++notifications; });
    controller.setOnLanguageChanged([&](LanguagePreference) { ++handlerCalls; });

    controller.setCurrent(LanguagePreference::japanese());
    controller.setCurrent(LanguagePreference::japanese());
    EXPECT_EQ(controller.current(), LanguagePreference::japanese());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(handlerCalls, 0);
    EXPECT_EQ(defaults.stringValue(kKey).valueOr(""), "english");
}

TEST(LanguageControllerTest, AFailedSaveKeepsTheChoiceForThisRun) {
    MemoryDefaultsStore defaults;
    defaults.setWriteFailure("disk full");
    LanguageController controller(LanguagePreferenceStore(defaults), {"en"});
    int handlerCalls = 0;
    controller.setOnLanguageChanged([&](LanguagePreference) { ++handlerCalls; });
    controller.setLanguage(LanguagePreference::japanese());
    EXPECT_EQ(controller.current(), LanguagePreference::japanese());
    EXPECT_EQ(handlerCalls, 1);
    EXPECT_FALSE(defaults.contains(kKey));
}

} // namespace
} // namespace kivo
