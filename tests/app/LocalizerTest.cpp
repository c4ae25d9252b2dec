#include "app/Localizer.h"
#include "app/LocalizedStrings.h"

#include <gtest/gtest.h>

#include <QTextBoundaryFinder>

#include <map>
#include <set>
#include <string>

namespace kivo {
namespace {

using Kind = LocalizedString::ArgumentKind;

QString nameOf(LanguagePreference language) {
    return QString::fromUtf8(language.rawValue().data());
}

LocalizedString withSampleArgument(const Strings::KeyInfo& info, const QString& text, qint64 number) {
    switch (info.argument) {
    case Kind::text:
        return {info.key, info.defaultFormat, text};
    case Kind::integer:
        return {info.key, info.defaultFormat, number};
    case Kind::none:
        break;
    }
    return LocalizedString(info.key);
}

int graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

// Group-name rule: trimmed of space separators and tabs (never line breaks), not empty, at most 20.
QString trimmedName(const QString& name) {
    auto isBlank = [](QChar c) { return c.category() == QChar::Separator_Space || c == QLatin1Char('\t'); };
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && isBlank(name[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(name[end - 1])) {
        --end;
    }
    return name.mid(begin, end - begin);
}

class LocalizerTest : public ::testing::Test {
protected:
    Localizer localizer;
};

TEST_F(LocalizerTest, TableHasEveryFamilyWithItsKeys) {
    const std::map<std::string, int> expected{
        {"common", 11},   {"display", 17},     {"domain", 17}, {"erase", 3},       {"groupReorder", 2},
        {"groupRule", 7}, {"menubar", 2},      {"more", 15},   {"nav", 1},         {"onboarding", 3},
        {"pattern", 10},  {"permissions", 11}, {"quit", 1},    {"ruleDetail", 10}, {"rules", 4},
        {"schedule", 13}, {"shield", 3},       {"sidebar", 3}, {"uninstall", 3},   {"unlock", 18},
    };
    std::map<std::string, int> families;
    std::set<std::string> keys;
    int formatted = 0;
    for (const Strings::KeyInfo& info : Strings::allKeys()) {
        const std::string key = info.key;
        EXPECT_TRUE(keys.insert(key).second) << "duplicate " << key;
        ++families[key.substr(0, key.find('.'))];
        formatted += info.argument == Kind::none ? 0 : 1;
    }
    EXPECT_EQ(keys.size(), 154u);
    EXPECT_EQ(formatted, 12);
    EXPECT_EQ(families, expected);
}

TEST_F(LocalizerTest, EveryKeyResolvesInEveryLanguageWithItsPlaceholder) {
    for (LanguagePreference language : LanguagePreference::allCases()) {
        ASSERT_TRUE(localizer.hasCatalog(language)) << nameOf(language).toStdString();
        for (const Strings::KeyInfo& info : Strings::allKeys()) {
            SCOPED_TRACE(nameOf(language).toStdString() + " " + info.key);
            const std::optional<QString> format = localizer.catalogFormat(info.key, language);
            ASSERT_TRUE(format.has_value());
            EXPECT_FALSE(format->trimmed().isEmpty());
            EXPECT_EQ(format->count(QStringLiteral("%1")), info.argument == Kind::none ? 0 : 1);
            EXPECT_FALSE(format->contains(QStringLiteral("%@")) || format->contains(QStringLiteral("%lld")));

            const QString resolved =
                localizer.text(withSampleArgument(info, QStringLiteral("Xyz"), 4321), language);
            EXPECT_NE(resolved, QString::fromUtf8(info.key)) << "catalog entry missing, key shown";
            if (info.argument == Kind::text) {
                EXPECT_TRUE(resolved.contains(QStringLiteral("Xyz"))) << resolved.toStdString();
            } else if (info.argument == Kind::integer) {
                EXPECT_TRUE(resolved.contains(QStringLiteral("4321"))) << resolved.toStdString();
            }
            EXPECT_FALSE(resolved.contains(QStringLiteral("%1"))) << resolved.toStdString();
        }
    }
}

TEST_F(LocalizerTest, StaticFunctionsAddressTheirKeys) {
    struct Row {
        const LocalizedString& value;
        const char* key;
    };
    const Row rows[] = {
        {Strings::Common::cancel(), "common.cancel"},
        {Strings::Common::DeleteConfirm::defaultMessage(), "common.deleteConfirm.defaultMessage"},
        {Strings::Display::A11y::brightnessSlider(QStringLiteral("A")), "display.a11y.brightnessSlider"},
        {Strings::Domain::SeedName::blocklist(), "domain.seedName.blocklist"},
        {Strings::Menubar::openKivo(), "menubar.openKivo"},
        {Strings::Unlock::ResetInterval::hours12(), "unlock.resetInterval.hours12"},
        {Strings::Permissions::Automation::title(), "permissions.automation.title"},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(row.value.key(), row.key);
    }
    // Made once and kept: two reads are the same value.
    EXPECT_EQ(&Strings::Rules::emptyTitle(), &Strings::Rules::emptyTitle());
    EXPECT_EQ(Strings::Rules::emptyTitle().defaultValue(), QStringLiteral("rules.emptyTitle"));
}

TEST_F(LocalizerTest, DefaultTextsFillTheirPlaceholder) {
    struct Row {
        LocalizedString value;
        QString expected;
    };
    const Row rows[] = {
        {Strings::Shield::A11y::remainingSeconds(7), QStringLiteral("7 seconds remaining")},
        {Strings::Unlock::Summary::backoff(30), QStringLiteral("Backoff (30 sec+)")},
        {Strings::Unlock::Summary::wait(-5), QStringLiteral("Wait -5 sec")},
        {Strings::Display::A11y::brightnessPercent(100), QStringLiteral("100 percent")},
        {Strings::Display::A11y::brightnessSlider(QStringLiteral("DELL U2720Q")),
         QStringLiteral("DELL U2720Q brightness")},
        // An argument that looks like a placeholder is data, never expanded again.
        {Strings::GroupReorder::A11y::dragHandle(QStringLiteral("50%1 %@ off")),
         QStringLiteral("Drag to reorder 50%1 %@ off")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.value.defaultValue(), row.expected);
    }
    const QStringList lines = Strings::Permissions::Automation::message(QStringLiteral("Firefox・Chromium"))
                                  .defaultValue()
                                  .split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Kivo can't block Firefox・Chromium."));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Enable Kivo under")));
}

TEST_F(LocalizerTest, KeyMissingFromTheCatalogShowsItsDefault) {
    EXPECT_EQ(localizer.text(LocalizedString("rules.notInTheCatalog"), LanguagePreference::japanese()),
              QStringLiteral("rules.notInTheCatalog"));
    const LocalizedString formatted("shield.notInTheCatalog", "%lld seconds remaining", qint64{7});
    EXPECT_EQ(localizer.text(formatted, LanguagePreference::korean()), QStringLiteral("7 seconds remaining"));
}

TEST_F(LocalizerTest, CatalogArgumentsAreDataToo) {
    const QString text = localizer.text(Strings::Pattern::normalizationPreview(QStringLiteral("a%1b%2")),
                                        LanguagePreference::english());
    EXPECT_EQ(text, QStringLiteral("On save: a%1b%2"));
}

TEST_F(LocalizerTest, OneKeyGivesEachLanguageItsOwnText) {
    std::set<QString> texts;
    for (LanguagePreference language : LanguagePreference::allCases()) {
        texts.insert(localizer.text(Strings::Sidebar::rules(), language));
    }
    EXPECT_EQ(texts.size(), 5u);
    EXPECT_EQ(localizer.text(Strings::Menubar::quitKivo(), LanguagePreference::english()),
              QStringLiteral("Quit Kivo"));
    EXPECT_EQ(localizer.text(Strings::Common::cancel(), LanguagePreference::japanese()),
              QStringLiteral("キャンセル"));
    EXPECT_EQ(
        localizer.text(Strings::Shield::A11y::remainingSeconds(3), LanguagePreference::traditionalChinese()),
        QStringLiteral("剩餘 3 秒"));
}

TEST_F(LocalizerTest, SeedNamesAreValidGroupAndTriggerNamesInEveryLanguage) {
    const LocalizedString* seeds[] = {&Strings::Domain::SeedName::blocklist(),
                                      &Strings::Domain::SeedName::sunrise(),
                                      &Strings::Domain::SeedName::sunset()};
    for (LanguagePreference language : LanguagePreference::allCases()) {
        std::set<QString> names;
        for (const LocalizedString* seed : seeds) {
            const QString name = localizer.text(*seed, language);
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(trimmedName(name), name) << "stored names are kept as typed, so no blanks around";
            EXPECT_FALSE(name.isEmpty());
            EXPECT_LE(graphemeCount(name), 20);
            EXPECT_FALSE(name.contains(QLatin1Char('\n')));
            names.insert(name);
        }
        EXPECT_EQ(names.size(), 3u) << "the three seeds must be told apart when renamed";
    }
}

TEST_F(LocalizerTest, CatalogTextsSpeakOfThisDesktop) {
    // Texts are true on a Linux desktop: no other desktop's scripting language or settings pane.
    const QString foreign[] = {QStringLiteral("AppleScript"),
                               QStringLiteral("System Settings"),
                               QStringLiteral("Privacy & Security"),
                               QStringLiteral("システム設定"),
                               QStringLiteral("시스템 설정"),
                               QStringLiteral("系统设置"),
                               QStringLiteral("系統設定")};
    for (LanguagePreference language : LanguagePreference::allCases()) {
        for (const Strings::KeyInfo& info : Strings::allKeys()) {
            const QString format = localizer.catalogFormat(info.key, language).value_or(QString());
            for (const QString& word : foreign) {
                EXPECT_FALSE(format.contains(word)) << info.key << " in " << nameOf(language).toStdString();
            }
        }
    }
}

TEST_F(LocalizerTest, LocalesCarryLanguageAndScript) {
    struct Row {
        LanguagePreference language;
        QLocale::Language qtLanguage;
        QLocale::Script script;
    };
    const Row rows[] = {
        {LanguagePreference::japanese(), QLocale::Japanese, QLocale::JapaneseScript},
        {LanguagePreference::english(), QLocale::English, QLocale::LatinScript},
        {LanguagePreference::korean(), QLocale::Korean, QLocale::KoreanScript},
        {LanguagePreference::simplifiedChinese(), QLocale::Chinese, QLocale::SimplifiedHanScript},
        {LanguagePreference::traditionalChinese(), QLocale::Chinese, QLocale::TraditionalHanScript},
    };
    for (const Row& row : rows) {
        const QLocale locale = Localizer::locale(row.language);
        EXPECT_EQ(locale.language(), row.qtLanguage);
        EXPECT_EQ(locale.script(), row.script);
    }
}

} // namespace
} // namespace kivo
