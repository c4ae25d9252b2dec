// Every window, page, sheet and alert of Kivo as a screen reader meets it: each control the keyboard can
// reach has a role and a name, in the language the user chose.
#include "AccessibleControls.h"

#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"
#include "screenshots/LaunchedScene.h"
#include "support/TestSupport.h"
#include "ui/UiContext.h"
#include "ui/shell/DesktopShell.h"
#include "ui/shell/MainWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kivo {
namespace {

using test::Control;
using Role = QAccessible::Role;

LanguagePreference languageOf(const char* identifier) {
    for (const LanguagePreference language : LanguagePreference::allCases()) {
        if (language.localeIdentifier() == identifier) {
            return language;
        }
    }
    ADD_FAILURE() << identifier;
    return LanguagePreference::allCases().front();
}

// The catalog's English texts that `language` words differently, an argument standing for any text: a
// name matching one was left in English.
std::vector<QRegularExpression> untranslated(LanguagePreference language) {
    const Localizer localizer;
    std::vector<QRegularExpression> found;
    for (const Strings::KeyInfo& info : Strings::allKeys()) {
        const auto english = localizer.catalogFormat(info.key, languageOf("en"));
        if (english && english != localizer.catalogFormat(info.key, language)) {
            const QString pattern =
                QRegularExpression::escape(*english).replace(QStringLiteral("\\%1"), QStringLiteral(".+"));
            found.emplace_back(QRegularExpression::anchoredPattern(pattern));
        }
    }
    return found;
}

// A miss as the report lists it: where, what kind of object, and what the tree says of it.
std::string miss(const std::string& where, const Control& control, const char* why) {
    const char* kind = control.widget ? control.widget->metaObject()->className() : "object";
    return where + ": " + kind + " " + QMetaEnum::fromType<Role>().valueToKey(control.role) + " \"" +
           control.name.toStdString() + "\" " + why;
}

// Alerts are not photographed: each is asked for from its scene with the button the user would press.
const std::map<std::string, const LocalizedString*> alerts{
    {"sheet-pattern-edit", &Strings::Common::delete_()},
    {"sheet-trigger-edit", &Strings::Common::delete_()},
    {"sheet-group-settings", &Strings::Common::delete_()},
    {"main-more", &Strings::More::privacyPolicy()},
};

QWidget* openAlert(LaunchedScene& launched, QWidget* scene, const LocalizedString& button) {
    const QString name = launched.shell->context().text(button);
    for (const Control& control : test::focusable(scene)) {
        // A link's button carries an arrow after its text.
        const QString label = QString(control.name).remove(QChar(0x2197)).trimmed();
        if (auto* pressed = qobject_cast<QAbstractButton*>(control.widget); pressed && label == name) {
            pressed->click();
            test::processEvents();
            for (auto* box : launched.shell->mainWindow().findChildren<QMessageBox*>()) {
                if (box->isVisible()) {
                    return box;
                }
            }
        }
    }
    ADD_FAILURE() << "no alert behind " << name.toStdString();
    return nullptr;
}

TEST(ControlNames, EveryFocusableControlOfEveryScreenHasARoleAndANameInTheUsersLanguage) {
    std::vector<std::string> misses;
    int controls = 0;
    for (const char* identifier : {"en", "ja"}) {
        const LanguagePreference language = languageOf(identifier);
        const auto english = untranslated(language);
        const auto check = [&](const std::string& where, QWidget* root) {
            // Hidden parts too: the fields of another schedule, unlock method or redirect choice.
            for (const Control& control : test::focusable(root, test::HiddenParts::included)) {
                ++controls;
                if (control.role == Role::NoRole) {
                    misses.push_back(miss(where, control, "has no role"));
                }
                if (control.name.trimmed().isEmpty()) {
                    misses.push_back(miss(where, control, "has no name"));
                }
                if (std::any_of(english.begin(), english.end(), [&](const QRegularExpression& text) {
                        return text.match(control.name).hasMatch();
                    })) {
                    misses.push_back(miss(where, control, "is not in the user's language"));
                }
            }
        };
        for (const Scene& scene : allScenes()) {
            const std::string where = scene.name + " (" + identifier + ")";
            LaunchedScene launched(scene, language);
            test::processEvents();
            QWidget* shown = launched.setUp(scene);
            test::processEvents();
            ASSERT_NE(shown, nullptr) << where;
            check(where, shown);
            if (const auto alert = alerts.find(scene.name); alert != alerts.end()) {
                if (QWidget* box = openAlert(launched, shown, *alert->second)) {
                    check(where + " alert", box);
                }
            }
        }
    }
    EXPECT_GT(controls, 400);
    std::string report;
    for (const std::string& line : misses) {
        report += "\n  " + line;
    }
    EXPECT_TRUE(misses.empty()) << misses.size() << " unnamed or untranslated controls:" << report;
}

TEST(ControlNames, EveryPushButtonLeavesRoomBesideItsLabelInEveryLanguage) {
    std::vector<std::string> tight;
    for (const LanguagePreference language : LanguagePreference::allCases()) {
        for (const Scene& scene : allScenes()) {
            LaunchedScene launched(scene, language);
            test::processEvents();
            QWidget* shown = launched.setUp(scene);
            test::processEvents();
            ASSERT_NE(shown, nullptr) << scene.name;
            for (const QPushButton* button : shown->findChildren<QPushButton*>()) {
                // Half a line on each side, the frame included.
                const QFontMetrics metrics = button->fontMetrics();
                if (button->isVisible() &&
                    button->width() < metrics.horizontalAdvance(button->text()) + metrics.height()) {
                    tight.push_back(scene.name + ": \"" + button->text().toStdString() + "\"");
                }
            }
        }
    }
    std::string report;
    for (const std::string& line : tight) {
        report += "\n  " + line;
    }
    EXPECT_TRUE(tight.empty()) << tight.size() << " buttons too narrow for their labels:" << report;
}

} // namespace
} // namespace kivo
