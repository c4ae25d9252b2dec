#include "ui/components/AccordionHeader.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/MaxLengthLimiter.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

struct CutCase {
    const char* name;
    QString text;
    int limit;
    std::optional<QString> expected;
};

TEST(MaxLengthLimiter, CutsByUserPerceivedCharacters) {
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5"); // two code points, one flag
    const QString decomposed = QString::fromUtf8("e\xCC\x81");                  // e + combining acute
    const QString family =
        QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
    const CutCase cases[] = {
        {"fits", "abc", 3, std::nullopt},
        {"one over", "abcd", 3, QString("abc")},
        {"paste of 25 at 20", QString(25, 'x'), 20, QString(20, 'x')},
        {"flags count once", flag + flag + flag, 2, flag + flag},
        {"accent never split", "ab" + decomposed, 3, std::nullopt},
        {"accent cut whole", "ab" + decomposed + "c", 3, "ab" + decomposed},
        {"joined family counts once", family + "a", 1, family},
        {"zero limit", "a", 0, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaxLengthLimiter::cut(c.text, c.limit), c.expected) << c.name;
}

TEST(MaxLengthLimiter, KeepsTheCursorAndLeavesAnOverlongStartingValue) {
    QLineEdit edit;
    edit.setText(QString(25, 'a'));
    MaxLengthLimiter limiter(&edit, 20);
    EXPECT_EQ(edit.text().size(), 25) << "an overlong value is cut only when next edited";

    edit.setText("abcdefghij");
    edit.setCursorPosition(3);
    edit.insert("XYZ" + QString(10, '-')); // typed in the middle, 23 characters in all
    EXPECT_EQ(edit.text(), QString("abcXYZ----------defghij").left(20));
    EXPECT_EQ(edit.cursorPosition(), 16) << "the cursor stays after what was typed";
}

TEST(MaxLengthLimiter, WaitsForAnInputMethodCompositionToEnd) {
    QLineEdit edit;
    edit.setText(QString(4, 'a'));
    MaxLengthLimiter limiter(&edit, 5);
    // A commit that also opens the next composition: the text is over the limit while composing.
    QInputMethodEvent composing(QString::fromUtf8("\xE3\x81\x8B"), {});
    composing.setCommitString(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
    QCoreApplication::sendEvent(&edit, &composing);
    EXPECT_EQ(edit.text().size(), 6) << "nothing is cut while the composition is open";

    QInputMethodEvent commit(QString(), {});
    QCoreApplication::sendEvent(&edit, &commit);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QString(4, 'a') + QString::fromUtf8("\xE6\x97\xA5"));
}

TEST(AccordionHeader, TogglesAndTurnsItsChevron) {
    AccordionHeader header("Redirect");
    std::vector<bool> seen;
    QObject::connect(&header, &AccordionHeader::expandedChanged, [&](bool on) { seen.push_back(on); });
    EXPECT_EQ(header.chevronAngle(), 0.0);
    header.resize(300, 30);
    QTest::mouseClick(&header, Qt::LeftButton, {}, QPoint(150, 15)); // the empty middle of the row
    EXPECT_TRUE(header.isExpanded());
    EXPECT_EQ(header.chevronAngle(), 90.0);
    QTest::mouseClick(&header, Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(AutomationPermissionBanner, JoinsTheDeniedNamesWithTheMiddleDotAlone) {
    const std::pair<std::vector<std::string>, QString> cases[] = {
        {{"Chrome"}, "Chrome"},
        {{"Chrome", "Brave"},
         QString::fromUtf8("Chrome\xE3\x83\xBB"
                           "Brave")},
        {{"A <b>", "%1"}, QString::fromUtf8("A <b>\xE3\x83\xBB%1")},
    };
    for (const auto& [names, expected] : cases)
        EXPECT_EQ(AutomationPermissionBanner::joinedNames(names), expected);
}

} // namespace
} // namespace kivo
